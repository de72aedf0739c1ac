// The fair start-up and memory floor: what the tool's main window needs, made directly with the
// system and nothing more. It embeds the tool's own manifest (current-style controls), starts OLE
// before its first window and GDI+ before the form, as the tool's runtime does, creates the
// form's window with the tool's icon and its six visible-or-hidden child controls with the tool's
// classes, styles, positions and texts (the label is a plain STATIC: the tool's transparent label is a class of
// its runtime), starts the 1000 ms timer whose first tick writes the label and shows the window.
//
// Sent kShowOpenDialog (WM_APP), it shows the system's open dialog once with the tool's filter and
// flags, cancels it and sets its title to "dialog closed": then it is the memory floor, whose
// figure holds the dialog's libraries as the tool's does once its user has loaded a file. The
// driver asks for it after timing the start-up, so that loading the dialog's libraries does not
// hold back the window's answer to the driver's look at the label.
//
// The window's class is BenchFloorWindow; the controls carry the tool's control identifiers.

#include <ole2.h>
#include <windows.h>
#include <commdlg.h>

#include <cwchar>
#include <utility>

namespace {

constexpr wchar_t kClassName[] = L"BenchFloorWindow";
constexpr UINT_PTR kTickTimer = 1, kDialogCloser = 2;
constexpr UINT kShowOpenDialog = WM_APP;
// The tool's control identifiers, as the benchmark driver looks for them.
constexpr int kLoadButton = 110, kResolutionList = 120, kReadButton = 130, kApplyButton = 140,
              kVerdictLabel = 150, kSignatureBox = 160;
constexpr wchar_t kNoFile[] = L"\x8BF7\x52A0\x8F7D" L"tovrex.exe";  // 请加载tovrex.exe

bool ticked = false;

struct GdiplusStartupInput {
  UINT32 version;
  void* debugEventCallback;
  BOOL suppressBackgroundThread;
  BOOL suppressExternalCodecs;
};
using GdiplusStartupFunction = int(WINAPI*)(ULONG_PTR*, const GdiplusStartupInput*, void*);

// As the tool declares it: a DLL command bound by name on first use.
void StartGdiplus() {
  const HMODULE library = LoadLibraryA("GdiPlus.dll");
  if (library == nullptr) return;
  const auto startup = reinterpret_cast<GdiplusStartupFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "GdiplusStartup")));
  static ULONG_PTR token = 0;
  const GdiplusStartupInput input{1, nullptr, FALSE, FALSE};
  if (startup != nullptr) startup(&token, &input, nullptr);
}

void Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int left,
           int top, int width, int height, int id, DWORD exStyle = 0) {
  CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_CLIPSIBLINGS, left, top, width,
                  height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                  GetModuleHandleW(nullptr), nullptr);
}

// The tool's form, created as its runtime creates it: the records in reverse z-order.
void CreateControls(HWND window) {
  Child(window, L"BUTTON", L"\x52A0\x8F7D" L"tovrex.exe",  // 加载tovrex.exe
        WS_VISIBLE | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 156, 80,
        80, 32, kLoadButton);
  Child(window, L"COMBOBOX", L"",
        WS_VISIBLE | WS_DISABLED | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_DROPDOWNLIST, 48,
        88, 96, 200, kResolutionList);
  SendDlgItemMessageW(window, kResolutionList, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>(L"1440 x 900"));
  SendDlgItemMessageW(window, kResolutionList, CB_SETCURSEL, 0, 0);
  Child(window, L"BUTTON", L"\x8BFB\x53D6\x5206\x8FA8\x7387",  // 读取分辨率
        WS_VISIBLE | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 156, 120,
        80, 32, kReadButton);
  Child(window, L"BUTTON", L"\x4FEE\x6539",  // 修改
        WS_VISIBLE | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 156, 160,
        80, 32, kApplyButton);
  Child(window, L"STATIC", L"", WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 48, 176, 96, 16,
        kVerdictLabel, WS_EX_TRANSPARENT);
  Child(window, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 48, 144, 88, 16, kSignatureBox,
        WS_EX_CLIENTEDGE);
}

// The open dialog once, with the tool's filter and flags, cancelled as soon as it is up.
void ShowAndCancelOpenDialog(HWND owner) {
  wchar_t file[260] = L"";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter =
      L"Quenmire\x5BFC\x6F14\x526A\x8F91\x7248\x6267\x884C\x7A0B\x5E8F"
      L"tovrex.exe\0tovrex.exe\0";  // Quenmire导演剪辑版执行程序tovrex.exe
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = 260;
  dialog.Flags = OFN_HIDEREADONLY;
  // The dialog's modal loop still dispatches this window's timer: it closes the dialog.
  SetTimer(owner, kDialogCloser, 10, nullptr);
  GetOpenFileNameW(&dialog);
  KillTimer(owner, kDialogCloser);
  SetWindowTextW(owner, L"dialog closed");
}

BOOL CALLBACK CancelIfDialog(HWND window, LPARAM) {
  wchar_t name[16];
  if (GetClassNameW(window, name, 16) > 0 && std::wcscmp(name, L"#32770") == 0 &&
      IsWindowVisible(window))
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

LRESULT CALLBACK FloorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kDialogCloser) {
        EnumThreadWindows(GetCurrentThreadId(), CancelIfDialog, 0);
      } else if (wParam == kTickTimer && !ticked) {
        ticked = true;
        SetDlgItemTextW(window, kVerdictLabel, kNoFile);
      }
      return 0;
    case kShowOpenDialog:
      ShowAndCancelOpenDialog(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  OleInitialize(nullptr);
  StartGdiplus();

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = FloorProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  constexpr int kWidth = 315, kHeight = 316;
  const HWND window = CreateWindowExW(
      0, kClassName, L"Quenmire\x5BFC\x6F14\x526A\x8F91" L"PC\x7248\x5206\x8FA8\x7387\x4FEE\x6539\x5668 v1",
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
      (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2,
      kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  // The form's icon in the caption and the task bar, in both sizes, from the tool's icon resource.
  for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
    const int size = GetSystemMetrics(metric);
    SendMessageW(window, WM_SETICON, which,
                 reinterpret_cast<LPARAM>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
  }
  CreateControls(window);
  // The tool's timer runs from its creation with the form, before the window shows; the window
  // paints from the message loop.
  SetTimer(window, kTickTimer, 1000, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
