#pragma once
// Positions in a text as the window system holds it (UTF-16 characters) and as the runtime counts
// them (bytes of the text's GBK form). A character is as many bytes as the runtime's conversion
// (gbk.h) makes of it: one or two for a character of the code page, the default character '?'
// for one it cannot spell (under Wine one for each UTF-16 unit, so a character outside the BMP
// is two bytes). A position never falls between the two units of a surrogate pair.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rt {

// The byte position of a character position; one inside a surrogate pair counts from the pair's
// start.
uint32_t GbkByteOffset(std::wstring_view text, size_t unitOffset);

// The character position of a byte position. A byte position inside a double-byte character
// goes to the start of that character (rounded down); one past the text to the text's end. So
// also: how many UTF-16 units of the text's leading whole characters fit in that many bytes.
size_t UnitOffsetOfGbkByte(std::wstring_view text, uint64_t byteOffset);

// Bytes of the text's GBK form.
inline uint32_t GbkLength(std::wstring_view text) { return GbkByteOffset(text, text.size()); }

}  // namespace rt
