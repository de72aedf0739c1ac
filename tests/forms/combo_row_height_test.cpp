// A combo box's rows are the system's height for its font plus the stored extra height, however
// often the box is filled and whatever font it is given. A second box with no extra height and
// the same font shows what the system's height is.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"

namespace forms::testing {
namespace {

constexpr uint32_t kCombo = 0x16016C54;
constexpr uint32_t kReference = 0x16016C55;
constexpr uint32_t kExtra = 5;
constexpr int32_t kItemsIndex = 20, kItemValuesIndex = 21, kRowHeightIndex = 15, kFontIndex = 18,
                  kSortedIndex = 14;

constexpr char kItems[] = "1600 x 1200\r\n1680 x 1050";
constexpr uint8_t kItemValues[] = {1, 0, 0, 0, 2, 0, 0, 0};

int32_t RowHeight(uint32_t unit) {
  const HWND box = static_cast<Component*>(Forms().FindLiveObject(kWindowId, unit))->Window();
  return static_cast<int32_t>(SendMessageW(box, CB_GETITEMHEIGHT, 0, 0));
}

void WriteBytes(uint32_t unit, int32_t index, const void* bytes, uint32_t length) {
  const rt::ByteSet value = rt::MakeByteSet(bytes, length);
  Forms().WriteProperty(kWindowId, unit, index, -1, reinterpret_cast<uint32_t>(value), 0);
  rt::Free(value);
}

class ComboRowHeight : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    std::vector<Unit> units;
    units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                             WindowData("行高")));
    units.push_back(MakeUnit(kCombo, kComboBoxType, "组合框1", {48, 88, 96, 20}, 5,
                             ComboData(2, 0, {"1440 x 900"}, kExtra)));
    units.push_back(MakeUnit(kReference, kComboBoxType, "组合框2", {48, 120, 96, 20}, 5,
                             ComboData(2, 0, {"1440 x 900"}, 0)));
    ASSERT_TRUE(LoadWindow(UseWindow(std::move(units)), 0, false, nullptr));
  }
  void TearDown() override { ClearWindows(); }
};

TEST_F(ComboRowHeight, TheExtraHeightIsAddedOnceToTheSystemsHeight) {
  ASSERT_GT(RowHeight(kReference), 0);
  EXPECT_EQ(RowHeight(kCombo), RowHeight(kReference) + 5) << "after loading";

  const struct {
    const char* what;
    void (*write)();
  } writes[] = {
      {"the extra height written again", [] { Forms().WriteProperty(kWindowId, kCombo, kRowHeightIndex, -1, kExtra, 0); }},
      {"the items written", [] { Forms().WriteProperty(kWindowId, kCombo, kItemsIndex, -1, reinterpret_cast<uint32_t>(kItems), 0); }},
      {"the items written again", [] { Forms().WriteProperty(kWindowId, kCombo, kItemsIndex, -1, reinterpret_cast<uint32_t>(kItems), 0); }},
      {"the item values written", [] { WriteBytes(kCombo, kItemValuesIndex, kItemValues, sizeof kItemValues); }},
      {"sorted, which rebuilds the box", [] { Forms().WriteProperty(kWindowId, kCombo, kSortedIndex, -1, 1, 0); }},
  };
  for (const auto& w : writes) {
    w.write();
    EXPECT_EQ(RowHeight(kCombo), RowHeight(kReference) + 5) << "after " << w.what;
  }
}

TEST_F(ComboRowHeight, AFontWriteKeepsTheExtraHeightOverTheNewFontsHeight) {
  const int32_t before = RowHeight(kReference);
  LOGFONTA font = {};
  font.lfHeight = -32;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(font.lfFaceName, "Tahoma");
  for (uint32_t unit : {kCombo, kReference}) WriteBytes(unit, kFontIndex, &font, sizeof font);

  ASSERT_GT(RowHeight(kReference), before) << "the larger font gives taller rows";
  EXPECT_EQ(RowHeight(kCombo), RowHeight(kReference) + 5);
}

}  // namespace
}  // namespace forms::testing
