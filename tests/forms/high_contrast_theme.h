#pragma once
// A high-contrast theme for the length of a test. The system cannot be switched to high contrast
// here (Wine refuses SPI_SETHIGHCONTRAST): the theme's colours are set for the session, as a theme
// sets them, and the flag the runtime reads is stood in for. By default the face is black, as in
// the themes most people who need one choose, and the button text white; the window text stays
// black, so only the colour that pairs with the face reads on it.

#include <windows.h>

#include <utility>
#include <vector>

#include "runtime/forms/system_theme.h"

namespace forms::testing {

class HighContrastTheme {
 public:
  static constexpr COLORREF kFace = RGB(0, 0, 0), kText = RGB(255, 255, 255);
  using Colours = std::vector<std::pair<INT, COLORREF>>;  // display element, colour

  explicit HighContrastTheme(const Colours& colours = {{COLOR_BTNFACE, kFace}, {COLOR_BTNTEXT, kText}}) {
    Set(colours);
    previous_ = ReplaceHighContrastQuery(&StandIn);
  }
  ~HighContrastTheme() {
    ReplaceHighContrastQuery(previous_);
    on_ = false;
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) SetSysColors(1, &it->first, &it->second);
  }
  HighContrastTheme(const HighContrastTheme&) = delete;
  HighContrastTheme& operator=(const HighContrastTheme&) = delete;

  // Whether the stood-in flag says high contrast is on.
  void Switch(bool on) { on_ = on; }

  // Colours the session shows from now on; each element gets its own colour back at the end.
  void Set(const Colours& colours) {
    for (const auto& [element, colour] : colours) {
      saved_.emplace_back(element, GetSysColor(element));
      SetSysColors(1, &element, &colour);
    }
  }

 private:
  static bool StandIn() { return on_; }

  static inline bool on_ = false;
  Colours saved_;
  HighContrastQuery previous_ = nullptr;
};

}  // namespace forms::testing
