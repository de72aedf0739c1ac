#pragma once
// The system's colour theme as the runtime's windows follow it: while a high-contrast theme is
// on, text is drawn in the theme's colour rather than the one the application chose, and a
// window repaints when the theme changes.

#include <windows.h>

namespace forms {

// Whether the system shows a high-contrast theme now (SPI_GETHIGHCONTRAST).
bool SystemHighContrast();

// The colour for text drawn straight onto a window's face: the one chosen, or, while high
// contrast is on, the theme's button text, the colour it pairs with the face.
COLORREF TextColourOnFace(COLORREF chosen);

// A top-level window's part when the system's colours or settings change: its controls are told
// of new colours (the system tells top-level windows only), and it repaints with everything in it.
void FollowThemeChange(HWND window, UINT message);

// Replaces the process's high-contrast query (a test uses this to stand for a theme the system
// cannot be switched to); returns the one it replaced.
using HighContrastQuery = bool (*)();
HighContrastQuery ReplaceHighContrastQuery(HighContrastQuery query);

}  // namespace forms
