#pragma once
// Fonts as components store them: a 60-byte LOGFONTA whose face name is GBK, or nothing for the
// system's default GUI font; and the sub-fields by which a font-kind property is read and written.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

namespace forms {

inline constexpr uint32_t kFontDataSize = sizeof(LOGFONTA);
static_assert(kFontDataSize == 60);

// The sub-field selector of the property services.
namespace font_field {
inline constexpr int32_t Whole = -1;
inline constexpr int32_t Rotation = 0;  // tenths of a degree
inline constexpr int32_t Bold = 1;
inline constexpr int32_t Italic = 2;
inline constexpr int32_t StrikeOut = 3;
inline constexpr int32_t Underline = 4;
inline constexpr int32_t Points = 5;
inline constexpr int32_t FaceName = 6;
}  // namespace font_field

// Whether a selector names a sub-field (or the whole font).
bool IsFontField(int32_t selector);

// The font the data describes, in stored units: the lengths of a font record are pixels of a
// 96-DPI display, as the form's rectangles are. Without data, the default GUI font's description
// brought to the same units.
LOGFONTA FontDescription(std::span<const uint8_t> data);
// The same with the default font given, as made for a display at dpi.
LOGFONTA FontDescription(std::span<const uint8_t> data, int32_t dpi, HFONT defaultFont);
// The face name's GBK bytes: up to the first zero, or the whole field when it holds none.
std::string FaceNameOf(const LOGFONTA& font);
// A new font made from the data for a display at dpi, its lengths grown with the display as the
// controls are; null when the data is not a font description or no font can be made from it (the
// caller then uses the default GUI font, which the system already scales). A height that is the
// default font's, in stored units, is made at the default font's own height: not every pixel
// height of a scaled display has a stored length of its own, and a font taken from the default
// one (one sub-field written to a control without a font) keeps its size.
HFONT CreateFontFromData(std::span<const uint8_t> data, int32_t dpi);
// The same with the default font given, as made for a display at dpi.
HFONT CreateFontFromData(std::span<const uint8_t> data, int32_t dpi, HFONT defaultFont);
// The same at the system's DPI.
HFONT CreateFontFromData(std::span<const uint8_t> data);
// Gives a window the font the data describes, or the default GUI font, and deletes previous.
// Returns the font made for it, which the caller owns (null for the default font).
HFONT ApplyFontData(HWND window, std::span<const uint8_t> data, HFONT previous);

// One sub-field of the font the data describes, as a property read hands it out: a number, or a
// new text (the face name) or byte set (the whole description) in the low word. The size in
// points is counted against the stored 96 DPI, so it reads the same at every display scale.
// The selector must be a font field.
uint64_t ReadFontField(std::span<const uint8_t> data, int32_t selector);
// The font the data describes with one sub-field written. Rotation is reduced modulo 3600 keeping
// its sign; a face name of 0 or more than 31 bytes gives the default face; a size in points is
// stored as a 96-DPI height. Any other selector leaves the font as it is.
LOGFONTA WithFontField(std::span<const uint8_t> data, int32_t selector, uint32_t value);
// The same with the default font given, as made for a display at dpi.
LOGFONTA WithFontField(std::span<const uint8_t> data, int32_t selector, uint32_t value, int32_t dpi,
                       HFONT defaultFont);

}  // namespace forms
