#pragma once
// The fixed table of entry points by which application code reaches the runtime. Application
// code binds to a row by its position, so the order never changes.

#include <cstdint>

#include "runtime/core/records.h"

namespace rt {

struct RuntimeServiceTable {
  void (*ReportError)(int32_t code);  // does not return
  void (*CallDllCommand)();           // own convention: see rt_CallDllCommand
  ResultRecord (*CallCommandVariant)(Command command, int32_t count, ArgumentRecord* args);
  ResultRecord (*CallCommand)(Command command, int32_t count, ArgumentRecord* args);
  uint64_t (*ReadProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t selector);
  void (*WriteProperty)(uint32_t windowId, uint32_t unitId, int32_t index, int32_t selector,
                        uint32_t low, uint32_t high);
  void* (*Allocate)(uint32_t size);
  void* (*Reallocate)(void* block, uint32_t size);
  void (*Free)(void* block);
  void (*Exit)(int32_t code);  // does not return
  void (*RunMessageLoop)();
  void (*LoadStartWindow)(uint32_t windowId);
  uint64_t (*OtherService)(int32_t code, ...);
};
static_assert(sizeof(RuntimeServiceTable) == 13 * 4);

// Codes of the OtherService row.
namespace other {
inline constexpr int32_t FindFile = 0;          // pattern, attribute mask, all-files flag, handle*
inline constexpr int32_t CloseFileSearch = 1;   // search handle
inline constexpr int32_t MakeArrayWritable = 2; // element width, array variable
inline constexpr int32_t RegisterCleanup = 3;   // routine
inline constexpr int32_t ReadComponentProperty = 4;   // window, unit, index, selector
inline constexpr int32_t WriteComponentProperty = 5;  // window, unit, index, selector, low, high
inline constexpr int32_t InitialiseRuntime = 6;
}  // namespace other

ResultRecord CallCommand(Command command, int32_t count, ArgumentRecord* args);
uint64_t OtherService(int32_t code, ...);

}  // namespace rt

extern "C" const rt::RuntimeServiceTable RuntimeServices;
