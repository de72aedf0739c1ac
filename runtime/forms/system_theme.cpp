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

bool SystemHighContrast() {
  HIGHCONTRASTW settings{};
  settings.cbSize = sizeof settings;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
         (settings.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The face is COLOR_BTNFACE, and a theme pairs it with COLOR_BTNTEXT. COLOR_WINDOWTEXT pairs with
// COLOR_WINDOW, which a theme may colour otherwise than the face.
COLORREF TextColourOnFace(COLORREF chosen) {
  return processQuery.load()() ? GetSysColor(COLOR_BTNTEXT) : chosen;
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
