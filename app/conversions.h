#pragma once
// Hex texts, decimal texts and byte order: how the application turns file offsets and field
// values, kept as texts, into numbers and bytes. Every result is a fresh value the caller frees.

#include <cstdint>
#include <initializer_list>

#include "runtime/core/values.h"

namespace app {

// Reads the variable's hex text (digits of either case, no prefix) as a 32-bit integer, the
// last eight digits deciding. Rewrites the variable to the text with "0x" in front.
int32_t HexTextToInt(rt::Text* variable);

// The signed 32-bit little-endian value of the first four of up to count bytes read at the
// variable's hex offset, as decimal text; "0" for file number 0 or nothing read.
rt::Text ReadLittleEndianValue(int32_t fileNumber, rt::Text* offsetVariable, int32_t count);

// Upper-case hex digits without leading zeros; two's complement for negative values.
rt::Text IntToHexText(int32_t value);

// The variable's decimal number as exactly 2 x count hex digits, least significant byte first
// (1440 with count 2 gives A005); only the low bytes of a larger value are kept.
rt::Text NumberTextToLittleEndianHex(rt::Text* valueVariable, int32_t count);

// One byte per digit pair of the variable's hex text; a lone last digit is a byte of its own.
rt::ByteSet HexTextToByteSet(rt::Text* hexVariable);

// The byte sets one after another; null when all are empty.
rt::ByteSet ConcatByteSets(std::initializer_list<const rt::ByteSetHeader*> parts);

}  // namespace app
