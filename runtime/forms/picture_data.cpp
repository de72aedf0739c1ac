#include "runtime/forms/picture_data.h"

#include "runtime/forms/archive.h"

namespace forms {
namespace {

// The first image of an icon or cursor file.
HICON IconFromFile(std::span<const uint8_t> file, bool cursor) {
  ArchiveReader in(file);
  uint16_t reserved = 0, type = 0, count = 0;
  std::span<const uint8_t> entry;
  uint32_t length = 0, offset = 0;
  if (!in.U16(reserved) || !in.U16(type) || !in.U16(count) || reserved != 0 || count == 0 ||
      !in.Skip(8) || !in.U32(length) || !in.U32(offset))
    return nullptr;
  if (type != (cursor ? 2 : 1) || offset > file.size() || length == 0 || length > file.size() - offset)
    return nullptr;
  return CreateIconFromResourceEx(const_cast<uint8_t*>(file.data() + offset), length, !cursor,
                                  0x00030000, 0, 0, LR_DEFAULTCOLOR);
}

HBITMAP BitmapFromFile(std::span<const uint8_t> file) {
  if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || file[0] != 'B' || file[1] != 'M')
    return nullptr;
  BITMAPFILEHEADER header;
  memcpy(&header, file.data(), sizeof header);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + sizeof header);
  if (header.bfOffBits >= file.size() || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return nullptr;
  const int64_t stride = ((int64_t{info->bmiHeader.biWidth} * info->bmiHeader.biBitCount + 31) / 32) * 4;
  const int64_t rows = std::abs(int64_t{info->bmiHeader.biHeight});
  if (info->bmiHeader.biCompression == BI_RGB &&
      (stride <= 0 || stride * rows > static_cast<int64_t>(file.size() - header.bfOffBits)))
    return nullptr;
  const HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file.data() + header.bfOffBits,
                                  info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

}  // namespace

Picture DecodePicture(std::span<const uint8_t> data) {
  if (HICON icon = IconFromFile(data, false)) return {icon, true};
  if (HICON cursor = IconFromFile(data, true)) return {cursor, true};
  return {BitmapFromFile(data), false};
}

void DestroyPicture(Picture& picture) {
  if (picture.handle == nullptr) return;
  if (picture.isIcon) DestroyIcon(static_cast<HICON>(picture.handle));
  else DeleteObject(picture.handle);
  picture.handle = nullptr;
}

}  // namespace forms
