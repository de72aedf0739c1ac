#pragma once
// Small picture files made in memory: an icon or cursor file with one 32 x 32 monochrome image,
// and a bitmap file whose header fields a test may damage.

#include <cstdint>
#include <vector>

namespace forms::testing {

// type 1: an icon file; type 2: a cursor file whose entry carries the hotspot.
std::vector<uint8_t> IconOrCursorFile(uint16_t type, uint16_t hotspotX = 0, uint16_t hotspotY = 0);

// A bitmap file of width x height pixels at bitCount bits, with a full colour table for 8 bits
// and less; the fields are the ones a test may want to damage.
struct BitmapShape {
  int32_t width = 8, height = 8;
  uint16_t bitCount = 24;
  uint32_t compression = 0;  // BI_RGB
  uint32_t headerSize = 40;  // biSize as stored
  uint32_t coloursUsed = 0;  // biClrUsed as stored
  uint32_t tableEntries = 0xFFFFFFFF;  // entries actually written; all by default
  uint32_t maskBytes = 0;  // bit-field masks actually written after the header
  uint32_t pixelBytes = 0xFFFFFFFF;  // pixel bytes actually written; all the header says by default
};
std::vector<uint8_t> BitmapFile(const BitmapShape& shape);

}  // namespace forms::testing
