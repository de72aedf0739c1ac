#include "process_runner.h"

#include <fstream>

std::wstring BesideThisProgram(const std::wstring& relative) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path);
  dir.resize(dir.find_last_of(L'\\') + 1);
  return dir + relative;
}

std::wstring TempPath(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  return std::wstring(temp) + name;
}

std::vector<std::string> ReadLines(const std::wstring& path) {
  std::vector<std::string> lines;
  std::ifstream in(path.c_str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::wstring WindowText(HWND window) {
  // Another process's window: WM_GETTEXT crosses the process boundary, GetWindowText does not.
  wchar_t buffer[4096] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      2000, nullptr);
  return buffer;
}

namespace {

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (pid == search->processId && (search->className == nullptr || wcscmp(className, search->className) == 0)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM data) {
  auto* text = reinterpret_cast<std::wstring*>(data);
  wchar_t className[64] = {};
  GetClassNameW(child, className, 64);
  if (_wcsicmp(className, L"Static") == 0) {
    std::wstring t = WindowText(child);
    if (t.size() > text->size()) *text = t;
  }
  return TRUE;
}

// The system's error icon is the only message-box icon that is mostly red: count the red pixels
// of the box's icon as it is on the screen (another process's icon handle cannot be compared).
bool HasErrorIcon(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (SendMessageW(child, STM_GETICON, 0, 0) == 0) continue;
    RECT r;
    GetWindowRect(child, &r);
    HDC screen = GetDC(nullptr);
    int red = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        const COLORREF c = GetPixel(screen, x, y);
        if (GetRValue(c) > 160 && GetGValue(c) < 90 && GetBValue(c) < 90) ++red;
      }
    ReleaseDC(nullptr, screen);
    return red > (r.right - r.left) * (r.bottom - r.top) / 4;
  }
  return false;
}

}  // namespace

std::wstring LongestStaticText(HWND window) {
  std::wstring text;
  EnumChildWindows(window, LongestStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
  WindowSearch search{processId, className, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ProcessOutcome RunProcess(const std::wstring& commandLine, const RunOptions& options) {
  ProcessOutcome outcome;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring mutableLine = commandLine;
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str(),
                      &startup, &process))
    return outcome;

  bool poked = false;
  HWND answered = nullptr;
  bool timedOut = false;
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
    if (GetTickCount() - start > options.timeLimitMs) {
      TerminateProcess(process.hProcess, 0xDEAD);
      WaitForSingleObject(process.hProcess, 5000);
      timedOut = true;
      break;
    }
    HWND box = FindProcessWindow(process.dwProcessId, L"#32770");
    if (box != nullptr && box != answered && IsWindowVisible(box)) {
      answered = box;
      Sleep(100);  // let the box finish laying itself out
      outcome.box.shown = true;
      outcome.box.caption = WindowText(box);
      outcome.box.text = LongestStaticText(box);
      // On a busy machine the icon may be painted a while after the box appears.
      for (int tries = 0; tries < 30 && !outcome.box.errorIcon; ++tries) {
        outcome.box.errorIcon = HasErrorIcon(box);
        if (!outcome.box.errorIcon) Sleep(100);
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    if (!poked && options.whileRunning && FindProcessWindow(process.dwProcessId, nullptr)) {
      poked = true;
      options.whileRunning(process.dwProcessId);
    }
  }
  outcome.ended = !timedOut;
  if (outcome.ended) GetExitCodeProcess(process.hProcess, &outcome.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return outcome;
}
