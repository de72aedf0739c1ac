#pragma once
// A program that the benchmark starts and keeps by its process handle: the moment it was asked
// for, its windows, its memory and its end.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "stopwatch.h"

// Private bytes: the process's committed private memory (PrivateUsage, or PagefileUsage where
// that is left at zero: Windows keeps both equal). Wine reports the resident anonymous memory of
// the process instead, so only touched pages count, and it keeps no peak: its "peak" is the
// current value. Hence the sampler below.
struct MemoryCounters {
  uint64_t privateBytes = 0;
  uint64_t peakPrivateBytes = 0;  // as the system reports it
};

MemoryCounters MemoryOf(HANDLE process);

class WatchedProcess {
 public:
  // The stopwatch starts immediately before CreateProcess.
  explicit WatchedProcess(const std::wstring& commandLine);
  // Asks its windows to close, then ends it if it has not ended within a few seconds.
  ~WatchedProcess();
  WatchedProcess(const WatchedProcess&) = delete;
  WatchedProcess& operator=(const WatchedProcess&) = delete;

  bool Started() const { return process_.hProcess != nullptr; }
  const Stopwatch& SinceStart() const { return clock_; }
  DWORD Id() const { return process_.dwProcessId; }
  HANDLE Handle() const { return process_.hProcess; }
  // A top-level window of this process with the class, or null.
  HWND Window(const wchar_t* className, bool visibleOnly) const;
  bool HasEnded() const;
  MemoryCounters Memory() const;

 private:
  Stopwatch clock_;
  PROCESS_INFORMATION process_{};
};

// Samples a process's private bytes every few milliseconds on a thread of its
// own and keeps the largest value seen: a copy of the file that lives only while one click is
// handled would slip between occasional reads.
class PrivateBytesSampler {
 public:
  explicit PrivateBytesSampler(HANDLE process);
  ~PrivateBytesSampler();
  PrivateBytesSampler(const PrivateBytesSampler&) = delete;
  PrivateBytesSampler& operator=(const PrivateBytesSampler&) = delete;
  uint64_t Largest() const { return largest_; }

 private:
  HANDLE process_;
  std::atomic<bool> stop_{false};
  std::atomic<uint64_t> largest_{0};
  std::thread thread_;
};
