#pragma once
// Pictures as components store them: the bytes of an icon, cursor or bitmap file. Every header
// field is checked against the bytes before the system sees them: a picture whose headers do not
// fit its data is dropped, never read past.

#include <windows.h>

#include <cstdint>
#include <span>

namespace forms {

struct Picture {
  HANDLE handle;  // HICON for an icon or a cursor, HBITMAP for a bitmap, null when undecodable
  bool isIcon;
};

// Decodes the data; the caller destroys what it gets.
Picture DecodePicture(std::span<const uint8_t> data);
void DestroyPicture(Picture& picture);

// Whether a bitmap file's headers are ones the decoder takes and describe pixels that lie wholly
// inside the file: what is checked before the system sees a bitmap.
bool BitmapFileFits(std::span<const uint8_t> file);

// The image of an icon file that fits size best, made at that size; null when the data is not
// an icon file.
HICON IconFromFile(std::span<const uint8_t> file, int size);

}  // namespace forms
