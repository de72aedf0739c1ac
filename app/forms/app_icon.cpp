#include "app/forms/app_icon.h"

#include <array>

#include "runtime/forms/archive.h"

namespace app::stored_form {
namespace {

constexpr int kSize = 32;

// Palette entries the picture uses; the rest of the 256 hold a grey ramp.
enum Colour : uint8_t {
  Clear = 0,  // shown through: the mask marks these pixels
  Outline,
  Bezel,
  BezelLight,
  Stand,
  StandDark,
  Arrow,
  ArrowShadow,
  ScreenTop,  // then one blue per screen row, lightening downwards
};
constexpr int kScreenRows = 16;

struct Rgb {
  uint8_t r, g, b;
};

std::array<Rgb, 256> Palette() {
  std::array<Rgb, 256> palette{};
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(i), uint8_t(i)};
  palette[Clear] = {0, 0, 0};
  palette[Outline] = {0x1F, 0x26, 0x30};
  palette[Bezel] = {0x3A, 0x43, 0x50};
  palette[BezelLight] = {0x5E, 0x6A, 0x7A};
  palette[Stand] = {0x9A, 0xA3, 0xAE};
  palette[StandDark] = {0x62, 0x6B, 0x76};
  palette[Arrow] = {0xFF, 0xFF, 0xFF};
  palette[ArrowShadow] = {0x12, 0x37, 0x6E};
  for (int row = 0; row < kScreenRows; ++row)
    palette[ScreenTop + row] = {uint8_t(0x1C + row * 2), uint8_t(0x4F + row * 4),
                                uint8_t(0x9C + row * 4)};
  return palette;
}

// Rows top to bottom, as drawn.
using Picture = std::array<std::array<uint8_t, kSize>, kSize>;

void Fill(Picture& p, int left, int top, int right, int bottom, uint8_t colour) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) p[y][x] = colour;
}

// The arrow runs along x + y = 28 from its lower-left head at (9, 19) to its upper-right head
// at (22, 6); each head is two strokes of two pixels along the screen's edges.
bool OnArrow(int x, int y) {
  const bool shaft = x >= 9 && x <= 22 && (x + y == 28 || x + y == 29);
  const bool upperHead = (y >= 6 && y <= 7 && x >= 17 && x <= 22) ||
                         (x >= 21 && x <= 22 && y >= 6 && y <= 11);
  const bool lowerHead = (y >= 18 && y <= 19 && x >= 9 && x <= 14) ||
                         (x >= 9 && x <= 10 && y >= 14 && y <= 19);
  return shaft || upperHead || lowerHead;
}

Picture Draw() {
  Picture p{};
  // Monitor: outline, bezel with a lit top edge, rounded by leaving the corners clear.
  Fill(p, 1, 2, 30, 22, Outline);
  Fill(p, 2, 3, 29, 21, Bezel);
  Fill(p, 2, 3, 29, 3, BezelLight);
  constexpr int kCorners[4][2] = {{1, 2}, {30, 2}, {1, 22}, {30, 22}};
  for (const auto& [x, y] : kCorners) p[y][x] = Clear;
  // Screen, x 4-27 and y 5-20, in a vertical gradient.
  for (int row = 0; row < kScreenRows; ++row) Fill(p, 4, 5 + row, 27, 5 + row, ScreenTop + row);
  for (int y = 5; y <= 20; ++y) {
    for (int x = 4; x <= 27; ++x) {
      if (OnArrow(x, y)) p[y][x] = Arrow;
      else if (OnArrow(x - 1, y - 1)) p[y][x] = ArrowShadow;
    }
  }
  // Stand: neck and foot.
  Fill(p, 13, 23, 18, 25, StandDark);
  Fill(p, 14, 23, 17, 25, Stand);
  Fill(p, 8, 26, 23, 27, Stand);
  Fill(p, 9, 28, 22, 28, StandDark);
  return p;
}

}  // namespace

std::vector<uint8_t> AppIcon() {
  constexpr uint32_t kHeaderSize = 40, kPaletteSize = 256 * 4, kPixelsSize = kSize * kSize;
  constexpr uint32_t kMaskSize = kSize * (kSize / 8);  // one bit per pixel, rows of 4 bytes
  constexpr uint32_t kImageSize = kHeaderSize + kPaletteSize + kPixelsSize + kMaskSize;
  constexpr uint32_t kImageOffset = 6 + 16;

  ::forms::ArchiveWriter out;
  // Icon directory: reserved, type 1 (icon), one image.
  out.U16(0);
  out.U16(1);
  out.U16(1);
  // Its entry: 32 x 32, 0 colours = 256, reserved, 1 plane, 8 bits per pixel, size, offset.
  for (uint8_t b : {uint8_t(kSize), uint8_t(kSize), uint8_t(0), uint8_t(0)}) out.Bytes({&b, 1});
  out.U16(1);
  out.U16(8);
  out.U32(kImageSize);
  out.U32(kImageOffset);

  // The image: a bitmap header whose height counts the colour rows and the mask rows.
  for (uint32_t word : {kHeaderSize, uint32_t(kSize), uint32_t(2 * kSize)}) out.U32(word);
  out.U16(1);  // planes
  out.U16(8);  // bits per pixel
  for (uint32_t word : {0u, kPixelsSize + kMaskSize, 0u, 0u, 256u, 0u}) out.U32(word);
  for (const Rgb& c : Palette()) {
    const uint8_t quad[4] = {c.b, c.g, c.r, 0};
    out.Bytes(quad);
  }
  // Bitmaps store the bottom row first.
  const Picture picture = Draw();
  for (int y = kSize - 1; y >= 0; --y) out.Bytes(picture[y]);
  for (int y = kSize - 1; y >= 0; --y) {
    uint32_t bits = 0;  // bit set: the pixel is clear
    for (int x = 0; x < kSize; ++x)
      if (picture[y][x] == Clear) bits |= 0x80000000u >> x;
    for (int shift = 24; shift >= 0; shift -= 8) {
      const uint8_t b = static_cast<uint8_t>(bits >> shift);
      out.Bytes({&b, 1});
    }
  }
  return std::move(out.Data());
}

}  // namespace app::stored_form
