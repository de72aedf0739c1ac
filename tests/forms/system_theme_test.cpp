#include "runtime/forms/system_theme.h"

#include <string>

#include "high_contrast_theme.h"
#include "live_component_fixture.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/combo_box.h"
#include "runtime/forms/edit_box.h"

namespace forms::testing {
namespace {

// The system's answer to SPI_GETHIGHCONTRAST as it fills it in: every Windows sets
// HCF_AVAILABLE, and only HCF_HIGHCONTRASTON says the theme is on.
TEST(HighContrastAnswer, OnlyTheOnFlagMeansOn) {
  wchar_t scheme[] = L"High Contrast Black";
  struct Case {
    DWORD flags;
    bool on;
  };
  const Case cases[] = {
      {0, false},
      {HCF_AVAILABLE, false},
      {HCF_AVAILABLE | HCF_HOTKEYACTIVE | HCF_CONFIRMHOTKEY | HCF_HOTKEYSOUND | HCF_INDICATOR |
           HCF_HOTKEYAVAILABLE,
       false},
      {HCF_HIGHCONTRASTON, true},
      {HCF_HIGHCONTRASTON | HCF_AVAILABLE, true},
      {HCF_HIGHCONTRASTON | HCF_AVAILABLE | HCF_HOTKEYACTIVE | HCF_HOTKEYAVAILABLE, true},
  };
  for (const Case& c : cases) {
    HIGHCONTRASTW answer{sizeof answer, c.flags, c.on ? scheme : nullptr};
    EXPECT_EQ(HighContrastOn(answer), c.on) << std::hex << c.flags;
  }

  // The system's own answer, as the runtime asks for it; Wine has no high contrast to show.
  HIGHCONTRASTW system{};
  system.cbSize = sizeof system;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof system, &system, 0));
  EXPECT_EQ(SystemHighContrast(), HighContrastOn(system));
  EXPECT_FALSE(SystemHighContrast()) << std::hex << system.dwFlags;
}

// An edit box on the face and a combo box in colours of its own, as a theme changes under them:
// each paints in the colours of the theme as it is now, with a brush of that colour.
class BoxesInATheme : public LiveComponentTest {
 protected:
  static constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);
  static constexpr COLORREF kFace = 0xFF000000;

  // Text colour and background stored; every other property as the system's defaults.
  static std::vector<uint8_t> EditData(COLORREF text, COLORREF background) {
    ArchiveWriter out;
    out.U32(2);
    // border, text colour, background, hide selection, maximum length, multi-line, scroll bars,
    // alignment, input mode
    for (uint32_t value : {1u, uint32_t{text}, uint32_t{background}, 1u, 0u, 0u, 0u, 0u, 0u}) out.U32(value);
    out.U16(42);
    for (uint32_t value : {0u, 0u, 0u, 100u, 0u, 0u}) out.U32(value);
    out.LenBytes({});
    for (const char* text : {"编辑", "", ""}) out.LenText(text);
    return out.Data();
  }
  static std::vector<uint8_t> ComboData(COLORREF text, COLORREF background) {
    ArchiveWriter out;
    out.U32(3);
    // style (drop-down), maximum length, selection start and length, sorted, extra row height,
    // text colour, background, selection
    for (uint32_t value : {1u, 0u, 0u, 0u, 0u, 1u, uint32_t{text}, uint32_t{background}, 0u}) out.U32(value);
    out.LenBytes({});
    out.LenBytes({});
    out.LenText("项目");
    out.TextList({"项目"});
    out.LenText("");
    out.LenText("");
    out.U32(0);
    return out.Data();
  }

  struct Painted {
    COLORREF text, background, brush;
  };
  // What a control is told to paint with when it asks (directly, or reflected by its window).
  static Painted Asked(HWND to, UINT message, HWND control) {
    HDC dc = GetDC(control);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(to, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH logical{};
    const bool isBrush = brush != nullptr && GetObjectW(brush, sizeof logical, &logical) == sizeof logical;
    const Painted painted = {GetTextColor(dc), GetBkColor(dc), isBrush ? logical.lbColor : CLR_INVALID};
    ReleaseDC(control, dc);
    return painted;
  }
};

TEST_F(BoxesInATheme, PaintInTheColoursOfTheThemeAsItIsNow) {
  TypeEntries editType{kEditBoxType}, comboType{kComboBoxType};
  const std::vector<uint8_t> editData = EditData(kRed, kFace), comboData = ComboData(kBlue, kYellow);
  Component* edit = editType.create(ArgumentsFor(editData, {8, 8, 104, 32}, 0x16016C5A));
  Component* combo = comboType.create(ArgumentsFor(comboData, {8, 48, 104, 72}, 0x16016C5B));
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(combo, nullptr);
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof parts;
  ASSERT_TRUE(GetComboBoxInfo(combo->Window(), &parts));

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  HighContrastTheme theme(HighContrastTheme::Colours{});
  struct Step {
    const char* what;
    bool highContrast;
    HighContrastTheme::Colours colours;
    Painted edit, combo;
  };
  const COLORREF kDarkFace = RGB(64, 96, 128), kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255);
  const Step steps[] = {
      {"as made", false, {}, {kRed, face, face}, {kBlue, kYellow, kYellow}},
      {"another face", false, {{COLOR_BTNFACE, kDarkFace}}, {kRed, kDarkFace, kDarkFace},
       {kBlue, kYellow, kYellow}},
      {"high contrast",
       true,
       {{COLOR_BTNFACE, kBlack}, {COLOR_WINDOW, kBlack}, {COLOR_WINDOWTEXT, kWhite}},
       {kWhite, kBlack, kBlack},
       {kWhite, kBlack, kBlack}},
      {"high contrast off", false, {{COLOR_BTNFACE, face}, {COLOR_WINDOW, kWhite}, {COLOR_WINDOWTEXT, kBlack}},
       {kRed, face, face}, {kBlue, kYellow, kYellow}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    theme.Set(step.colours);
    theme.Switch(step.highContrast);
    PumpFor(0);
    struct Probe {
      const char* what;
      HWND to;
      UINT message;
      HWND control;
      Painted expected;
    };
    const Probe probes[] = {
        {"edit box", edit->Window(), kReflectBase + WM_CTLCOLOREDIT, edit->Window(), step.edit},
        {"combo box's edit part", combo->Window(), WM_CTLCOLOREDIT, parts.hwndItem, step.combo},
        {"combo box's list", combo->Window(), WM_CTLCOLORLISTBOX, parts.hwndList, step.combo},
    };
    for (const Probe& probe : probes) {
      SCOPED_TRACE(probe.what);
      const Painted painted = Asked(probe.to, probe.message, probe.control);
      EXPECT_EQ(painted.text, probe.expected.text) << std::hex << painted.text;
      EXPECT_EQ(painted.background, probe.expected.background) << std::hex << painted.background;
      EXPECT_EQ(painted.brush, probe.expected.brush) << std::hex << painted.brush;
    }
  }
}

}  // namespace
}  // namespace forms::testing
