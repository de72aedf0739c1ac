#include "dialog_driver.h"

#include <utility>

#include "process_runner.h"

namespace forms::testing {
namespace {

struct Search {
  int readyControl;  // 0: any visible dialog
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (pid != GetCurrentProcessId() || std::wstring(className) != L"#32770" ||
      !IsWindowVisible(window))
    return TRUE;
  if (search->readyControl != 0 && GetDlgItem(window, search->readyControl) == nullptr)
    return TRUE;
  search->found = window;
  return FALSE;
}

// A visible dialog of this process that has the control (any, for 0); null when there is none.
HWND ShownDialog(int readyControl) {
  Search search{readyControl, nullptr};
  EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

DialogDriver::DialogDriver(DialogAction action) : action_(std::move(action)) {
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
  const DialogAction& act = driver.action_;
  HWND dialog = nullptr;
  // The dialog shows before it has made all its controls: wait for the one it is driven by.
  if (!PollUntil([&] { return (dialog = ShownDialog(act.readyControl)) != nullptr; }, 15000)) {
    driver.waitedFor = "a dialog with control " + std::to_string(act.readyControl);
    return 0;
  }
  driver.found = true;
  wchar_t text[1024] = {};
  SendMessageW(dialog, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  driver.title = text;
  driver.fileType = SendMessageW(GetDlgItem(dialog, kControlFileType), CB_GETCURSEL, 0, 0);
  if (HWND name = GetDlgItem(dialog, kControlFileName)) {
    text[0] = L'\0';
    SendMessageW(name, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    driver.fileName = text;
    if (act.confirm && !act.typed.empty())
      SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(act.typed.c_str()));
  }
  if (!act.fontSize.empty()) {
    // Chosen in the size list as a click would: the selection, then the dialog told of it.
    HWND sizes = GetDlgItem(dialog, kControlFontSize);
    const LRESULT index = SendMessageW(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(act.fontSize.c_str()));
    if (index == CB_ERR) {
      driver.waitedFor = "the font dialog's size list to offer the size";
    } else {
      SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kControlFontSize, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(sizes));
    }
  }
  if (act.underline) SendMessageW(GetDlgItem(dialog, kControlUnderline), BM_CLICK, 0, 0);
  PostMessageW(dialog, WM_COMMAND, act.confirm ? IDOK : IDCANCEL, 0);
  if (!PollUntil([&] { return !IsWindow(dialog); }, 10000))
    driver.waitedFor = "the dialog to close";
  while (HWND left = ShownDialog(0)) {
    driver.stuck = true;
    PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
    if (!PollUntil([&] { return !IsWindow(left); }, 10000)) {
      driver.waitedFor = "a dialog left open to close";
      break;
    }
  }
  return 0;
}

}  // namespace forms::testing
