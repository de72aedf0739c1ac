#pragma once
// A record's two value words read as the scalar they hold: 8-byte values span the low and the
// high word, little-endian, exactly as they lie in memory.

#include <cstdint>
#include <cstring>

#include "runtime/core/records.h"

namespace rt {

inline uint64_t Word64Of(const ArgumentRecord& a) {
  return static_cast<uint64_t>(a.high) << 32 | a.low;
}
inline int64_t Int64Of(const ArgumentRecord& a) { return static_cast<int64_t>(Word64Of(a)); }

inline double DoubleOf(const ArgumentRecord& a) {
  const uint64_t bits = Word64Of(a);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline float FloatOf(const ArgumentRecord& a) {
  float value;
  std::memcpy(&value, &a.low, sizeof value);
  return value;
}

}  // namespace rt
