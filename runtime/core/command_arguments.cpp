#include "runtime/core/command_arguments.h"

#include <cstring>

#include "runtime/core/value_conversion.h"

namespace rt {

int32_t Arguments::Int(int32_t i, int32_t fallback) const {
  return Present(i) ? IntegerFromValue(records_[i]) : fallback;
}

double Arguments::Double(int32_t i, double fallback) const {
  return Present(i) ? NumberFromValue(records_[i]) : fallback;
}

const char* Arguments::Text(int32_t i) const {
  if (!Present(i) || records_[i].tag != tag::Text) return "";
  const auto* text = reinterpret_cast<const char*>(records_[i].low);
  return text ? text : "";
}

ByteSpan Arguments::Bytes(int32_t i) const {
  if (!Present(i)) return {nullptr, 0};
  const ArgumentRecord& a = records_[i];
  if (a.tag != tag::ByteSet && a.tag != (tag::Byte | tag::ArrayFlag)) return {nullptr, 0};
  const ElementSpan span = ElementCount(reinterpret_cast<const void*>(a.low));
  return {span.first, span.count};
}

void ReturnInt(ResultRecord* result, int32_t value) {
  *result = {static_cast<uint32_t>(value), 0, tag::Int};
}

void ReturnBool(ResultRecord* result, bool value) { *result = {value ? 1u : 0u, 0, tag::Bool}; }

void ReturnDouble(ResultRecord* result, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  *result = {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), tag::Double};
}

void ReturnText(ResultRecord* result, rt::Text text) {
  *result = {reinterpret_cast<uint32_t>(text), 0, tag::Text};
}

void ReturnByteSet(ResultRecord* result, ByteSet bytes) {
  *result = {reinterpret_cast<uint32_t>(bytes), 0, tag::ByteSet};
}

void ReturnTextCopy(ResultRecord* result, std::string_view bytes) {
  ReturnText(result, MakeTextFromBytes(bytes.data(), static_cast<int32_t>(bytes.size())));
}

}  // namespace rt
