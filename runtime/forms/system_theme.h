#pragma once
// The system's colour theme as the runtime's windows follow it: while a high-contrast theme is
// on, text is drawn in the theme's colours rather than the ones the application chose, and a
// window repaints when the theme changes.

#include <windows.h>

namespace forms {

// Whether the system shows a high-contrast theme now (SPI_GETHIGHCONTRAST).
bool SystemHighContrast();

// Whether an answer to SPI_GETHIGHCONTRAST says the theme is on. HCF_AVAILABLE only says that
// the system offers one, as every Windows does.
bool HighContrastOn(const HIGHCONTRASTW& answer);

// The colour for text drawn straight onto a window's face: the one chosen, or, while high
// contrast is on, the theme's button text, the colour it pairs with the face.
COLORREF TextColourOnFace(COLORREF chosen);

// Whether drawing may add decoration of its own to text (a shadow, an outline): not while high
// contrast is on, where the theme gives exactly one colour for text on the face.
bool TextDecorationShown();

// The colours a box (an edit box, a combo box) draws its text and background in: the chosen
// ones, with 0xFF000000 as the background meaning the face; while high contrast is on, the
// theme's window text on its window colour, the pair the system's own boxes draw with.
struct BoxColours {
  COLORREF text, background;
};
BoxColours BoxColoursOf(COLORREF text, COLORREF background);

// A box's background brush. It is made again whenever the colour asked for differs from the one
// it was made in, so a box painted after a theme change or a new colour gets a brush of the
// colour that holds now.
class BackgroundBrush {
 public:
  BackgroundBrush() = default;
  ~BackgroundBrush();
  BackgroundBrush(const BackgroundBrush&) = delete;
  BackgroundBrush& operator=(const BackgroundBrush&) = delete;

  HBRUSH For(COLORREF colour);

 private:
  HBRUSH brush_ = nullptr;
  COLORREF colour_ = 0;
};

// A top-level window's part when the system's colours or settings change: its controls are told
// of new colours (the system tells top-level windows only), and it repaints with everything in it.
void FollowThemeChange(HWND window, UINT message);

// Replaces the process's high-contrast query (a test uses this to stand for a theme the system
// cannot be switched to); returns the one it replaced.
using HighContrastQuery = bool (*)();
HighContrastQuery ReplaceHighContrastQuery(HighContrastQuery query);

}  // namespace forms
