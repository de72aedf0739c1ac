#include "runtime/core/gbk.h"

#include <windows.h>

namespace rt {
namespace {
constexpr UINT kGbk = 936;
}

std::wstring WideFromGbk(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  const int n = MultiByteToWideChar(kGbk, 0, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kGbk, 0, text, -1, wide.data(), n);
  wide.resize(static_cast<size_t>(n) - 1);
  return wide;
}

std::string GbkFromWide(const wchar_t* text) {
  if (text == nullptr || *text == L'\0') return {};
  const int n = WideCharToMultiByte(kGbk, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string gbk(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kGbk, 0, text, -1, gbk.data(), n, nullptr, nullptr);
  gbk.resize(static_cast<size_t>(n) - 1);
  return gbk;
}

}  // namespace rt
