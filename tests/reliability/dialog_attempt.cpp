#include "dialog_attempt.h"

namespace reliability {

std::wstring DialogMessage(HWND dialog) { return LongestStaticText(dialog); }

DialogAttempt TypeIntoOpenDialog(const e2e::MainWindow& main, const std::wstring& path) {
  DialogAttempt attempt;
  HWND dialog = e2e::OpenLoadDialog(main);
  if (dialog == nullptr) return attempt;
  attempt.shown = true;
  e2e::PutText(GetDlgItem(dialog, e2e::kFileNameBox), path);
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);

  // The dialog runs on the tool's window thread: once a marker posted behind the confirmation
  // has been handled, the dialog has either closed, or made a message box over itself (whose
  // own loop handled the marker), or stayed as it is (it went into a folder).
  HWND list = main.Control(e2e::control::ResolutionList, L"ComboBox");
  attempt.handled = e2e::PostedMessagesHandled(list);
  attempt.accepted = !IsWindow(dialog);
  HWND box = nullptr;
  for (HWND d : DialogWindows(main.processId, false))
    if (d != dialog) box = d;
  if (box != nullptr) {
    // Made, but shown and filled in a moment later.
    e2e::WaitUntil([&] { return IsWindowVisible(box) && !DialogMessage(box).empty(); });
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
