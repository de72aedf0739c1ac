#pragma once
// What a component hands the runtime when it raises an event (request 2008), and where the
// runtime leaves a handler's result for it.

#include <cstdint>

namespace forms {

struct EventRecord {
  uint32_t windowId;
  uint32_t unitId;  // 0: the window's own unit
  int32_t number;
  uint32_t argumentCount;  // at most 5
  uint32_t arguments[5];
  uint32_t resultPresent;
  uint32_t result;
};
static_assert(sizeof(EventRecord) == 44);

inline constexpr uint32_t kMaxEventArguments = 5;

}  // namespace forms
