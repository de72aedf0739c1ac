#include "runtime/forms/system_theme.h"

#include <atomic>

namespace forms {
namespace {

std::atomic<HighContrastQuery> processQuery{SystemHighContrast};

BOOL CALLBACK TellOfColours(HWND child, LPARAM message) {
  SendMessageW(child, static_cast<UINT>(message), 0, 0);
  return TRUE;
}

}  // namespace

bool HighContrastOn(const HIGHCONTRASTW& answer) {
  return (answer.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool SystemHighContrast() {
  HIGHCONTRASTW settings{};
  settings.cbSize = sizeof settings;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
         HighContrastOn(settings);
}

// The face is COLOR_BTNFACE, and a theme pairs it with COLOR_BTNTEXT. COLOR_WINDOWTEXT pairs with
// COLOR_WINDOW, which a theme may colour otherwise than the face.
COLORREF TextColourOnFace(COLORREF chosen) {
  return processQuery.load()() ? GetSysColor(COLOR_BTNTEXT) : chosen;
}

bool TextDecorationShown() { return !processQuery.load()(); }

BoxColours BoxColoursOf(COLORREF text, COLORREF background) {
  constexpr COLORREF kFace = 0xFF000000;
  if (processQuery.load()()) return {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)};
  return {text, background == kFace ? GetSysColor(COLOR_BTNFACE) : background};
}

BackgroundBrush::~BackgroundBrush() {
  if (brush_ != nullptr) DeleteObject(brush_);
}

HBRUSH BackgroundBrush::For(COLORREF colour) {
  if (brush_ != nullptr && colour == colour_) return brush_;
  if (brush_ != nullptr) DeleteObject(brush_);
  brush_ = CreateSolidBrush(colour);
  colour_ = colour;
  return brush_;
}

void FollowThemeChange(HWND window, UINT message) {
  if (message == WM_SYSCOLORCHANGE)
    EnumChildWindows(window, &TellOfColours, static_cast<LPARAM>(message));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

HighContrastQuery ReplaceHighContrastQuery(HighContrastQuery query) {
  return processQuery.exchange(query);
}

}  // namespace forms
