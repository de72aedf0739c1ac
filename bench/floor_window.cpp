// The least a windowed program does before its user sees it: register a class, create a window
// of the tool's outer size (315 x 316) and show it, then wait in a message loop until closed.
// The benchmark's start-up and memory floor.
//
// One option at a time adds a step that the tool also takes on its way up, so that the cost of
// each can be told apart from the floor:
//   --exit     end at once, before any window: process creation and the system's start-up only
//   --ole      OleInitialize once the window exists
//   --gdiplus  load GDI+ by name and start it once the window exists
//   --tick     a 1000 ms timer whose first tick writes a label's caption
// The window's title is the time the optional step took, in milliseconds. It is measured inside
// the process, free of the noise of process creation, and after the window is made, so that it
// leaves out the window system's own start-up in the process, which the first window (or OLE's
// hidden window, whichever comes first) pays for.

#include <ole2.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"BenchFloorWindow";
constexpr int kOuterWidth = 315, kOuterHeight = 316;
constexpr UINT_PTR kTimerId = 1;
constexpr int kLabelId = 150;

struct GdiplusStartupInput {
  UINT32 version;
  void* debugEventCallback;
  BOOL suppressBackgroundThread;
  BOOL suppressExternalCodecs;
};
using GdiplusStartupFunction = int(WINAPI*)(ULONG_PTR*, const GdiplusStartupInput*, void*);

void StartGdiplus() {
  const HMODULE library = LoadLibraryA("gdiplus.dll");
  if (library == nullptr) return;
  const auto startup = reinterpret_cast<GdiplusStartupFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "GdiplusStartup")));
  ULONG_PTR token = 0;
  const GdiplusStartupInput input{1, nullptr, FALSE, FALSE};
  if (startup != nullptr) startup(&token, &input, nullptr);
}

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimerId)
        SetDlgItemTextW(window, kLabelId,
                        L"\x8BF7\x52A0\x8F7D"
                        L"tovrex.exe");  // 请加载
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  const auto option = [&](const wchar_t* name) {
    return std::wcsstr(commandLine, name) != nullptr;
  };
  if (option(L"--exit")) return 0;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = FloorProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  const HWND window = CreateWindowExW(
      0, kClassName, L"", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
      CW_USEDEFAULT, kOuterWidth, kOuterHeight, nullptr, nullptr, instance, nullptr);
  // After the window system is up for this process: what the step adds on top of it.
  const bool ole = option(L"--ole"), gdiplus = option(L"--gdiplus");
  if (ole || gdiplus) {
    LARGE_INTEGER before, after, frequency;
    QueryPerformanceCounter(&before);
    if (ole) OleInitialize(nullptr);
    if (gdiplus) StartGdiplus();
    QueryPerformanceCounter(&after);
    QueryPerformanceFrequency(&frequency);
    wchar_t title[32];
    swprintf(title, 32, L"%.3f",
             1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                 static_cast<double>(frequency.QuadPart));
    SetWindowTextW(window, title);
  }

  if (option(L"--tick")) {
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 8, 8, 280, 20, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)), instance, nullptr);
    SetTimer(window, kTimerId, 1000, nullptr);
  }
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
