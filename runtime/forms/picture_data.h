#pragma once
// Pictures as components store them: the bytes of an icon file or of a bitmap file.

#include <windows.h>

#include <cstdint>
#include <span>

namespace forms {

struct Picture {
  HANDLE handle;  // HICON for an icon, HBITMAP for a bitmap, null when undecodable
  bool isIcon;
};

// Decodes the data; the caller destroys what it gets.
Picture DecodePicture(std::span<const uint8_t> data);
void DestroyPicture(Picture& picture);

}  // namespace forms
