#include "tests/forms/picture_files.h"

#include <span>

#include "runtime/forms/archive.h"

namespace forms::testing {

std::vector<uint8_t> IconOrCursorFile(uint16_t type, uint16_t hotspotX, uint16_t hotspotY) {
  constexpr uint32_t kSide = 32, kMaskBytes = kSide * kSide / 8;
  constexpr uint32_t kImageBytes = 40 + 8 + 2 * kMaskBytes;  // header, two colours, XOR and AND
  ArchiveWriter out;
  out.U16(0);
  out.U16(type);
  out.U16(1);
  out.Bytes(std::vector<uint8_t>{kSide, kSide, 0, 0});
  // An icon entry holds planes and bit count here, a cursor entry its hotspot.
  out.U16(type == 2 ? hotspotX : 1);
  out.U16(type == 2 ? hotspotY : 1);
  out.U32(kImageBytes);
  out.U32(22);
  // The image: a BITMAPINFOHEADER of twice the height (XOR mask over AND mask).
  out.U32(40);
  out.I32(kSide);
  out.I32(2 * kSide);
  out.U16(1);
  out.U16(1);
  for (int i = 0; i < 6; ++i) out.U32(0);
  out.U32(0x000000);
  out.U32(0xFFFFFF);
  for (uint32_t i = 0; i < kMaskBytes; ++i) out.Bytes(std::vector<uint8_t>{static_cast<uint8_t>(i % 3 ? 0xF0 : 0x0F)});
  out.Zeros(kMaskBytes);
  return out.Data();
}

std::vector<uint8_t> BitmapFile(const BitmapShape& shape) {
  const uint32_t fullTable = shape.bitCount <= 8 ? (shape.coloursUsed ? shape.coloursUsed : 1u << shape.bitCount) : 0;
  const uint32_t entries = shape.tableEntries == 0xFFFFFFFF ? fullTable : shape.tableEntries;
  const uint64_t stride = ((int64_t{shape.width} * shape.bitCount + 31) / 32) * 4;
  const uint32_t pixels = shape.pixelBytes != 0xFFFFFFFF
                              ? shape.pixelBytes
                              : static_cast<uint32_t>(stride * (shape.height < 0 ? -int64_t{shape.height} : shape.height));
  const uint32_t offBits = 14 + 40 + shape.maskBytes + 4 * entries;
  ArchiveWriter out;
  out.Bytes(std::vector<uint8_t>{'B', 'M'});
  out.U32(offBits + pixels);
  out.U32(0);
  out.U32(offBits);
  out.U32(shape.headerSize);
  out.I32(shape.width);
  out.I32(shape.height);
  out.U16(1);
  out.U16(shape.bitCount);
  out.U32(shape.compression);
  out.U32(pixels);
  out.U32(2835);
  out.U32(2835);
  out.U32(shape.coloursUsed);
  out.U32(0);
  // Red, green and blue masks of 5-6-5 pixels; fewer bytes when the test damages them.
  const uint8_t masks[12] = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
  out.Bytes(std::span<const uint8_t>(masks, shape.maskBytes < 12 ? shape.maskBytes : 12));
  for (uint32_t i = 0; i < entries; ++i) out.U32(i * 0x010101u & 0xFFFFFF);
  for (uint32_t i = 0; i < pixels; ++i) out.Bytes(std::vector<uint8_t>{static_cast<uint8_t>(i * 7)});
  return out.Data();
}

}  // namespace forms::testing
