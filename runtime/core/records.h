#pragma once
// The records in which command arguments and results cross between application code and the
// runtime. Their layout is the contract: three 32-bit words each, contiguous.

#include <cstddef>
#include <cstdint>

#include "runtime/core/type_tag.h"

namespace rt {

struct ArgumentRecord {
  uint32_t low;   // the value, the low half of an 8-byte value, or the pointer
  uint32_t high;  // the high half of an 8-byte value, else 0
  TypeTag tag;    // 0 marks an omitted argument
};
static_assert(sizeof(ArgumentRecord) == 12);
static_assert(offsetof(ArgumentRecord, low) == 0 && offsetof(ArgumentRecord, high) == 4 &&
              offsetof(ArgumentRecord, tag) == 8);

struct ResultRecord {
  uint32_t low;
  uint32_t high;
  TypeTag tag;
};
static_assert(sizeof(ResultRecord) == 12);
static_assert(offsetof(ResultRecord, low) == 0 && offsetof(ResultRecord, high) == 4 &&
              offsetof(ResultRecord, tag) == 8);

// Every built-in command has this one shape. It may not keep pointers to its arguments and
// frees none of them.
using Command = void (*)(ResultRecord* result, int32_t count, ArgumentRecord* args);

inline bool IsOmitted(const ArgumentRecord& a) { return a.tag == 0; }

// Where a single argument's value starts and how many bytes the runtime counts for it: the
// characters and terminator of a text, the bytes of a byte set (behind its header), the width
// of a scalar. Tags without a measurable value give size -1.
struct MeasuredValue {
  const void* data;
  int32_t size;
};
MeasuredValue MeasureArgument(const ArgumentRecord& a);

}  // namespace rt
