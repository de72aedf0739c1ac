#pragma once
// A support library: a table of component types, a table of built-in commands and a notify
// entry through which the runtime hands it the request function at start-up.

#include <cstdint>

#include "runtime/core/records.h"

namespace rt {

using RuntimeRequestFunction = int32_t (*)(int32_t code, uint32_t value1, uint32_t value2);
using LibraryNotifyFunction = int32_t (*)(int32_t code, uint32_t value1, uint32_t value2);

// Codes the runtime sends to LibraryNotify.
inline constexpr int32_t kNotifyStart = 1;     // value1: the RuntimeRequest function
inline constexpr int32_t kNotifyShutDown = 6;  // value1: the library's parameter word

}  // namespace rt
namespace forms {
struct ComponentTypeRecord;  // the form runtime's 14-word type record
}  // namespace forms
namespace rt {

struct SupportLibrary {
  const char* name;
  uint32_t typeCount;
  // One row per type, by 1-based type number; a null row is a type this build does not have.
  const forms::ComponentTypeRecord* const* types;
  uint32_t commandCount;
  const Command* commands;
  LibraryNotifyFunction notify;  // may be null
};

}  // namespace rt
