#pragma once
// The one entry by which support-library code (commands, components) asks the runtime core for
// services, and the forwarder that library code calls it through.

#include <cstdint>

#include "runtime/core/support_library.h"

namespace rt {

namespace request {
inline constexpr int32_t FindComponentType = 1002;  // TypeCode -> type record, or 0
inline constexpr int32_t UnitDestroyed = 2000;      // WindowId, UnitId
inline constexpr int32_t ToNumber = 2001;           // ArgumentRecord*, double* or 0 -> Int
inline constexpr int32_t WindowClosing = 2002;      // WindowId: about to be destroyed
inline constexpr int32_t ExecutableDirectory = 2003;
inline constexpr int32_t ExecutableName = 2004;
inline constexpr int32_t FindLiveObject = 2006;     // WindowId, UnitId or 0
inline constexpr int32_t RequireLiveObject = 2007;  // as 2006; absence is a runtime error
inline constexpr int32_t RaiseEvent = 2008;         // EventRecord*
inline constexpr int32_t SuspendEvents = 2009;
inline constexpr int32_t ResumeEvents = 2010;
inline constexpr int32_t ObjectKind = 2011;         // object -> kind, or -1 when not listed
inline constexpr int32_t AddObject = 2012;          // object, kind
inline constexpr int32_t RemoveObject = 2013;       // object
inline constexpr int32_t HandleMessages = 2018;
inline constexpr int32_t FreeArray = 2023;          // TypeTag, array
inline constexpr int32_t Allocate = 2024;           // size, 0 = fatal on failure / else null
inline constexpr int32_t Free = 2025;               // block
inline constexpr int32_t Reallocate = 2026;         // block, size
inline constexpr int32_t ReportMessage = 2027;      // message text
inline constexpr int32_t Exit = 2028;               // exit code
inline constexpr int32_t RunMode = 2030;
inline constexpr int32_t CallDllWithRecords = 2031;  // DLL command index, DllArguments*
inline constexpr int32_t WindowCount = 2032;
}  // namespace request

int32_t RuntimeRequest(int32_t code, uint32_t value1, uint32_t value2);

// What support-library code calls: 0 until the runtime has handed over its request function.
int32_t LibraryRequest(int32_t code, uint32_t value1 = 0, uint32_t value2 = 0);
// A library's answer to LibraryNotify code 1.
void KeepRequestFunction(RuntimeRequestFunction function);

}  // namespace rt
