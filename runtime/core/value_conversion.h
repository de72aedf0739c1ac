#pragma once
// What a value of any type stands for as a 32-bit integer or as a double: the conversions behind
// ToInteger and ToNumber, and behind every numeric command argument.

#include <cstdint>

#include "runtime/core/records.h"

namespace rt {

// Leading white space, an optional sign, then decimal digits up to the first non-digit,
// wrapping modulo 2^32; no digits give 0.
int32_t ReadDecimalInteger(const char* text);
// Leading white space, an optional sign, digits with an optional decimal point and exponent, up
// to the first character that does not fit; nothing readable gives 0. Too large a value gives
// an infinity, too small a one 0.
double ReadDecimalNumber(const char* text);

// Texts are read after their full-width characters are turned to half-width. Short is
// sign-extended, Byte zero-extended, Int64 cut to its low word, Float and Double truncated
// toward zero; Int, Bool and a code address give their word; any other type gives 0.
int32_t IntegerFromValue(const ArgumentRecord& value);
// Number types are widened; Bool gives 0 or 1; a code address its unsigned value; any other
// type 0.
double NumberFromValue(const ArgumentRecord& value);

}  // namespace rt
