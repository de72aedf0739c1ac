#include "runtime/forms/font_data.h"

#include <cstring>

#include "runtime/core/gbk.h"
#include "runtime/forms/component.h"

namespace forms {

LOGFONTA FontDescription(std::span<const uint8_t> data) {
  LOGFONTA font{};
  if (data.size() == kFontDataSize)
    std::memcpy(&font, data.data(), kFontDataSize);
  else
    GetObjectA(DefaultGuiFont(), sizeof font, &font);
  return font;
}

HFONT CreateFontFromData(std::span<const uint8_t> data) {
  if (data.size() != kFontDataSize) return nullptr;
  LOGFONTA stored;
  std::memcpy(&stored, data.data(), kFontDataSize);
  stored.lfFaceName[LF_FACESIZE - 1] = '\0';
  // The face name is GBK whatever the system's code page: make the font through the wide call.
  LOGFONTW font;
  std::memcpy(&font, &stored, offsetof(LOGFONTA, lfFaceName));
  const std::wstring face = rt::WideFromGbk(stored.lfFaceName);
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  font.lfFaceName[LF_FACESIZE - 1] = L'\0';
  return CreateFontIndirectW(&font);
}

HFONT ApplyFontData(HWND window, std::span<const uint8_t> data, HFONT previous) {
  HFONT made = CreateFontFromData(data);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(made ? made : DefaultGuiFont()), TRUE);
  if (previous != nullptr) DeleteObject(previous);
  return made;
}

}  // namespace forms
