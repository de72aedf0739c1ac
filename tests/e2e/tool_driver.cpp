#include "tool_driver.h"

#include <algorithm>

namespace e2e {
namespace {

const std::function<void(const MainWindow&)>* currentDrive = nullptr;
bool currentWindowShown = false;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

HWND VisibleWindowOf(DWORD processId, const wchar_t* className) {
  HWND window = FindProcessWindow(processId, className);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

bool IsFileDialog(HWND dialog) { return GetDlgItem(dialog, kFileNameBox) != nullptr; }

struct DialogSearch {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->processId && ClassOf(window) == L"#32770" &&
      (!search->visibleOnly || IsWindowVisible(window)))
    search->found.push_back(window);
  return TRUE;
}

// The first visible dialog of the process that is (or is not) a file dialog, or null.
HWND ShownDialog(DWORD processId, bool fileDialog) {
  for (HWND dialog : DialogWindows(processId))
    if (IsFileDialog(dialog) == fileDialog) return dialog;
  return nullptr;
}

void DriveMainWindow(DWORD processId) {
  HWND window = nullptr;
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);
  const auto ended = [&] {
    return process != nullptr && WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  };
  // The process's first window may be a helper the system makes a moment before the main one.
  WaitUntil(
      [&] { return (window = VisibleWindowOf(processId, L"PvWindow")) != nullptr || ended(); },
      kMainWindowWaitMs);
  // No window, nothing to drive: end the tool now rather than at RunProcess's time limit.
  if (window == nullptr && process != nullptr) TerminateProcess(process, kNoWindowExitCode);
  if (process != nullptr) CloseHandle(process);
  if (window == nullptr) return;
  currentWindowShown = true;
  (*currentDrive)(MainWindow{processId, window});
  if (HWND dialog = ShownDialog(processId, true)) CancelDialog(dialog);
  if (ShownMessageBox(processId) == nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
}

int ListSelection(HWND list) {
  DWORD_PTR selection = 0;
  SendMessageTimeoutW(list, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selection);
  return static_cast<int>(static_cast<LRESULT>(selection));
}

}  // namespace

HWND MainWindow::Control(int id, const wchar_t* className) const {
  HWND child = GetDlgItem(window, id);
  return child != nullptr && _wcsicmp(ClassOf(child).c_str(), className) == 0 ? child : nullptr;
}

MainControls ControlsOf(const MainWindow& main) {
  return {main.Control(control::LoadButton, L"Button"),
          main.Control(control::ResolutionList, L"ComboBox"),
          main.Control(control::ReadButton, L"Button"),
          main.Control(control::ApplyButton, L"Button"),
          main.Control(control::VerdictLabel, L"_Kw_TransLabel"),
          main.Control(control::SignatureBox, L"Edit")};
}

std::wstring BuiltTool() { return BesideThisProgram(L"..\\..\\app\\quenmire-res.exe"); }

ToolRun RunTool(const std::wstring& program, const std::function<void(const MainWindow&)>& drive,
                const std::wstring& workingDirectory) {
  currentDrive = &drive;
  currentWindowShown = false;
  RunOptions options;
  options.workingDirectory = workingDirectory;
  // Counted again once the drive is over: the time the tool has to handle the close and end.
  options.timeLimitMs = 180000;
  options.firstWindowLimitMs = kMainWindowWaitMs;  // no window at all: fail at once
  options.whileRunning = &DriveMainWindow;
  ToolRun run;
  run.outcome = RunProcess(L"\"" + program + L"\"", options);
  run.windowShown = currentWindowShown;
  currentDrive = nullptr;
  return run;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  return PollUntil(done, timeoutMs);
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool PostedMessagesHandled(HWND list) {
  const int selection = ListSelection(list);
  PostMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  const bool handled = WaitUntil([&] { return ListSelection(list) == CB_ERR; });
  SendMessageTimeoutW(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0, SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return handled;
}

bool ClickAndWaitHandled(HWND button, HWND list) {
  Click(button);
  return PostedMessagesHandled(list);
}

void PutText(HWND control, const std::wstring& text) {
  SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
  for (int i = 0; i < static_cast<int>(count); ++i) {
    wchar_t item[256] = {};  // every item here is far shorter
    SendMessageTimeoutW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                        2000, nullptr);
    items.push_back(item);
  }
  return items;
}

bool SelectItem(HWND list, const std::wstring& text) {
  const std::vector<std::wstring> items = ListItems(list);
  const auto found = std::find(items.begin(), items.end(), text);
  if (found == items.end()) return false;
  const int index = static_cast<int>(found - items.begin());
  SendMessageTimeoutW(list, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
  return ListSelection(list) == index;
}

HWND OpenLoadDialog(const MainWindow& main, std::vector<std::wstring>* fileTypes) {
  // Posted: the dialog is modal, and a sent click would not return before it closes.
  Click(main.Control(control::LoadButton, L"Button"));
  HWND dialog = nullptr;
  // The dialog shows before it has made all its controls: wait for the file-name box itself.
  if (!WaitUntil([&] { return (dialog = ShownDialog(main.processId, true)) != nullptr; }))
    return nullptr;
  if (fileTypes != nullptr) *fileTypes = ListItems(GetDlgItem(dialog, kFileTypeList));
  return dialog;
}

namespace {

bool CloseDialog(HWND dialog, const std::wstring& typedPath, int button) {
  if (!typedPath.empty()) PutText(GetDlgItem(dialog, kFileNameBox), typedPath);
  PostMessageW(dialog, WM_COMMAND, button, 0);
  return WaitUntil([&] { return !IsWindow(dialog); });
}

}  // namespace

bool ConfirmDialog(HWND dialog, const std::wstring& path) { return CloseDialog(dialog, path, IDOK); }

bool CancelDialog(HWND dialog, const std::wstring& typedPath) {
  return CloseDialog(dialog, typedPath, IDCANCEL);
}

bool LoadThroughDialog(const MainWindow& main, const std::wstring& path,
                       std::vector<std::wstring>* fileTypes) {
  HWND dialog = OpenLoadDialog(main, fileTypes);
  return dialog != nullptr && ConfirmDialog(dialog, path);
}

void MoveClearOf(HWND window, HWND control) {
  RECT moving, kept;
  if (!GetWindowRect(window, &moving) || !GetWindowRect(control, &kept)) return;
  const int height = moving.bottom - moving.top;
  const int top = kept.top - height - 8 >= 0 ? kept.top - height - 8 : kept.bottom + 8;
  SetWindowPos(window, nullptr, moving.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The uncovered part of the main window repaints in the tool's own time.
  WaitUntil([&] {
    RECT now;
    return GetWindowRect(window, &now) && now.top == top;
  });
}

bool NextTick(HWND label) {
  static const std::wstring kMarker = L"(waiting for a tick)";
  PutText(label, kMarker);
  return WaitUntil([&] { return WindowText(label) != kMarker; }, 3000);
}

namespace {

struct VisibleSearch {
  DWORD processId;
  std::set<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<VisibleSearch*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->processId && IsWindowVisible(window)) search->found.insert(window);
  return TRUE;
}

}  // namespace

std::set<HWND> VisibleWindowsOf(DWORD processId) {
  VisibleSearch search{processId, {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> DialogWindows(DWORD processId, bool visibleOnly) {
  DialogSearch search{processId, visibleOnly, {}};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ShownMessageBox(DWORD processId) { return ShownDialog(processId, false); }

HWND ShownOpenDialog(DWORD processId) { return ShownDialog(processId, true); }

const char* InkName(Ink ink) {
  switch (ink) {
    case Ink::None:
      return "none";
    case Ink::Black:
      return "black";
    case Ink::Green:
      return "green";
    case Ink::Red:
      return "red";
    case Ink::Mixed:
      return "mixed";
  }
  return "?";
}

Ink InkOf(HWND control) {
  RECT area;
  if (!GetWindowRect(control, &area)) return Ink::None;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return Ink::None;

  // Another process's window cannot be asked to draw into this process's DC: copy what the
  // screen shows instead.
  int black = 0, green = 0, red = 0;
  for (uint32_t pixel : ScreenPixels(area)) {
    const int b = pixel & 0xFF, g = (pixel >> 8) & 0xFF, r = (pixel >> 16) & 0xFF;
    if (g - std::max(r, b) >= 64)
      ++green;
    else if (r - std::max(g, b) >= 64)
      ++red;
    else if (std::max({r, g, b}) <= 96)
      ++black;
  }

  // A glyph of any size leaves a few dozen pixels of its hue; a stray pixel of another hue on a
  // blended edge is tolerated, a second colour of text is not.
  constexpr int kEnough = 12;
  const int most = std::max({black, green, red});
  if (most < kEnough) return Ink::None;
  if (black + green + red - most > most / 8) return Ink::Mixed;
  return most == green ? Ink::Green : most == red ? Ink::Red : Ink::Black;
}

ScratchDirectory::ScratchDirectory(const std::wstring& name)
    : path_(TempPath(L"qr-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name)) {
  CreateDirectoryW(path_.c_str(), nullptr);
  Empty();
}

ScratchDirectory::~ScratchDirectory() {
  Empty();
  RemoveDirectoryW(path_.c_str());
}

void ScratchDirectory::Empty() const {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      DeleteFileW((*this / found.cFileName).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

HANDLE OpenShared(const std::wstring& path, DWORD access, DWORD disposition) {
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE file = OpenShared(path, GENERIC_WRITE, CREATE_ALWAYS);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path, uint32_t offset, uint32_t count) {
  std::vector<uint8_t> bytes;
  HANDLE file = OpenShared(path, GENERIC_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(count);
  DWORD read = 0;
  if (SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) ==
          INVALID_SET_FILE_POINTER ||
      !ReadFile(file, bytes.data(), count, &read, nullptr))
    read = 0;
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

std::vector<uint8_t> ReadWholeFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return {};
  return ReadFileBytes(path, 0, data.nFileSizeLow);
}

FILETIME LastWriteTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

int64_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return left == a.end() && right == b.end() ? -1 : left - a.begin();
}

}  // namespace e2e
