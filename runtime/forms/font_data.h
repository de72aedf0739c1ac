#pragma once
// Fonts as components store them: a 60-byte LOGFONTA whose face name is GBK, or nothing for the
// system's default GUI font.

#include <windows.h>

#include <cstdint>
#include <span>

namespace forms {

inline constexpr uint32_t kFontDataSize = sizeof(LOGFONTA);
static_assert(kFontDataSize == 60);

// The font the data describes, or the default GUI font's description when it describes none.
LOGFONTA FontDescription(std::span<const uint8_t> data);
// A new font made from the data; null when the data is not a font description or no font can be
// made from it (the caller then uses the default GUI font).
HFONT CreateFontFromData(std::span<const uint8_t> data);
// Gives a window the font the data describes, or the default GUI font, and deletes previous.
// Returns the font made for it, which the caller owns (null for the default font).
HFONT ApplyFontData(HWND window, std::span<const uint8_t> data, HFONT previous);

}  // namespace forms
