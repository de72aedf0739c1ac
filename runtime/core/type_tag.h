#pragma once
// Type tags: the 32-bit words that name the type of an argument, a result or an array element.

#include <cstdint>

namespace rt {

using TypeTag = uint32_t;

namespace tag {
inline constexpr TypeTag Byte        = 0x80000101;
inline constexpr TypeTag Short       = 0x80000201;
inline constexpr TypeTag Int         = 0x80000301;
inline constexpr TypeTag Int64       = 0x80000401;
inline constexpr TypeTag Float       = 0x80000501;
inline constexpr TypeTag Double      = 0x80000601;
inline constexpr TypeTag Bool        = 0x80000002;
inline constexpr TypeTag DateTime    = 0x80000003;
inline constexpr TypeTag Text        = 0x80000004;
inline constexpr TypeTag ByteSet     = 0x80000005;
inline constexpr TypeTag CodeAddress = 0x80000006;
inline constexpr TypeTag Unnamed8    = 0x80000008;  // an 8-byte value of no named type

// Set on a tag to mark an array whose elements have that type.
inline constexpr uint32_t ArrayFlag = 0x20000000;
}  // namespace tag

// What a 32-bit word is, told by its top two bits: a value type, or an identifier.
enum class TagClass : uint32_t {
  None = 0,        // the word 0
  BuiltIn = 1,     // top bits 10: a type tag (array flag included)
  WindowLike = 2,  // top bits 01: an identifier such as a WindowId
  UnitLike = 3,    // top bits 00 or 11: an identifier such as a UnitId
};

enum class NumericKind : uint32_t { Byte = 1, Short, Int, Int64, Float, Double };

constexpr TagClass ClassifyTag(uint32_t word) {
  if (word == 0) return TagClass::None;
  switch (word >> 30) {
    case 2: return TagClass::BuiltIn;
    case 1: return TagClass::WindowLike;
    default: return TagClass::UnitLike;
  }
}

constexpr bool IsArrayTag(TypeTag t) { return (t & tag::ArrayFlag) != 0; }
constexpr TypeTag ElementTag(TypeTag t) { return t & ~tag::ArrayFlag; }

// Numeric tags are built-in tags whose low byte is 1; the second byte gives the kind.
constexpr bool IsNumericTag(TypeTag t) {
  t = ElementTag(t);
  return ClassifyTag(t) == TagClass::BuiltIn && (t & 0xFF) == 0x01;
}

constexpr NumericKind NumericKindOf(TypeTag t) {
  return static_cast<NumericKind>((ElementTag(t) >> 8) & 0xFF);
}

// Width of one element of a numeric type; 0 for every other tag.
constexpr uint32_t NumericElementWidth(TypeTag t) {
  constexpr uint32_t widths[] = {0, 1, 2, 4, 8, 4, 8};
  const auto kind = static_cast<uint32_t>(NumericKindOf(t));
  return IsNumericTag(t) && kind >= 1 && kind <= 6 ? widths[kind] : 0;
}

}  // namespace rt
