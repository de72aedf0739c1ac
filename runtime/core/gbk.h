#pragma once
// The system's texts are GBK inside the runtime; the window system is spoken to in UTF-16,
// converted with code page 936 whatever the machine's ANSI code page is.

#include <string>

namespace rt {

std::wstring WideFromGbk(const char* text);
std::string GbkFromWide(const wchar_t* text);

}  // namespace rt
