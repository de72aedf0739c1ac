#pragma once
// The values that application code and the runtime hand to each other: GBK texts, byte sets and
// arrays, each one heap block owned by the variable or element that holds it (null = empty).

#include <cstdint>
#include <initializer_list>

#include "runtime/core/type_tag.h"

namespace rt {

// A zero-terminated GBK text; null is the empty text.
using Text = char*;

// A byte set is one block: this header, then length bytes. It is laid out exactly as a
// one-dimensional array of bytes.
struct ByteSetHeader {
  uint32_t dimensions;  // always 1
  uint32_t length;
};
static_assert(sizeof(ByteSetHeader) == 8);
using ByteSet = ByteSetHeader*;

inline uint8_t* ByteSetData(ByteSet b) { return reinterpret_cast<uint8_t*>(b + 1); }
inline const uint8_t* ByteSetData(const ByteSetHeader* b) {
  return reinterpret_cast<const uint8_t*>(b + 1);
}
inline uint32_t ByteSetLength(const ByteSetHeader* b) { return b ? b->length : 0; }

// Null or empty src gives null.
Text MakeText(const char* src);
// n bytes and a terminator (a zero among them ends the text early); n below 1 gives null.
Text MakeTextFromBytes(const void* src, int32_t n);
// The header {1, n} and n bytes; n = 0 gives null.
ByteSet MakeByteSet(const void* src, uint32_t n);

uint32_t TextLength(const char* text);
// Always a block, even when every part is empty.
Text ConcatTexts(std::initializer_list<const char*> parts);
// -1, 0 or 1; bytes compare unsigned; null equals the empty text.
int32_t CompareTexts(const char* a, const char* b);

// An array: a dimension count d, d dimension sizes, then the elements.
struct ElementSpan {
  uint32_t count;
  uint8_t* first;
};
ElementSpan ElementCount(const void* array);

// For an array of texts or byte sets each element is freed first, then the block.
void FreeArray(TypeTag tag, void* array);
// A constant array is copied to the heap so that it can be changed in place.
void MakeArrayWritable(uint32_t elementWidth, void** variable);

// 1-based element access with the runtime's bounds checks: below 1 is runtime error 4, beyond
// the element count runtime error 1.
uint8_t* ElementAt(const void* array, int32_t index, uint32_t elementWidth);
inline uint8_t ByteAt(const ByteSetHeader* bytes, int32_t index) {
  return *ElementAt(bytes, index, 1);
}

// Toward zero; NaN and values outside the 64-bit range give the integer indefinite value.
int64_t TruncateToInt64(double x);

}  // namespace rt
