#pragma once
// What another process holds, read from outside: its committed private memory and its open
// handles (every file the tool keeps open is one handle).
//
// Wine answers neither GetProcessMemoryInfo's PrivateUsage nor GetProcessHandleCount (both read
// 0), so both are counted here the way the system itself keeps them: the private memory by
// walking the process's address space and adding up its committed private regions (what
// PrivateUsage means on Windows), the handles from the system's handle table.

#include <windows.h>

#include <cstdint>
#include <string>

namespace reliability {

struct ProcessUsage {
  bool read = false;
  uint64_t privateBytes = 0;
  uint32_t handles = 0;
  uint32_t fileHandles = 0;  // of the handles, those to files (and folders)
  uint32_t keyHandles = 0;   // of the handles, those to registry keys
};

ProcessUsage UsageOf(DWORD processId);

// The process's handles counted by the kind of object they hold ("Event 12, File 3, Key 20"),
// for a message that says what a count that grew is made of.
std::string HandleKindsOf(DWORD processId);

}  // namespace reliability
