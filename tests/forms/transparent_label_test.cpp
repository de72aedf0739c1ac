#include "runtime/forms/transparent_label.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "high_contrast_theme.h"
#include "live_component_fixture.h"
#include "runtime/core/memory.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/system_theme.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"

namespace forms::testing {
namespace {

// Own property indices (the property index less 8).
enum : int32_t {
  kCaption = 0,
  kEffect = 1,
  kFont = 2,
  kColour = 3,
  kHorizontalAlignment = 4,
  kWordWrap = 5,
  kVerticalAlignment = 6,
};

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kWhite = RGB(255, 255, 255),
                   kBlack = RGB(0, 0, 0);

bool Near(COLORREF a, COLORREF b) {
  constexpr int kTolerance = 4;
  return std::abs(GetRValue(a) - GetRValue(b)) <= kTolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= kTolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= kTolerance;
}

int Distance(COLORREF a, COLORREF b) {
  const int r = GetRValue(a) - GetRValue(b), g = GetGValue(a) - GetGValue(b),
            b2 = GetBValue(a) - GetBValue(b);
  return r * r + g * g + b2 * b2;
}

// Glyphs are anti-aliased: a pixel counts as drawn in a colour when that colour is the nearest
// of the colours the tests draw with, the background and the theme's text.
bool Classified(COLORREF pixel, COLORREF colour) {
  const COLORREF palette[] = {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT), kRed, kGreen,
                              kWhite, kBlack};
  const int own = Distance(pixel, colour);
  for (COLORREF other : palette)
    if (other != colour && Distance(pixel, other) < own) return false;
  return true;
}

// The pixels of the parent's client area as the screen shows them.
class Shot {
 public:
  explicit Shot(HWND window) {
    GetClientRect(window, &bounds_);
    const int width = bounds_.right, height = bounds_.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const uint32_t*>(bits);
    pixels_.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels_.size(); ++i)  // 0x00RRGGBB to 0x00BBGGRR
      pixels_[i] = RGB(quads[i] >> 16 & 0xFF, quads[i] >> 8 & 0xFF, quads[i] & 0xFF);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
  }

  COLORREF At(int x, int y) const { return pixels_[static_cast<size_t>(y) * bounds_.right + x]; }

  // Pixels drawn in the colour, within the area (the whole client area when none is given).
  int Count(COLORREF colour, const RECT* area = nullptr) const {
    int count = 0;
    ForEach(area, [&](int, int, COLORREF pixel) { count += Classified(pixel, colour); });
    return count;
  }
  int CountOtherThan(COLORREF colour, const RECT* area = nullptr) const {
    int count = 0;
    ForEach(area, [&](int, int, COLORREF pixel) { count += !Near(pixel, colour); });
    return count;
  }
  // The smallest rectangle holding every pixel drawn in the colour; empty when there is none.
  RECT Bounds(COLORREF colour) const {
    RECT box{bounds_.right, bounds_.bottom, 0, 0};
    ForEach(nullptr, [&](int x, int y, COLORREF pixel) {
      if (!Classified(pixel, colour)) return;
      box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
             std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    });
    return box;
  }

 private:
  template <typename Visit>
  void ForEach(const RECT* area, Visit visit) const {
    const RECT r = area != nullptr ? *area : bounds_;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) visit(x, y, At(x, y));
  }

  RECT bounds_;
  std::vector<COLORREF> pixels_;
};

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

struct Settings {
  std::string caption = "HHHH";
  int32_t effect = 0;
  COLORREF colour = kRed;
  int32_t horizontal = 0, vertical = 1, wrap = 0;
  std::vector<uint8_t> font;
};

std::vector<uint8_t> LabelData(const Settings& s, uint32_t version = 1) {
  ArchiveWriter writer;
  writer.U32(version);
  writer.I32(s.effect);
  writer.U32(s.colour);
  writer.I32(s.horizontal);
  writer.I32(s.vertical);
  writer.I32(s.wrap);
  writer.LenBytes(s.font);
  writer.LenText(s.caption);
  return writer.Data();
}

std::vector<uint8_t> FontOfHeight(LONG height) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = FW_BOLD;
  std::vector<uint8_t> bytes(sizeof font);
  std::memcpy(bytes.data(), &font, sizeof font);
  return bytes;
}

class TransparentLabelTest : public LiveComponentTest {
 protected:
  static constexpr RECT kArea = {20, 20, 180, 80};

  Component* Create(const Settings& settings, RECT area = kArea) {
    const std::vector<uint8_t> data = LabelData(settings);
    return label.create(ArgumentsFor(data, area, 0x16016C59));
  }
  void Write(Component* object, int32_t index, uint32_t low, uint32_t high = 0) {
    const RawValue value{low, high};
    EXPECT_EQ(label.write(object, index, &value, nullptr), 0);
  }
  void WriteCaption(Component* object, const std::string& caption) {
    Write(object, kCaption, reinterpret_cast<uint32_t>(caption.c_str()));
  }
  RawValue Read(Component* object, int32_t index) {
    RawValue value{};
    EXPECT_EQ(label.read(object, index, &value), 1);
    return value;
  }
  // What the screen shows once every pending paint has run.
  Shot Screen() {
    PumpFor(0);
    RedrawWindow(parent_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return Shot(parent_);
  }
  // Where the caption shows in its colour, for the settings given.
  RECT TextBounds(const Settings& settings, RECT area = kArea) {
    Component* object = Create(settings, area);
    EXPECT_NE(object, nullptr);
    const RECT bounds = Screen().Bounds(settings.colour);
    if (object != nullptr) DestroyWindow(object->Window());
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return bounds;
  }

  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  TypeEntries label{kTransparentLabelType};
};

TEST_F(TransparentLabelTest, WritesRepaintTheCaptionOverTheParent) {
  Settings settings;
  settings.caption = "";
  Component* object = Create(settings);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(Screen().CountOtherThan(face), 0) << "an empty caption draws nothing";

  WriteCaption(object, "HHHH");
  Shot shot = Screen();
  EXPECT_GT(shot.Count(kRed), 10);
  EXPECT_TRUE(Inside(shot.Bounds(kRed), kArea));
  EXPECT_TRUE(Near(shot.At(kArea.right - 2, kArea.bottom - 2), face)) << "no background";

  Write(object, kColour, kGreen);
  shot = Screen();
  EXPECT_EQ(shot.Count(kRed), 0) << "the old colour is gone";
  EXPECT_GT(shot.Count(kGreen), 10);

  WriteCaption(object, "");
  EXPECT_EQ(Screen().CountOtherThan(face), 0) << "the empty caption erases the text";

  WriteCaption(object, "HHHH");
  const RECT moved = {150, 120, 310, 180};
  MoveWindow(object->Window(), moved.left, moved.top, 160, 60, TRUE);
  shot = Screen();
  EXPECT_EQ(shot.CountOtherThan(face, &kArea), 0) << "nothing left where the label was";
  EXPECT_GT(shot.Count(kGreen), 10);
  EXPECT_TRUE(Inside(shot.Bounds(kGreen), moved));
}

TEST_F(TransparentLabelTest, SiblingsUnderTheLabelAreRedrawnAtOnce) {
  // The parent's repaint covers the windows that share the label's area; they draw themselves
  // again before the write returns, not only when messages are next handled.
  WNDCLASSW black{};
  black.lpfnWndProc = DefWindowProcW;
  black.hInstance = GetModuleHandleW(nullptr);
  black.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  black.lpszClassName = L"FormsTestBlack";
  RegisterClassW(&black);
  const RECT overlap = {100, 30, 140, 70};
  ASSERT_NE(
      CreateWindowExW(0, L"FormsTestBlack", L"", WS_CHILD | WS_VISIBLE, overlap.left, overlap.top,
                      40, 40, parent_, nullptr, GetModuleHandleW(nullptr), nullptr),
      nullptr);
  Settings settings;
  settings.caption = "";
  Component* object = Create(settings);
  ASSERT_NE(object, nullptr);
  ASSERT_EQ(Screen().CountOtherThan(kBlack, &overlap), 0);

  WriteCaption(object, "HHHH");
  EXPECT_EQ(Shot(parent_).CountOtherThan(kBlack, &overlap), 0);
}

TEST_F(TransparentLabelTest, AlignmentPlacesTheText) {
  enum Place { kStart, kMiddle, kEnd };
  struct Case {
    int32_t horizontal, vertical;
    Place across, down;
  };
  const Case cases[] = {
      {0, 1, kStart, kMiddle}, {1, 1, kMiddle, kMiddle}, {2, 1, kEnd, kMiddle},
      {0, 0, kStart, kStart},  {2, 2, kEnd, kEnd},
  };
  auto placed = [](LONG low, LONG high, LONG areaLow, LONG areaHigh) {
    const LONG before = low - areaLow, after = areaHigh - high;
    if (before < after / 3) return kStart;
    if (after < before / 3) return kEnd;
    return kMiddle;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.horizontal << ", " << c.vertical);
    Settings settings;
    settings.horizontal = c.horizontal;
    settings.vertical = c.vertical;
    const RECT text = TextBounds(settings);
    ASSERT_LT(text.left, text.right) << "nothing drawn";
    EXPECT_EQ(placed(text.left, text.right, kArea.left, kArea.right), c.across);
    EXPECT_EQ(placed(text.top, text.bottom, kArea.top, kArea.bottom), c.down);
  }

  Settings wrapped;
  wrapped.caption = "HHHH HHHH HHHH HHHH HHHH HHHH";
  wrapped.wrap = 1;
  const RECT text = TextBounds(wrapped);
  EXPECT_LE(text.right, kArea.right) << "broken into lines within the label";
  EXPECT_GT(text.bottom - text.top, 20) << "more than one line";
}

TEST_F(TransparentLabelTest, EffectsAndFontsChangeTheGlyphs) {
  Settings plain;
  const RECT base = TextBounds(plain);
  ASSERT_LT(base.left, base.right);

  struct Case {
    int32_t effect;
    COLORREF copy;  // kRed: no copy expected
    int shift;      // of the main text
  };
  for (const Case& c : {Case{1, kWhite, 0}, Case{2, kWhite, 1}, Case{3, kBlack, 0}}) {
    SCOPED_TRACE(c.effect);
    Settings settings;
    settings.effect = c.effect;
    Component* object = Create(settings);
    ASSERT_NE(object, nullptr);
    const Shot shot = Screen();
    EXPECT_GT(shot.Count(c.copy), 5);
    const RECT text = shot.Bounds(kRed);
    EXPECT_EQ(text.left - base.left, c.shift);
    EXPECT_EQ(text.top - base.top, c.shift);
    DestroyWindow(object->Window());
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
  EXPECT_EQ(Screen().CountOtherThan(face), 0);

  Settings large;
  large.font = FontOfHeight(-32);
  const RECT big = TextBounds(large);
  EXPECT_GT(big.bottom - big.top, base.bottom - base.top + 8) << "the stored font is used";
  large.font.pop_back();
  const RECT fallback = TextBounds(large);
  EXPECT_EQ(fallback.bottom - fallback.top, base.bottom - base.top) << "59 bytes: default font";
}

// Each effect's copy and the main text, pixel by pixel, over a grey parent: where the plain caption's pixels fall once moved by the main
// text's offset the text shows; where they fall moved by the copy's offset, and the text does not
// cover them, the copy's colour; nowhere else is drawn.
TEST_F(TransparentLabelTest, EffectCopiesLieAtTheirOffsets) {
  constexpr COLORREF kGrey = RGB(128, 128, 128);
  const HBRUSH grey = CreateSolidBrush(kGrey);
  const LONG_PTR brush = SetClassLongPtrW(parent_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(grey));
  // Anti-aliased edges count as the nearest of the colours drawn.
  const auto is = [&](COLORREF pixel, COLORREF colour) {
    for (COLORREF other : {kGrey, kRed, kWhite, kBlack})
      if (other != colour && Distance(pixel, other) < Distance(pixel, colour)) return false;
    return true;
  };
  const auto clear = [&](Component* object) {
    DestroyWindow(object->Window());
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  };
  RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

  // Glyphs without anti-aliasing: a blended edge pixel would pass for a neighbouring colour.
  Settings plain;
  plain.caption = "HEH";
  LOGFONTA crisp{};
  crisp.lfHeight = -16;
  crisp.lfWeight = FW_BOLD;
  crisp.lfQuality = NONANTIALIASED_QUALITY;
  std::strcpy(crisp.lfFaceName, "Tahoma");
  plain.font.assign(reinterpret_cast<const uint8_t*>(&crisp), reinterpret_cast<const uint8_t*>(&crisp + 1));
  std::vector<POINT> glyphs;  // the plain caption's pixels
  Component* object = Create(plain);
  ASSERT_NE(object, nullptr);
  {
    const Shot shot = Screen();
    for (LONG y = kArea.top; y < kArea.bottom; ++y)
      for (LONG x = kArea.left; x < kArea.right; ++x)
        if (is(shot.At(x, y), kRed)) glyphs.push_back({x, y});
  }
  clear(object);
  EXPECT_GT(glyphs.size(), 40u);

  struct Case {
    int32_t effect;
    COLORREF copy;
    POINT copyAt, textAt;
  };
  const Case cases[] = {{1, kWhite, {1, 1}, {0, 0}}, {2, kWhite, {0, 0}, {1, 1}}, {3, kBlack, {2, 2}, {0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "effect " << c.effect);
    Settings settings = plain;
    settings.effect = c.effect;
    object = Create(settings);
    ASSERT_NE(object, nullptr);
    const Shot shot = Screen();
    // Which pixels the text and its copy should cover.
    constexpr LONG kStride = kArea.right + 4;
    std::vector<bool> text(static_cast<size_t>(kStride) * (kArea.bottom + 4)), either = text;
    for (const POINT& p : glyphs) {
      text[static_cast<size_t>(p.y + c.textAt.y) * kStride + p.x + c.textAt.x] = true;
      either[static_cast<size_t>(p.y + c.textAt.y) * kStride + p.x + c.textAt.x] = true;
      either[static_cast<size_t>(p.y + c.copyAt.y) * kStride + p.x + c.copyAt.x] = true;
    }
    int textWrong = 0, copyWrong = 0, copyPixels = 0, stray = 0;
    for (LONG y = kArea.top; y < kArea.bottom + 4; ++y)
      for (LONG x = kArea.left; x < kStride; ++x) {
        const size_t at = static_cast<size_t>(y) * kStride + x;
        const COLORREF pixel = shot.At(x, y);
        if (text[at]) {
          textWrong += !is(pixel, kRed);
        } else if (either[at]) {
          ++copyPixels;
          copyWrong += !is(pixel, c.copy);
        } else {
          stray += !is(pixel, kGrey);
        }
      }
    // A copy one pixel off misses most of its pixels; a few are allowed for the rasteriser.
    const int glyphCount = static_cast<int>(glyphs.size());
    EXPECT_GT(copyPixels, glyphCount / 4);
    EXPECT_LE(textWrong * 20, glyphCount) << textWrong << " of " << glyphCount << " text pixels wrong";
    EXPECT_LE(copyWrong * 10, copyPixels) << copyWrong << " of " << copyPixels << " copy pixels wrong";
    EXPECT_LE(stray * 20, glyphCount) << stray << " pixels drawn outside the text and its copy";
    clear(object);
  }
  SetClassLongPtrW(parent_, GCLP_HBRBACKGROUND, brush);
  DeleteObject(grey);
  RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

TEST_F(TransparentLabelTest, WritesClampAndReadBack) {
  Component* object = Create({});
  ASSERT_NE(object, nullptr);
  struct Case {
    int32_t index, written, stored;
  };
  const Case cases[] = {
      {kEffect, 7, 3},
      {kEffect, -1, 0},
      {kEffect, 2, 2},
      {kHorizontalAlignment, 7, 2},
      {kHorizontalAlignment, -1, 0},
      {kHorizontalAlignment, 1, 1},
      {kVerticalAlignment, 3, 2},
      {kVerticalAlignment, -1, 0},
      {kVerticalAlignment, 0, 0},
      {kWordWrap, 1, 1},
      {kColour, 0x00123456, 0x00123456},
  };
  for (const Case& c : cases) {
    Write(object, c.index, static_cast<uint32_t>(c.written));
    EXPECT_EQ(static_cast<int32_t>(Read(object, c.index).low), c.stored)
        << "index " << c.index + 8 << " written " << c.written;
  }

  WriteCaption(object, "通过！");
  EXPECT_STREQ(reinterpret_cast<const char*>(Read(object, kCaption).low), "通过！");
  wchar_t shown[32] = {};
  GetWindowTextW(object->Window(), shown, 32);
  EXPECT_STREQ(shown, L"通过！") << "the window text is the caption on any code page";
  WriteCaption(object, "");
  EXPECT_EQ(Read(object, kCaption).low, 0u) << "the empty caption reads as null";

  const std::vector<uint8_t> font = FontOfHeight(-20);
  Write(object, kFont, reinterpret_cast<uint32_t>(font.data()), font.size());
  const RawValue read = Read(object, kFont);
  ASSERT_EQ(read.high, font.size());
  EXPECT_TRUE(std::equal(font.begin(), font.end(), reinterpret_cast<const uint8_t*>(read.low)));
  Write(object, kFont, 0, 0);
  EXPECT_EQ(Read(object, kFont).high, 0u);
  RawValue unknown{};
  EXPECT_EQ(label.read(object, 7, &unknown), 0);
}

// In high contrast the text is drawn in the theme's colour whatever colour was written, and the
// colour reads back as written; outside it the written colour shows as before.
TEST_F(TransparentLabelTest, HighContrastDrawsInTheThemesTextColour) {
  for (const bool highContrast : {false, true}) {
    std::unique_ptr<HighContrastTheme> theme;
    if (highContrast) {
      theme = std::make_unique<HighContrastTheme>();
      theme->Switch(true);
    }
    for (const COLORREF written : {kBlack, kGreen, kRed}) {
      SCOPED_TRACE(::testing::Message() << (highContrast ? "high contrast, " : "") << "written "
                                        << std::hex << written);
      Component* object = Create({});
      ASSERT_NE(object, nullptr);
      Write(object, kColour, written);
      EXPECT_EQ(Read(object, kColour).low, written);
      const COLORREF shown = highContrast ? HighContrastTheme::kText : written;
      const Shot shot = Screen();
      EXPECT_GT(shot.Count(shown), 10);
      EXPECT_TRUE(Inside(shot.Bounds(shown), kArea));
      for (const COLORREF other : {kBlack, kGreen, kRed, kWhite}) {
        if (other != shown && other != GetSysColor(COLOR_BTNFACE)) {
          EXPECT_EQ(shot.Count(other), 0) << std::hex << other;
        }
      }
      DestroyWindow(object->Window());
      RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
  }
}

// In high contrast the effect's copy is left out, on a dark theme (where a white copy would
// smear the text) and on a light one (where a black copy would); the text keeps the place the
// effect gives it.
TEST_F(TransparentLabelTest, HighContrastLeavesEffectCopiesOut) {
  struct Case {
    COLORREF face, text;
    int32_t effect;
    int shift;  // of the main text
  };
  const Case cases[] = {{kBlack, kWhite, 1, 0}, {kBlack, kWhite, 2, 1}, {kWhite, kBlack, 3, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "effect " << c.effect);
    HighContrastTheme theme({{COLOR_BTNFACE, c.face}, {COLOR_BTNTEXT, c.text}});
    theme.Switch(true);
    RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // Where the theme's text colour shows.
    auto drawn = [&](int32_t effect) {
      Settings settings;
      settings.effect = effect;
      Component* object = Create(settings);
      EXPECT_NE(object, nullptr);
      const RECT bounds = Screen().Bounds(c.text);
      if (object != nullptr) DestroyWindow(object->Window());
      RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return bounds;
    };
    const RECT plain = drawn(0), text = drawn(c.effect);
    ASSERT_LT(plain.left, plain.right) << "nothing drawn";
    EXPECT_EQ(text.left - plain.left, c.shift);
    EXPECT_EQ(text.top - plain.top, c.shift);
    EXPECT_EQ(text.right - plain.right, c.shift) << "a copy widens the text";
    EXPECT_EQ(text.bottom - plain.bottom, c.shift) << "a copy lengthens the text";
  }
}

TEST_F(TransparentLabelTest, TypeDataVersionsAndCurrentData) {
  Component* object = label.create(ArgumentsFor({}, kArea));
  ASSERT_NE(object, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(Read(object, kCaption).low), "透明标签");
  wchar_t shown[32] = {};
  GetWindowTextW(object->Window(), shown, 32);
  EXPECT_STREQ(shown, L"透明标签");
  EXPECT_TRUE(GetWindowLongW(object->Window(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  Settings defaults;
  defaults.caption = "透明标签";
  defaults.colour = 0;
  EXPECT_EQ(BytesOf(label.currentData(object)), LabelData(defaults));

  Settings stored;
  stored.caption = "请加载tovrex.exe";
  stored.effect = 2;
  stored.colour = kGreen;
  stored.horizontal = 2;
  stored.vertical = 0;
  stored.wrap = 1;
  stored.font = FontOfHeight(-12);
  Component* copy = Create(stored);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(BytesOf(label.currentData(copy)), LabelData(stored));

  const int children = ChildCount();
  const std::vector<uint8_t> newer = LabelData(stored, 2);
  EXPECT_EQ(label.create(ArgumentsFor(newer, kArea)), nullptr);
  const std::vector<uint8_t> full = LabelData(stored);
  for (size_t length : {size_t{2}, size_t{20}, full.size() - 1}) {
    const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_EQ(label.create(ArgumentsFor(cut, kArea)), nullptr) << length;
  }
  EXPECT_EQ(ChildCount(), children) << "no window left behind";
}

// A loaded window follows a theme change: told of it, it repaints the label in the colour the
// theme now asks for, and passes new colours on to its controls.
class LabelOnAWindow : public ::testing::Test {
 protected:
  static constexpr uint32_t kLabelUnit = 0x16016C59, kButtonUnit = 0x16016C58;
  static constexpr uint32_t kLabelType = 0x00020005;

  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    Settings settings;
    settings.colour = kRed;
    UseWindow({MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                        WindowData("主题")),
               MakeUnit(kLabelUnit, kLabelType, "", {20, 20, 160, 40}, unit_flag::Visible,
                        LabelData(settings)),
               MakeUnit(kButtonUnit, kButtonType, "", {20, 120, 80, 32},
                        unit_flag::Visible | unit_flag::TabStop, ButtonData("按钮"))});
    ASSERT_TRUE(LoadWindow(*Forms().Windows()[0], 0, false, nullptr));
    window_ = WindowOf(0);
    label_ = WindowOf(kLabelUnit);
    button_ = WindowOf(kButtonUnit);
    ASSERT_NE(window_, nullptr);
    ASSERT_NE(label_, nullptr);
    ASSERT_NE(button_, nullptr);
  }
  void TearDown() override { ClearWindows(); }

  static HWND WindowOf(uint32_t unitId) {
    auto* live = static_cast<Component*>(Forms().FindLiveObject(kWindowId, unitId));
    return live != nullptr ? live->Window() : nullptr;
  }
  // The label's area on the window, in its client coordinates.
  RECT LabelArea() const {
    RECT area;
    GetWindowRect(label_, &area);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
    return area;
  }
  // Whether the label's area shows its text in the colour, and in none of the others.
  bool Shows(COLORREF colour) const {
    const Shot shot(window_);
    const RECT area = LabelArea();
    for (const COLORREF other : {kRed, HighContrastTheme::kText})
      if (other != colour && shot.Count(other, &area) != 0) return false;
    return shot.Count(colour, &area) > 10;
  }

  HWND window_ = nullptr, label_ = nullptr, button_ = nullptr;
};

std::vector<HWND> toldWindows;
HHOOK colourWatch = nullptr;
LRESULT CALLBACK WatchColours(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_SYSCOLORCHANGE) toldWindows.push_back(message->hwnd);
  return CallNextHookEx(colourWatch, code, wParam, lParam);
}

TEST_F(LabelOnAWindow, AThemeChangeRepaintsInTheNewColour) {
  HighContrastTheme theme;
  ASSERT_TRUE(PumpUntil([&] { return Shows(kRed); }, 5000)) << "the written colour first";
  struct Case {
    UINT message;
    WPARAM wParam;
    bool highContrast;
    COLORREF shown;
  };
  const Case cases[] = {
      {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true, HighContrastTheme::kText},
      {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, false, kRed},
      {WM_SYSCOLORCHANGE, 0, true, HighContrastTheme::kText},
      {WM_SYSCOLORCHANGE, 0, false, kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "message 0x" << std::hex << c.message << ", high contrast "
                                      << c.highContrast);
    theme.Switch(c.highContrast);
    toldWindows.clear();
    colourWatch = SetWindowsHookExW(WH_CALLWNDPROC, &WatchColours, nullptr, GetCurrentThreadId());
    ASSERT_NE(colourWatch, nullptr);
    SendMessageW(window_, c.message, c.wParam, 0);
    UnhookWindowsHookEx(colourWatch);
    EXPECT_TRUE(PumpUntil([&] { return Shows(c.shown); }, 5000));
    const bool buttonTold =
        std::find(toldWindows.begin(), toldWindows.end(), button_) != toldWindows.end();
    EXPECT_EQ(buttonTold, c.message == WM_SYSCOLORCHANGE) << "the controls hear of new colours";
  }
}

TEST(TransparentLabelType, Record) {
  EXPECT_STREQ(kTransparentLabelType.name, "透明标签");
  EXPECT_STREQ(kTransparentLabelType.englishName, "TransLabel");
  EXPECT_EQ(kTransparentLabelType.typeFlags, 0x00012040u);
  ASSERT_EQ(kTransparentLabelType.propertyCount, 15u);
  const uint16_t kinds[] = {kind::Text,   kind::Choice,  kind::Font,  kind::Colour,
                            kind::Choice, kind::Logical, kind::Choice};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(kTransparentLabelType.properties[8 + i].kindAndFlags, kinds[i]);
}

}  // namespace
}  // namespace forms::testing
