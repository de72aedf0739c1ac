#include "runtime/core/text_width.h"

#include <cstdint>

namespace rt {
namespace {

constexpr uint8_t kSymbolRow = 0xA1;    // GBK row holding the full-width space and tilde
constexpr uint8_t kFullWidthRow = 0xA3;  // GBK row holding full-width "!" to "}"
constexpr uint8_t kFullWidthSpace = 0xA1;
constexpr uint8_t kFullWidthTilde = 0xAB;

bool IsLeadByte(uint8_t b) { return b >= 0x80; }

}  // namespace

std::string FullWidthOf(const char* text) {
  std::string out;
  for (const auto* p = reinterpret_cast<const uint8_t*>(text); *p != 0; ++p) {
    const uint8_t b = *p;
    if (IsLeadByte(b)) {
      if (p[1] == 0) break;
      out += static_cast<char>(b);
      out += static_cast<char>(*++p);
    } else if (b == ' ') {
      out += static_cast<char>(kSymbolRow);
      out += static_cast<char>(kFullWidthSpace);
    } else if (b == '~') {
      out += static_cast<char>(kSymbolRow);
      out += static_cast<char>(kFullWidthTilde);
    } else if (b > 0x20 && b < 0x7F) {
      out += static_cast<char>(kFullWidthRow);
      out += static_cast<char>(b | 0x80);
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

std::string HalfWidthOf(const char* text) {
  std::string out;
  for (const auto* p = reinterpret_cast<const uint8_t*>(text); *p != 0; ++p) {
    const uint8_t b = *p;
    if (!IsLeadByte(b) || p[1] == 0) {
      out += static_cast<char>(b);
      continue;
    }
    const uint8_t second = *++p;
    if (b == kSymbolRow && second == kFullWidthSpace) {
      out += ' ';
    } else if (b == kSymbolRow && second == kFullWidthTilde) {
      out += '~';
    } else if (b == kFullWidthRow && second >= (0x21 | 0x80) && second < (0x7E | 0x80)) {
      out += static_cast<char>(second & 0x7F);
    } else {
      out += static_cast<char>(b);
      out += static_cast<char>(second);
    }
  }
  return out;
}

}  // namespace rt
