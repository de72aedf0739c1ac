#pragma once
// The system-library functions that the application calls as DLL commands, named by their
// declaration index (the index that crosses the CallDllCommand row).

#include <array>
#include <cstdint>

namespace app {

enum DllCommand : uint32_t {
  StrToIntExA = 0,
  CLSIDFromString = 1,
  LocalSize = 2,
  GetModuleHandleA = 3,
  LoadCursorA = 4,
  RegisterClassExA = 5,
  GdiplusStartup = 6,
  MultiByteToWideChar = 7,
  GetPropA = 8,
  TerminateThread = 9,
  CloseThreadHandle = 10,  // CloseHandle, for the loading dialog's worker thread
  GdipDisposeImage = 11,
  GlobalFree = 12,
  DefWindowProcA = 13,
  ReleaseCapture = 14,
  SendMessageA = 15,
  OpenFileMappingA = 16,
  MapViewOfFile = 17,
  RtlMoveMemory = 18,
  CloseSectionHandle = 19,  // CloseHandle, for the launcher's shared-memory section
};

inline constexpr uint32_t kDllCommandCount = 20;

// Library and export name of every declaration, by index, for the program information block.
using DllNameColumn = std::array<const char*, kDllCommandCount>;
extern const DllNameColumn kDllLibraryNames;
extern const DllNameColumn kDllExportNames;

}  // namespace app
