// Waits until a visible top-level window of a class appears (any process of this Wine session),
// so that a script can tell when a program's window is up. Arguments: class name, time limit
// in milliseconds. Exit code 0: it appeared; 1: it did not in time.

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const wchar_t* className = argc > 1 ? argv[1] : L"PvWindow";
  const DWORD limit = argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 60000;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limit) {
    const HWND window = FindWindowW(className, nullptr);
    if (window != nullptr && IsWindowVisible(window)) return 0;
    Sleep(100);
  }
  return 1;
}
