#pragma once
// Where the tool reads and writes in tovrex.exe, and the bytes each resolution of its list puts
// there: what every suite that works the tool checks its files against.

#include <cstdint>
#include <ostream>

namespace e2e {

inline constexpr uint32_t kImageSize = 0x4A1480;
inline constexpr uint32_t kSignatureOffset = 0x3AC220;
inline constexpr uint32_t kWidthOffset = 0x4A1474;
inline constexpr uint32_t kHeightOffset = 0x4A1478;

struct Resolution {
  const wchar_t* item;
  uint8_t fields[4];  // width at kWidthOffset, then height at kHeightOffset
};

// How a failed test names the row.
inline void PrintTo(const Resolution& resolution, std::ostream* out) {
  for (const wchar_t* ch = resolution.item; *ch; ++ch) *out << static_cast<char>(*ch);
}

// In the list's order; the first is preselected.
inline constexpr Resolution kResolutions[] = {
    {L"1440 x 900", {0xA0, 0x05, 0x84, 0x03}},
    {L"1600 x 1200", {0x40, 0x06, 0xB0, 0x04}},
    {L"1680 x 1050", {0x90, 0x06, 0x1A, 0x04}},
    {L"1920 x 1080", {0x80, 0x07, 0x38, 0x04}},
};

}  // namespace e2e
