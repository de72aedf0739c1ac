#include "runtime/core/values.h"

#include <cmath>
#include <cstring>

#include "runtime/core/error_reporter.h"
#include "runtime/core/memory.h"

namespace rt {

Text MakeText(const char* src) {
  if (src == nullptr || *src == '\0') return nullptr;
  return MakeTextFromBytes(src, static_cast<int32_t>(std::strlen(src)));
}

Text MakeTextFromBytes(const void* src, int32_t n) {
  if (n < 1) return nullptr;
  auto* text = static_cast<char*>(Allocate(static_cast<uint32_t>(n) + 1));
  std::memcpy(text, src, static_cast<uint32_t>(n));
  text[n] = '\0';
  return text;
}

ByteSet MakeByteSet(const void* src, uint32_t n) {
  if (n == 0) return nullptr;
  auto* bytes = static_cast<ByteSet>(AllocateSized(uint64_t{n} + sizeof(ByteSetHeader)));
  *bytes = {1, n};
  std::memcpy(ByteSetData(bytes), src, n);
  return bytes;
}

uint32_t TextLength(const char* text) {
  return text ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

Text ConcatTexts(std::initializer_list<const char*> parts) {
  uint64_t total = 0;
  for (const char* part : parts) total += TextLength(part);
  auto* text = static_cast<char*>(AllocateSized(total + 1));
  char* end = text;
  for (const char* part : parts) {
    const uint32_t n = TextLength(part);
    std::memcpy(end, part, n);
    end += n;
  }
  *end = '\0';
  return text;
}

int32_t CompareTexts(const char* a, const char* b) {
  if (a == nullptr) return (b == nullptr || *b == '\0') ? 0 : -1;
  if (b == nullptr) return *a == '\0' ? 0 : 1;
  const int order = std::strcmp(a, b);  // compares as unsigned char
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

ElementSpan ElementCount(const void* array) {
  if (array == nullptr) return {0, nullptr};
  const auto* words = static_cast<const uint32_t*>(array);
  const uint32_t dimensions = words[0];
  uint32_t count = dimensions == 0 ? 0 : 1;
  for (uint32_t i = 1; i <= dimensions; ++i) count *= words[i];
  auto* first = reinterpret_cast<uint8_t*>(const_cast<uint32_t*>(words + 1 + dimensions));
  return {count, first};
}

void FreeArray(TypeTag tag, void* array) {
  if (array == nullptr) return;
  const TypeTag element = ElementTag(tag);
  if (element == tag::Text || element == tag::ByteSet) {
    const ElementSpan span = ElementCount(array);
    auto* const* blocks = reinterpret_cast<void* const*>(span.first);
    for (uint32_t i = 0; i < span.count; ++i) Free(blocks[i]);
  }
  Free(array);
}

void MakeArrayWritable(uint32_t elementWidth, void** variable) {
  if (!InConstantRegion(*variable)) return;
  const uint32_t dimensions = *static_cast<const uint32_t*>(*variable);
  const uint64_t size = 4 + 4 * uint64_t{dimensions} +
                        uint64_t{elementWidth} * ElementCount(*variable).count;
  void* copy = AllocateSized(size);
  std::memcpy(copy, *variable, static_cast<size_t>(size));
  *variable = copy;
}

uint8_t* ElementAt(const void* array, int32_t index, uint32_t elementWidth) {
  const ElementSpan span = ElementCount(array);
  const int64_t offset = static_cast<int64_t>(index) - 1;
  if (offset < 0) ReportError(4);
  if (offset >= span.count) ReportError(1);
  return span.first + offset * elementWidth;
}

int64_t TruncateToInt64(double x) {
  constexpr double limit = 9223372036854775808.0;  // 2^63
  if (!(x >= -limit && x < limit)) return INT64_MIN;
  return static_cast<int64_t>(x);
}

}  // namespace rt
