// Conversions between the value types: to text, to integer, to number, to raw bytes, and the
// hexadecimal form of an Int.

#include <charconv>
#include <string>

#include "runtime/core/command_arguments.h"
#include "runtime/core/commands.h"
#include "runtime/core/number_text.h"
#include "runtime/core/record_values.h"
#include "runtime/core/value_conversion.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

rt::Text TextFromString(const std::string& s) {
  return MakeTextFromBytes(s.data(), static_cast<int32_t>(s.size()));
}

rt::Text Decimal(int64_t value) {
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  return MakeTextFromBytes(digits, static_cast<int32_t>(end - digits));
}

// The bytes behind a byte set, or behind a one-dimensional array of a number type. Answers
// false for every other value.
bool RawBytes(const ArgumentRecord& value, ByteSpan* bytes) {
  const void* block = reinterpret_cast<const void*>(value.low);
  uint32_t width;
  if (value.tag == tag::ByteSet) {
    width = 1;
  } else if (IsArrayTag(value.tag) && IsNumericTag(value.tag)) {
    if (block != nullptr && *static_cast<const uint32_t*>(block) != 1) return false;
    width = NumericElementWidth(value.tag);
  } else {
    return false;
  }
  const ElementSpan span = ElementCount(block);
  *bytes = {span.first, span.count * width};
  return true;
}

rt::Text TextOfValue(const ArgumentRecord& value) {
  ByteSpan bytes;
  if (RawBytes(value, &bytes)) {
    // Up to, not including, the first zero byte.
    uint32_t n = 0;
    while (n < bytes.length && bytes.data[n] != 0) ++n;
    return MakeTextFromBytes(bytes.data, static_cast<int32_t>(n));
  }
  switch (value.tag) {
    case tag::Text: return MakeText(reinterpret_cast<const char*>(value.low));
    case tag::Int: return Decimal(static_cast<int32_t>(value.low));
    case tag::Short: return Decimal(static_cast<int16_t>(value.low));
    case tag::Byte: return Decimal(static_cast<uint8_t>(value.low));
    case tag::Int64: return Decimal(Int64Of(value));
    case tag::Float: return TextFromString(FormatNumber(FloatOf(value)));
    case tag::Double: return TextFromString(FormatNumber(DoubleOf(value)));
    case tag::Bool: return MakeText(value.low != 0 ? "真" : "假");
    case tag::DateTime: return TextFromString(FormatDateTime(DoubleOf(value)));
    default: return nullptr;
  }
}

ByteSet BytesOfValue(const ArgumentRecord& value) {
  ByteSpan bytes;
  if (RawBytes(value, &bytes)) return MakeByteSet(bytes.data, bytes.length);
  if (IsArrayTag(value.tag)) return nullptr;
  if (value.tag == tag::Text) {
    const auto* text = reinterpret_cast<const char*>(value.low);
    return MakeByteSet(text, TextLength(text));
  }
  // Scalars lie in the record's words in memory order, the low word first.
  uint32_t width = NumericElementWidth(value.tag);
  if (value.tag == tag::Bool || value.tag == tag::CodeAddress) width = 4;
  if (value.tag == tag::DateTime) width = 8;
  return width != 0 ? MakeByteSet(&value.low, width) : nullptr;
}

}  // namespace

void ToHexText(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  char digits[12] = {};
  std::to_chars(digits, digits + 8, static_cast<uint32_t>(args.Int(0)), 16);
  for (char& digit : digits)
    if (digit >= 'a' && digit <= 'f') digit = static_cast<char>(digit - 'a' + 'A');
  ReturnText(result, MakeText(digits));
}

void ToText(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnText(result, args.Present(0) ? TextOfValue(args.Record(0)) : nullptr);
}

void ToInteger(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnInt(result, args.Int(0));
}

void ToNumber(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnDouble(result, args.Double(0));
}

void ToByteSet(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnByteSet(result, args.Present(0) ? BytesOfValue(args.Record(0)) : nullptr);
}

}  // namespace rt
