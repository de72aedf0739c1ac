// Waits until a visible top-level window of a class appears (any process of this Wine session),
// so that a script can tell when a program's window is up. Arguments: class name, time limit
// in milliseconds, and optionally the class of a child that must show a text first (for the
// tool: its label, whose caption the first tick of its timer writes); that text must also be
// drawn on the screen, so that a screenshot taken next shows it. Exit code 0: it appeared; 1: it
// did not in time.

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

// The child's text is drawn on the screen: some of its pixels are dark (the tool writes its
// first verdict in black), read back from the screen in one copy.
bool ChildTextOnScreen(HWND window, const wchar_t* childClass) {
  const HWND child = FindWindowExW(window, nullptr, childClass, nullptr);
  RECT area;
  if (child == nullptr || !GetWindowRect(child, &area)) return false;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  int dark = 0;
  if (bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const unsigned*>(bits);
    for (int i = 0; i < width * height; ++i) {
      const unsigned p = pixels[i];
      if ((p & 0xFF) <= 96 && ((p >> 8) & 0xFF) <= 96 && ((p >> 16) & 0xFF) <= 96) ++dark;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return dark >= 12;  // a glyph leaves a few dozen dark pixels
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
        (childClass == nullptr ||
         (ChildShowsText(window, childClass) && ChildTextOnScreen(window, childClass))))
      return 0;
    Sleep(100);
  }
  return 1;
}
