#include "dialog_attempt.h"

#include <algorithm>

namespace reliability {
namespace {

constexpr int kFileNameBox = 0x47C;  // cmb13: the open dialog's file-name box

}  // namespace

std::vector<HWND> DialogWindows(DWORD processId) {
  std::vector<HWND> dialogs;
  for (HWND window : e2e::VisibleWindowsOf(processId)) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (wcscmp(name, L"#32770") == 0) dialogs.push_back(window);
  }
  return dialogs;
}

std::wstring DialogMessage(HWND dialog) { return LongestStaticText(dialog); }

HWND WaitForOpenDialog(DWORD processId) {
  HWND dialog = nullptr;
  e2e::WaitUntil([&] { return (dialog = e2e::ShownOpenDialog(processId)) != nullptr; });
  return dialog;
}

DialogAttempt TypeIntoOpenDialog(const e2e::MainWindow& main, const std::wstring& path) {
  DialogAttempt attempt;
  HWND dialog = e2e::OpenLoadDialog(main);
  if (dialog == nullptr) return attempt;
  attempt.shown = true;
  e2e::PutText(GetDlgItem(dialog, kFileNameBox), path);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);

  // Either the dialog closes, or it shows a message over itself, or it stays as it is (it went
  // into a folder): two seconds tell the last from the others.
  HWND box = nullptr;
  e2e::WaitUntil(
      [&] {
        for (HWND d : DialogWindows(main.processId))
          if (d != dialog) box = d;
        return box != nullptr || !IsWindow(dialog);
      },
      2000);
  attempt.accepted = !IsWindow(dialog);
  if (box != nullptr) {
    Sleep(100);  // let the box lay itself out
    attempt.message = DialogMessage(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    e2e::WaitUntil([&] { return !IsWindow(box); });
  }
  if (IsWindow(dialog)) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    e2e::WaitUntil([&] { return !IsWindow(dialog); });
  }
  attempt.closed = DialogWindows(main.processId).empty();
  return attempt;
}

}  // namespace reliability
