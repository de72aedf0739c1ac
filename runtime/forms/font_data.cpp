#include "runtime/forms/font_data.h"

#include <cstdlib>
#include <cstring>

#include "runtime/core/gbk.h"
#include "runtime/core/values.h"
#include "runtime/forms/component.h"
#include "runtime/forms/display_scale.h"

namespace forms {
namespace {

uint64_t Pointer(const void* p) { return reinterpret_cast<uint32_t>(p); }

}  // namespace

bool IsFontField(int32_t selector) {
  return selector >= font_field::Whole && selector <= font_field::FaceName;
}

LOGFONTA FontDescription(std::span<const uint8_t> data, int32_t dpi, HFONT defaultFont) {
  LOGFONTA font{};
  if (data.size() == kFontDataSize) {
    std::memcpy(&font, data.data(), kFontDataSize);
  } else {
    // The system made the default font for the display: its lengths are display pixels.
    GetObjectA(defaultFont, sizeof font, &font);
    font.lfHeight = ToStored(font.lfHeight, dpi);
    font.lfWidth = ToStored(font.lfWidth, dpi);
  }
  return font;
}

LOGFONTA FontDescription(std::span<const uint8_t> data) {
  return FontDescription(data, DisplayDpi(), DefaultGuiFont());
}

std::string FaceNameOf(const LOGFONTA& font) {
  return {font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE)};
}

HFONT CreateFontFromData(std::span<const uint8_t> data, int32_t dpi, HFONT defaultFont) {
  if (data.size() != kFontDataSize) return nullptr;
  LOGFONTA stored;
  std::memcpy(&stored, data.data(), kFontDataSize);
  // The face name is GBK whatever the system's code page: make the font through the wide call.
  LOGFONTW font{};
  std::memcpy(&font, &stored, offsetof(LOGFONTA, lfFaceName));
  LOGFONTW standard{};
  GetObjectW(defaultFont, sizeof standard, &standard);
  font.lfHeight = standard.lfHeight != 0 && stored.lfHeight == ToStored(standard.lfHeight, dpi)
                      ? standard.lfHeight
                      : ToDisplay(stored.lfHeight, dpi);
  font.lfWidth = ToDisplay(stored.lfWidth, dpi);
  const std::wstring face = rt::WideFromGbk(FaceNameOf(stored).c_str());
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

HFONT CreateFontFromData(std::span<const uint8_t> data, int32_t dpi) {
  return CreateFontFromData(data, dpi, DefaultGuiFont());
}

HFONT CreateFontFromData(std::span<const uint8_t> data) { return CreateFontFromData(data, DisplayDpi()); }

HFONT ApplyFontData(HWND window, std::span<const uint8_t> data, HFONT previous) {
  HFONT made = CreateFontFromData(data);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(made ? made : DefaultGuiFont()), TRUE);
  if (previous != nullptr) DeleteObject(previous);
  return made;
}

uint64_t ReadFontField(std::span<const uint8_t> data, int32_t selector) {
  const LOGFONTA font = FontDescription(data);
  switch (selector) {
    case font_field::Rotation: return static_cast<uint32_t>(font.lfEscapement);
    case font_field::Bold: return font.lfWeight >= FW_BOLD ? 1 : 0;
    case font_field::Italic: return font.lfItalic ? 1 : 0;
    case font_field::StrikeOut: return font.lfStrikeOut ? 1 : 0;
    case font_field::Underline: return font.lfUnderline ? 1 : 0;
    case font_field::Points:
      return static_cast<uint32_t>(MulDiv(std::abs(font.lfHeight), 72, kStoredDpi));
    case font_field::FaceName: {
      const std::string face = FaceNameOf(font);
      return Pointer(rt::MakeTextFromBytes(face.data(), static_cast<int32_t>(face.size())));
    }
    case font_field::Whole: return Pointer(rt::MakeByteSet(&font, sizeof font));
    default: return 0;
  }
}

LOGFONTA WithFontField(std::span<const uint8_t> data, int32_t selector, uint32_t value) {
  return WithFontField(data, selector, value, DisplayDpi(), DefaultGuiFont());
}

LOGFONTA WithFontField(std::span<const uint8_t> data, int32_t selector, uint32_t value, int32_t dpi,
                       HFONT defaultFont) {
  LOGFONTA font = FontDescription(data, dpi, defaultFont);
  switch (selector) {
    case font_field::Rotation:
      // Negative angles turn the other way: -900 stays -900, not the remainder of its bit pattern.
      font.lfEscapement = font.lfOrientation = static_cast<int32_t>(value) % 3600;
      break;
    case font_field::Bold: font.lfWeight = value != 0 ? FW_BOLD : FW_NORMAL; break;
    case font_field::Italic: font.lfItalic = value != 0; break;
    case font_field::StrikeOut: font.lfStrikeOut = value != 0; break;
    case font_field::Underline: font.lfUnderline = value != 0; break;
    case font_field::Points:
      font.lfHeight = -MulDiv(static_cast<int32_t>(value), kStoredDpi, 72);
      break;
    case font_field::FaceName: {
      const char* face = reinterpret_cast<const char*>(value);
      const size_t length = face == nullptr ? 0 : strnlen(face, LF_FACESIZE);
      std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
      if (length >= 1 && length < LF_FACESIZE) {
        std::memcpy(font.lfFaceName, face, length);
      } else {
        const LOGFONTA standard = FontDescription({}, dpi, defaultFont);
        std::memcpy(font.lfFaceName, standard.lfFaceName, sizeof font.lfFaceName);
      }
      break;
    }
    case font_field::Whole: {
      const auto* bytes = reinterpret_cast<const rt::ByteSetHeader*>(value);
      if (rt::ByteSetLength(bytes) == sizeof font) std::memcpy(&font, rt::ByteSetData(bytes), sizeof font);
      break;
    }
    default: break;
  }
  return font;
}

}  // namespace forms
