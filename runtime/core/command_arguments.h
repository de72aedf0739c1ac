#pragma once
// The one path by which built-in commands read their arguments and write their results.
//
// An argument beyond the count or omitted (tag 0) gives the command's default. A numeric
// argument of another type than Int or Double is converted as ToInteger and ToNumber convert
// values; a text or byte-set argument of another type reads as empty. So a command never reads
// a record that is not there, nor takes a number for a pointer.

#include <cstdint>
#include <string_view>

#include "runtime/core/records.h"
#include "runtime/core/values.h"

namespace rt {

struct ByteSpan {
  const uint8_t* data;
  uint32_t length;
};

class Arguments {
 public:
  Arguments(int32_t count, const ArgumentRecord* records)
      : count_(count > 0 ? count : 0), records_(records) {}

  int32_t Count() const { return count_; }
  // Given by the caller and not omitted.
  bool Present(int32_t i) const { return i >= 0 && i < count_ && !IsOmitted(records_[i]); }
  // Only for a present argument.
  const ArgumentRecord& Record(int32_t i) const { return records_[i]; }

  int32_t Int(int32_t i, int32_t fallback = 0) const;
  double Double(int32_t i, double fallback = 0) const;
  // Never null: a missing or null text is "".
  const char* Text(int32_t i) const;
  // The bytes of a byte set or of an array of bytes; empty for anything else.
  ByteSpan Bytes(int32_t i) const;

 private:
  int32_t count_;
  const ArgumentRecord* records_;
};

void ReturnInt(ResultRecord* result, int32_t value);
void ReturnBool(ResultRecord* result, bool value);
void ReturnDouble(ResultRecord* result, double value);
// The result takes over the block (null for empty).
void ReturnText(ResultRecord* result, Text text);
void ReturnByteSet(ResultRecord* result, ByteSet bytes);
// A new text block holding the bytes (null when there are none).
void ReturnTextCopy(ResultRecord* result, std::string_view bytes);

}  // namespace rt
