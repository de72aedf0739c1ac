#include "dialog_driver.h"

#include <utility>

namespace forms::testing {
namespace {

constexpr DWORD kControlFileName = 0x47C;
constexpr DWORD kControlFileType = 0x470;

BOOL CALLBACK FindDialog(HWND window, LPARAM result) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (pid != GetCurrentProcessId() || std::wstring(className) != L"#32770" ||
      !IsWindowVisible(window))
    return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

// A visible dialog of this process, waiting up to timeoutMs for one; null when there is none.
HWND WaitForDialog(DWORD timeoutMs) {
  HWND dialog = nullptr;
  for (DWORD waited = 0;; waited += 50) {
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog != nullptr || waited >= timeoutMs) return dialog;
    Sleep(50);
  }
}

}  // namespace

DialogDriver::DialogDriver(std::wstring typed, bool confirm)
    : typed_(std::move(typed)), confirm_(confirm) {
  thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
}

void DialogDriver::Join() {
  if (thread_ == nullptr) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI DialogDriver::Run(void* self) {
  auto& driver = *static_cast<DialogDriver*>(self);
  HWND dialog = WaitForDialog(15000);
  if (dialog == nullptr) return 0;
  driver.found = true;
  wchar_t text[1024] = {};
  SendMessageW(dialog, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  driver.title = text;
  driver.fileType = SendMessageW(GetDlgItem(dialog, kControlFileType), CB_GETCURSEL, 0, 0);
  if (HWND name = GetDlgItem(dialog, kControlFileName)) {
    text[0] = L'\0';
    SendMessageW(name, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    driver.fileName = text;
    if (driver.confirm_ && !driver.typed_.empty())
      SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(driver.typed_.c_str()));
  }
  PostMessageW(dialog, WM_COMMAND, driver.confirm_ ? IDOK : IDCANCEL, 0);
  for (DWORD waited = 0; IsWindow(dialog) && waited < 10000; waited += 50) Sleep(50);
  while (HWND left = WaitForDialog(0)) {
    driver.stuck = true;
    PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
    Sleep(200);
  }
  return 0;
}

}  // namespace forms::testing
