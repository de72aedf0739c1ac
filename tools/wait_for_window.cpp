// Waits until a visible top-level window of a class appears (any process of this Wine session),
// so that a script can tell when a program's window is up. Arguments: class name, time limit
// in milliseconds, and optionally the class of a child that must show a text first (for the
// tool: its label, whose caption the first tick of its timer writes). Once it is there, the
// window is repainted through and through before this program ends, so that a screenshot taken
// next shows what the window holds. Exit code 0: it appeared; 1: it did not in time.

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

bool ChildShowsText(HWND window, const wchar_t* childClass) {
  const HWND child = FindWindowExW(window, nullptr, childClass, nullptr);
  wchar_t text[8] = {};
  return child != nullptr &&
         SendMessageTimeoutW(child, WM_GETTEXT, 8, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 1000, nullptr) != 0 &&
         text[0] != L'\0';
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const wchar_t* className = argc > 1 ? argv[1] : L"PvWindow";
  const DWORD limit = argc > 2 ? static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) : 60000;
  const wchar_t* childClass = argc > 3 ? argv[3] : nullptr;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limit) {
    const HWND window = FindWindowW(className, nullptr);
    if (window != nullptr && IsWindowVisible(window) &&
        (childClass == nullptr || ChildShowsText(window, childClass))) {
      // Painted now, by the window's own thread, before this call returns.
      RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return 0;
    }
    Sleep(100);
  }
  return 1;
}
