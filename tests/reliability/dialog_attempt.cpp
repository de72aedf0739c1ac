#include "dialog_attempt.h"

#include <algorithm>

namespace reliability {
namespace {

constexpr int kFileNameBox = 0x47C;  // cmb13: the open dialog's file-name box

struct Search {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (pid == search->processId && wcscmp(name, L"#32770") == 0 && IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM data) {
  auto* text = reinterpret_cast<std::wstring*>(data);
  wchar_t name[16] = {};
  GetClassNameW(child, name, 16);
  if (_wcsicmp(name, L"Static") == 0) {
    const std::wstring t = WindowText(child);
    if (t.size() > text->size()) *text = t;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> DialogWindows(DWORD processId) {
  Search search{processId, {}};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring DialogMessage(HWND dialog) {
  std::wstring message;
  EnumChildWindows(dialog, CollectStaticText, reinterpret_cast<LPARAM>(&message));
  return message;
}

HWND WaitForOpenDialog(DWORD processId) {
  HWND dialog = nullptr;
  e2e::WaitUntil([&] {
    for (HWND d : DialogWindows(processId))
      if (GetDlgItem(d, kFileNameBox) != nullptr) dialog = d;
    return dialog != nullptr;
  });
  return dialog;
}

DialogAttempt TypeIntoOpenDialog(const e2e::MainWindow& main, const std::wstring& path) {
  DialogAttempt attempt;
  e2e::Click(main.Control(e2e::control::LoadButton, L"Button"));
  HWND dialog = WaitForOpenDialog(main.processId);
  if (dialog == nullptr) return attempt;
  attempt.shown = true;
  SendMessageTimeoutW(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 2000, nullptr);
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
