#include "runtime/forms/picture_data.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/forms/archive.h"

namespace forms {
namespace {

constexpr uint16_t kIconFile = 1, kCursorFile = 2;
constexpr uint32_t kFileHeaderSize = 14;  // BITMAPFILEHEADER
constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER

uint32_t Word32(std::span<const uint8_t> bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}
uint16_t Word16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

int64_t Stride(int64_t width, uint32_t bitCount) { return (width * bitCount + 31) / 32 * 4; }

// Whether rows of stride bytes each fit in room bytes. A header's width and height can make
// stride times rows pass 2^63, so the product is never formed.
bool RowsFit(int64_t stride, int64_t rows, int64_t room) {
  return stride > 0 && rows >= 0 && room >= 0 && rows <= room / stride;
}

bool KnownBitCount(uint32_t bitCount) {
  return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
         bitCount == 32;
}

// What a device-independent bitmap's info header says follows it. Only uncompressed and
// bit-field layouts are taken: their sizes follow from the header alone.
struct DibLayout {
  uint32_t headerSize;
  int64_t width, height;  // height as stored: negative for top-down rows
  uint32_t bitCount;
  int64_t tableBytes;  // colour table, and the three bit-field masks after a plain info header
  bool valid;
};

DibLayout MeasureDib(std::span<const uint8_t> dib) {
  DibLayout layout = {};
  if (dib.size() < kInfoHeaderSize) return layout;
  layout.headerSize = Word32(dib, 0);
  layout.width = static_cast<int32_t>(Word32(dib, 4));
  layout.height = static_cast<int32_t>(Word32(dib, 8));
  layout.bitCount = Word16(dib, 14);
  const uint32_t compression = Word32(dib, 16);
  const uint32_t coloursUsed = Word32(dib, 32);
  // The header's own size, from below and from above.
  if (layout.headerSize < kInfoHeaderSize || layout.headerSize > dib.size()) return layout;
  if (Word16(dib, 12) != 1 || !KnownBitCount(layout.bitCount) || layout.width <= 0 || layout.height == 0)
    return layout;
  const uint32_t fullTable = layout.bitCount <= 8 ? 1u << layout.bitCount : 256;
  if (coloursUsed > fullTable) return layout;
  uint32_t entries = coloursUsed;
  if (entries == 0 && layout.bitCount <= 8) entries = fullTable;
  layout.tableBytes = int64_t{entries} * 4;
  if (compression == BI_BITFIELDS) {
    if (layout.bitCount != 16 && layout.bitCount != 32) return layout;
    if (layout.headerSize == kInfoHeaderSize) layout.tableBytes += 12;
  } else if (compression != BI_RGB) {
    return layout;
  }
  layout.valid = true;
  return layout;
}

// One image of an icon or cursor file, as CreateIconFromResourceEx takes it: a cursor's image is
// preceded by its hotspot, which the file keeps in the directory entry.
HICON ImageFromEntry(std::span<const uint8_t> file, std::span<const uint8_t> entry, uint16_t type, int size) {
  const uint32_t length = Word32(entry, 8), offset = Word32(entry, 12);
  if (length == 0 || offset > file.size() || length > file.size() - offset) return nullptr;
  const std::span<const uint8_t> image = file.subspan(offset, length);
  static constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const bool png = image.size() >= sizeof kPngSignature && std::memcmp(image.data(), kPngSignature, sizeof kPngSignature) == 0;
  if (!png) {
    // The colour image over the mask, each half of the stored height.
    const DibLayout dib = MeasureDib(image);
    if (!dib.valid || dib.height <= 0 || dib.height % 2 != 0) return nullptr;
    const int64_t rows = dib.height / 2;
    const int64_t room = static_cast<int64_t>(image.size()) - dib.headerSize - dib.tableBytes;
    if (!RowsFit(Stride(dib.width, dib.bitCount) + Stride(dib.width, 1), rows, room)) return nullptr;
  }
  std::vector<uint8_t> resource;
  if (type == kCursorFile) {
    resource.resize(4);
    std::memcpy(resource.data(), entry.data() + 4, 4);  // hotspot x and y, two words
  }
  resource.insert(resource.end(), image.begin(), image.end());
  return CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), type == kIconFile,
                                  0x00030000, size, size, LR_DEFAULTCOLOR);
}

// The image of an icon or cursor file that fits size best (size 0: the first image, at its own
// size); null when the data is not a file of that type.
HICON ImageFromFile(std::span<const uint8_t> file, uint16_t type, int size) {
  ArchiveReader in(file);
  uint16_t reserved = 0, storedType = 0, count = 0;
  if (!in.U16(reserved) || !in.U16(storedType) || !in.U16(count) || reserved != 0 ||
      storedType != type || count == 0)
    return nullptr;
  std::span<const uint8_t> best;
  int bestDistance = INT32_MAX;
  for (uint16_t i = 0; i < count; ++i) {
    std::span<const uint8_t> entry;
    if (!in.Take(16, entry)) return nullptr;
    const uint32_t length = Word32(entry, 8), offset = Word32(entry, 12);
    if (offset > file.size() || length > file.size() - offset || length == 0) continue;
    const int width = entry[0] == 0 ? 256 : entry[0];
    const int distance = size == 0 ? (best.empty() ? 0 : INT32_MAX) : std::abs(width - size);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = entry;
    }
  }
  return best.empty() ? nullptr : ImageFromEntry(file, best, type, size);
}

HBITMAP BitmapFromFile(std::span<const uint8_t> file) {
  if (!BitmapFileFits(file)) return nullptr;
  const auto* header = reinterpret_cast<const BITMAPINFO*>(file.data() + kFileHeaderSize);
  const uint32_t pixelsAt = Word32(file, 10);
  const HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &header->bmiHeader, CBM_INIT, file.data() + pixelsAt, header,
                                  DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

bool BitmapFileFits(std::span<const uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') return false;
  const uint32_t pixelsAt = Word32(file, 10);
  const DibLayout dib = MeasureDib(file.subspan(kFileHeaderSize));
  if (!dib.valid) return false;
  // Header and colour table end before the pixels begin, and every row lies inside the file.
  if (kFileHeaderSize + dib.headerSize + dib.tableBytes > int64_t{pixelsAt} || pixelsAt > file.size())
    return false;
  return RowsFit(Stride(dib.width, dib.bitCount), std::abs(dib.height),
                 static_cast<int64_t>(file.size() - pixelsAt));
}

HICON IconFromFile(std::span<const uint8_t> file, int size) { return ImageFromFile(file, kIconFile, size); }

Picture DecodePicture(std::span<const uint8_t> data) {
  if (HICON icon = ImageFromFile(data, kIconFile, 0)) return {icon, true};
  if (HICON cursor = ImageFromFile(data, kCursorFile, 0)) return {cursor, true};
  return {BitmapFromFile(data), false};
}

void DestroyPicture(Picture& picture) {
  if (picture.handle == nullptr) return;
  if (picture.isIcon) DestroyIcon(static_cast<HICON>(picture.handle));
  else DeleteObject(picture.handle);
  picture.handle = nullptr;
}

}  // namespace forms
