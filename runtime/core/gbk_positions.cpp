#include "runtime/core/gbk_positions.h"

#include <windows.h>

namespace rt {
namespace {

constexpr UINT kGbk = 936;

bool IsPair(std::wstring_view text, size_t i) {
  return i + 1 < text.size() && IS_HIGH_SURROGATE(text[i]) && IS_LOW_SURROGATE(text[i + 1]);
}

// The UTF-16 units and GBK bytes of the character at i, measured by the same conversion the
// runtime's texts go through.
struct Character {
  size_t units;
  uint32_t bytes;
};
Character CharacterAt(std::wstring_view text, size_t i) {
  if (text[i] < 0x80) return {1, 1};
  const size_t units = IsPair(text, i) ? 2 : 1;
  const int bytes = WideCharToMultiByte(kGbk, 0, text.data() + i, static_cast<int>(units), nullptr, 0,
                                        nullptr, nullptr);
  return {units, bytes > 0 ? static_cast<uint32_t>(bytes) : 1u};
}

}  // namespace

uint32_t GbkByteOffset(std::wstring_view text, size_t unitOffset) {
  uint32_t bytes = 0;
  for (size_t i = 0; i < text.size();) {
    const Character c = CharacterAt(text, i);
    if (i + c.units > unitOffset) break;
    bytes += c.bytes;
    i += c.units;
  }
  return bytes;
}

size_t UnitOffsetOfGbkByte(std::wstring_view text, uint64_t byteOffset) {
  uint64_t bytes = 0;
  size_t i = 0;
  while (i < text.size()) {
    const Character c = CharacterAt(text, i);
    if (bytes + c.bytes > byteOffset) break;
    bytes += c.bytes;
    i += c.units;
  }
  return i;
}

}  // namespace rt
