#include "process_runner.h"

#include <cstdint>
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
    RECT area;
    GetWindowRect(child, &area);
    const std::vector<uint32_t> pixels = ScreenPixels(area);
    size_t red = 0;
    for (uint32_t pixel : pixels) {
      const int b = pixel & 0xFF, g = (pixel >> 8) & 0xFF, r = (pixel >> 16) & 0xFF;
      if (r > 160 && g < 90 && b < 90) ++red;
    }
    return red > pixels.size() / 4;
  }
  return false;
}

}  // namespace

std::wstring LongestStaticText(HWND window) {
  std::wstring text;
  EnumChildWindows(window, LongestStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

std::vector<uint32_t> ScreenPixels(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint32_t> pixels;
  if (bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    pixels.assign(first, first + static_cast<size_t>(width) * height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
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
  DWORD start = GetTickCount();
  while (WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
    const DWORD elapsed = GetTickCount() - start;
    // Over the time limit, or still without a window when one was needed to poke.
    if (elapsed > options.timeLimitMs ||
        (!poked && options.whileRunning && options.firstWindowLimitMs != 0 &&
         elapsed > options.firstWindowLimitMs)) {
      TerminateProcess(process.hProcess, 0xDEAD);
      WaitForSingleObject(process.hProcess, 5000);
      timedOut = true;
      break;
    }
    HWND box = options.answerBoxes ? FindProcessWindow(process.dwProcessId, L"#32770") : nullptr;
    if (box != nullptr && box != answered && IsWindowVisible(box)) {
      answered = box;
      // The box shows before it has filled in its message.
      PollUntil([&] { return !LongestStaticText(box).empty(); }, 5000);
      outcome.box.shown = true;
      outcome.box.caption = WindowText(box);
      outcome.box.text = LongestStaticText(box);
      // On a busy machine the icon may be painted a while after the box appears.
      outcome.box.errorIcon = PollUntil([&] { return HasErrorIcon(box); }, 3000);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    if (!poked && options.whileRunning && FindProcessWindow(process.dwProcessId, nullptr)) {
      poked = true;
      options.whileRunning(process.dwProcessId);
      // The step bounds its own waits and may take long on a busy machine: the time limit
      // counts again from its end, for the process to finish.
      start = GetTickCount();
    }
  }
  outcome.ended = !timedOut;
  if (outcome.ended) GetExitCodeProcess(process.hProcess, &outcome.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return outcome;
}
