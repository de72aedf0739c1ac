#include "watched_process.h"

#include <psapi.h>

#include "process_runner.h"
#include "tool_driver.h"

WatchedProcess::WatchedProcess(const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring line = commandLine;
  clock_.Restart();
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process_))
    process_ = {};
}

WatchedProcess::~WatchedProcess() {
  if (!Started()) return;
  for (HWND window : e2e::VisibleWindowsOf(process_.dwProcessId))
    PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

HWND WatchedProcess::Window(const wchar_t* className, bool visibleOnly) const {
  const HWND window = FindProcessWindow(process_.dwProcessId, className);
  return window != nullptr && (!visibleOnly || IsWindowVisible(window)) ? window : nullptr;
}

bool WatchedProcess::HasEnded() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

MemoryCounters MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters))
    return {};
  return {counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage,
          counters.PeakPagefileUsage};
}

MemoryCounters WatchedProcess::Memory() const { return MemoryOf(process_.hProcess); }

PrivateBytesSampler::PrivateBytesSampler(HANDLE process) : process_(process) {
  thread_ = std::thread([this] {
    while (!stop_) {
      const uint64_t now = MemoryOf(process_).privateBytes;
      if (now > largest_) largest_ = now;
      // A copy of the file lives for tens of milliseconds; a finer step only loads the system.
      Sleep(5);
    }
  });
}

PrivateBytesSampler::~PrivateBytesSampler() {
  stop_ = true;
  thread_.join();
}
