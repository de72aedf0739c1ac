#pragma once
// What the application tests share: the main window as this process loaded it, files made for a
// test, and the runtime's file commands as application code calls them.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace app::testing {

using Bytes = std::vector<uint8_t>;

// The loaded main window and its native controls.
HWND MainWindow();
HWND ComboBoxWindow();

// A file in the test's own temporary directory, written with these bytes; the path is in the
// ANSI code page, as the runtime takes it.
std::string MakeFile(const std::string& name, const Bytes& content);
Bytes ReadWholeFile(const std::string& path);
// A file of the given length whose byte i is (i * 7 + 3) & 0xFF.
Bytes Patterned(size_t length);

// The runtime's file commands, through the service table.
// Open files stay open until the process ends, as the tool's do.
int32_t OpenForReadWrite(const std::string& path);

// Takes over a text the runtime handed out; null reads as "".
std::string TakeText(char* text);

}  // namespace app::testing
