// Font-kind properties read and written by sub-field, on a live button's font (13).

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "runtime/forms/component.h"
#include "runtime/forms/display_scale.h"
#include "runtime/forms/font_data.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"

namespace forms::testing {
namespace {

constexpr uint32_t kButton = 0x16016C58;
constexpr int32_t kFont = 13;

std::vector<uint8_t> FontData(const char* face, size_t faceBytes, LONG escapement = 0, LONG height = -16) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = FW_NORMAL;
  font.lfEscapement = font.lfOrientation = escapement;
  std::memcpy(font.lfFaceName, face, faceBytes);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&font);
  return {bytes, bytes + sizeof font};
}

class FontPropertyTest : public ::testing::Test {
 protected:
  void Load(const std::vector<uint8_t>& font) {
    rt::UseProcessHeap();
    InstallRuntime();
    std::vector<Unit> units;
    units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                             WindowData("字体")));
    units.push_back(MakeUnit(kButton, kButtonType, "按钮2", {10, 10, 120, 40}, 5,
                             ButtonData("字体", {}, font)));
    ASSERT_TRUE(LoadWindow(UseWindow(std::move(units)), 0, false, nullptr));
  }
  void TearDown() override { ClearWindows(); }

  static int32_t ReadField(int32_t selector) {
    return static_cast<int32_t>(Forms().ReadProperty(kWindowId, kButton, kFont, selector));
  }
  static std::string ReadFace() {
    char* text = reinterpret_cast<char*>(static_cast<uint32_t>(Forms().ReadProperty(kWindowId, kButton, kFont, 6)));
    std::string copy = text != nullptr ? text : "";
    rt::Free(text);
    return copy;
  }
  static void WriteField(int32_t selector, uint32_t value) {
    Forms().WriteProperty(kWindowId, kButton, kFont, selector, value, 0);
  }
  // What the live button was given.
  static LOGFONTW LiveFont() {
    const HWND button = static_cast<Component*>(Forms().FindLiveObject(kWindowId, kButton))->Window();
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
  }
};

TEST_F(FontPropertyTest, RotationIsReducedKeepingItsSign) {
  Load(FontData("Tahoma", 6));
  const struct {
    int32_t written, stored;
  } cases[] = {{900, 900}, {-900, -900}, {3600, 0}, {4500, 900}, {-4500, -900}, {-3599, -3599}, {0, 0}};
  for (const auto& c : cases) {
    WriteField(0, static_cast<uint32_t>(c.written));
    EXPECT_EQ(ReadField(0), c.stored) << "written " << c.written;
    EXPECT_EQ(LiveFont().lfEscapement, c.stored) << "written " << c.written;
  }
}

TEST_F(FontPropertyTest, AFaceNameFillingItsWholeFieldReadsNoFurther) {
  const std::string full(32, 'A');
  Load(FontData(full.c_str(), 32));
  EXPECT_EQ(ReadFace(), full);
  // The other sub-fields of the same font still read as stored.
  EXPECT_EQ(ReadField(1), 0);
  EXPECT_EQ(ReadField(0), 0);
}

TEST_F(FontPropertyTest, FaceNameWritesTakeOneToThirtyOneBytes) {
  Load(FontData("Tahoma", 6));
  LOGFONTA standard{};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof standard, &standard);
  const std::string longest(31, 'B');
  const std::string tooLong(32, 'C');
  const struct {
    const char* written;
    std::string stored;
  } cases[] = {{"Courier New", "Courier New"}, {longest.c_str(), longest},
               {tooLong.c_str(), standard.lfFaceName}, {"", standard.lfFaceName},
               {nullptr, standard.lfFaceName}};
  for (const auto& c : cases) {
    WriteField(6, reinterpret_cast<uint32_t>(c.written));
    EXPECT_EQ(ReadFace(), c.stored) << (c.written ? c.written : "(null)");
  }
}

TEST_F(FontPropertyTest, FlagsAndSizeChangeOnlyTheirOwnField) {
  Load(FontData("Tahoma", 6, 450));
  WriteField(1, 1);
  WriteField(2, 5);
  WriteField(4, 1);
  WriteField(5, 24);
  EXPECT_EQ(ReadField(1), 1);
  EXPECT_EQ(ReadField(2), 1);
  EXPECT_EQ(ReadField(3), 0);
  EXPECT_EQ(ReadField(4), 1);
  EXPECT_EQ(ReadField(5), 24);
  EXPECT_EQ(ReadField(0), 450);
  EXPECT_EQ(ReadFace(), "Tahoma");
  const LOGFONTW live = LiveFont();
  EXPECT_EQ(live.lfWeight, FW_BOLD);
  EXPECT_TRUE(live.lfItalic);
  EXPECT_TRUE(live.lfUnderline);
  EXPECT_FALSE(live.lfStrikeOut);
  EXPECT_STREQ(live.lfFaceName, L"Tahoma");
}

// Every selector a caller can pass, on a live font: each sub-field reads what was written to it,
// and the whole font (-1) goes out and comes back as a record. Selectors outside -1..6 end the
// process with a runtime error (the process tests read that box).
TEST_F(FontPropertyTest, EverySubFieldReadsWhatWasWrittenToIt) {
  Load(FontData("Tahoma", 6));
  const struct {
    int32_t selector;
    uint32_t written;
    int32_t read;
  } cases[] = {{0, 450, 450}, {1, 1, 1}, {2, 1, 1}, {3, 1, 1}, {4, 1, 1}, {5, 11, 11},
               {1, 0, 0},     {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 30, 30}, {0, 0, 0}};
  for (const auto& c : cases) {
    WriteField(c.selector, c.written);
    EXPECT_EQ(ReadField(c.selector), c.read) << "selector " << c.selector;
  }
  WriteField(6, reinterpret_cast<uint32_t>("Courier New"));
  EXPECT_EQ(ReadFace(), "Courier New");

  // The whole record: read, changed and written back as one.
  auto* whole = reinterpret_cast<rt::ByteSetHeader*>(static_cast<uint32_t>(Forms().ReadProperty(kWindowId, kButton, kFont, -1)));
  ASSERT_EQ(rt::ByteSetLength(whole), kFontDataSize);
  LOGFONTA record;
  std::memcpy(&record, rt::ByteSetData(whole), sizeof record);
  rt::Free(whole);
  EXPECT_EQ(record.lfHeight, -40);  // 30 points at the stored 96 DPI
  EXPECT_STREQ(record.lfFaceName, "Courier New");
  record.lfHeight = -12;
  record.lfItalic = 1;
  std::strcpy(record.lfFaceName, "Tahoma");
  whole = rt::MakeByteSet(&record, sizeof record);
  WriteField(-1, reinterpret_cast<uint32_t>(whole));
  rt::Free(whole);
  EXPECT_EQ(ReadField(5), 9);
  EXPECT_EQ(ReadField(2), 1);
  EXPECT_EQ(ReadFace(), "Tahoma");
}

// A stored font grows with the display as the controls do, while its record and its size in
// points stay in the stored 96-DPI units: 9 points is 12 stored pixels at every scale. (The
// display-scale suite reads the same through a live button at each scale.)
TEST(StoredFont, IsMadeAtTheDisplayScaleAndReadsTheSamePoints) {
  const std::vector<uint8_t> nine = FontData("Tahoma", 6, 0, -12);
  const auto extent = [](HFONT font) {
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, L"Hg字体", 4, &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return size;
  };
  // The record and its points do not depend on the display at all.
  EXPECT_EQ(static_cast<int32_t>(ReadFontField(nine, font_field::Points)), 9);
  EXPECT_EQ(WithFontField(nine, font_field::Points, 24).lfHeight, -32);
  SIZE at96{};
  for (const int32_t dpi : {96, 144, 192}) {
    SCOPED_TRACE(::testing::Message() << dpi << " DPI");
    const HFONT made = CreateFontFromData(nine, dpi);
    ASSERT_NE(made, nullptr);
    LOGFONTW font{};
    GetObjectW(made, sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -ToDisplay(12, dpi));
    const SIZE size = extent(made);
    DeleteObject(made);
    if (dpi == 96) at96 = size;
    // The glyphs grow by the scale, give or take the rounding of each glyph's advance.
    EXPECT_NEAR(size.cy, MulDiv(at96.cy, dpi, 96), 2);
    EXPECT_NEAR(size.cx, MulDiv(at96.cx, dpi, 96), 4);
  }
}

// A control without a font of its own shows the default GUI font. Writing one sub-field to it
// (bold, say) takes the other fields from that font, its height brought to stored units; the font
// then made must be exactly as high as the default one, also where that height has no stored
// length of its own (-16 at 144 DPI is -10.67 stored). The default font is stood in for, as the
// system of each display would make it.
TEST(StoredFont, ASubFieldWrittenOverTheDefaultFontKeepsItsHeight) {
  const struct {
    int32_t dpi;
    LONG defaultHeight;
  } rows[] = {{144, -16}, {192, -21}, {120, -13}, {96, -11}, {144, -12}};
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.defaultHeight << " at " << row.dpi << " DPI");
    const HFONT standard = CreateFontW(row.defaultHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                       DEFAULT_PITCH, L"Tahoma");
    ASSERT_NE(standard, nullptr);
    const LOGFONTA bold = WithFontField({}, font_field::Bold, 1, row.dpi, standard);
    EXPECT_EQ(bold.lfWeight, FW_BOLD);
    EXPECT_EQ(bold.lfHeight, ToStored(row.defaultHeight, row.dpi));
    const auto* bytes = reinterpret_cast<const uint8_t*>(&bold);
    const HFONT made = CreateFontFromData({bytes, sizeof bold}, row.dpi, standard);
    ASSERT_NE(made, nullptr);
    LOGFONTW font{};
    GetObjectW(made, sizeof font, &font);
    EXPECT_EQ(font.lfHeight, row.defaultHeight);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    DeleteObject(made);
    DeleteObject(standard);
  }
}

}  // namespace
}  // namespace forms::testing
