#pragma once
// Half-width characters and their GBK full-width forms, both ways. The full-width form of a
// printable ASCII byte b is 0xA3, b | 0x80, except the space (0xA1 0xA1) and "~" (0xA1 0xAB).

#include <string>

namespace rt {

// Every printable ASCII byte becomes its full-width form; double-byte characters, control bytes
// and 0x7F are kept. A lead byte at the very end ends the conversion.
std::string FullWidthOf(const char* text);
// The reverse: every full-width form that FullWidthOf makes turns back into its ASCII byte;
// everything else is kept.
std::string HalfWidthOf(const char* text);

}  // namespace rt
