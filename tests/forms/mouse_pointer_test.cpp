// The mouse-pointer property (7): the pointer a unit's data names is the one the system shows
// while the mouse is over the unit.

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"

namespace forms::testing {
namespace {

constexpr uint32_t kButton = 0x16016C58;
constexpr uint32_t kPlainButton = 0x16016C56;
constexpr uint32_t kCombo = 0x16016C54;
constexpr int32_t kPointer = 7;

HWND WindowOf(uint32_t unit) {
  return static_cast<Component*>(Forms().FindLiveObject(kWindowId, unit))->Window();
}

// The pointer the window sets when the system asks with the mouse over its client area.
HCURSOR PointerOver(HWND window) {
  SetCursor(nullptr);
  SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

// The edit part of a drop-down combo box: a window of the control's own, no component.
HWND EditPartOf(uint32_t combo) {
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(WindowOf(combo), &info) ? info.hwndItem : nullptr;
}

HCURSOR System(int id) { return LoadCursorW(nullptr, MAKEINTRESOURCEW(id)); }

void WritePointer(uint32_t unit, std::vector<uint8_t> data) {
  rt::ByteSet bytes = data.empty() ? nullptr : rt::MakeByteSet(data.data(), static_cast<uint32_t>(data.size()));
  Forms().WriteProperty(kWindowId, unit, kPointer, -1, reinterpret_cast<uint32_t>(bytes), 0);
  rt::Free(bytes);
}

class MousePointerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    std::vector<Unit> units;
    units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                             WindowData("指针")));
    units[0].cursorData = {1, 0, 0, 0};  // cross
    units.push_back(MakeUnit(kButton, kButtonType, "按钮2", {10, 10, 80, 40}, 5, ButtonData("文本")));
    units[1].cursorData = {2, 0, 0, 0};  // text beam
    units.push_back(MakeUnit(kPlainButton, kButtonType, "按钮6", {10, 60, 80, 40}, 5, ButtonData("箭头")));
    units.push_back(MakeUnit(kCombo, kComboBoxType, "组合框1", {10, 110, 120, 24}, 5, ComboData(1, -1, {"项"})));
    ASSERT_TRUE(LoadWindow(UseWindow(std::move(units)), 0, false, nullptr));
  }
  void TearDown() override { ClearWindows(); }
};

TEST_F(MousePointerTest, StoredPointersShowOverTheirUnits) {
  EXPECT_EQ(PointerOver(WindowOf(kButton)), System(32513));  // IDC_IBEAM
  EXPECT_EQ(PointerOver(WindowOf(0)), System(32515));        // IDC_CROSS
  EXPECT_EQ(PointerOver(WindowOf(kPlainButton)), System(32512));
}

TEST_F(MousePointerTest, WrittenPointersTakeEffectAndReadBack) {
  const struct {
    std::vector<uint8_t> data;
    int shown;
  } cases[] = {{{4, 0, 0, 0}, 32646}, {{14, 0, 0, 0}, 32649}, {{0, 0, 0, 0}, 32512},
               {{10, 0, 0, 0}, 32514}, {{}, 32512}, {{2, 0}, 32512}, {{99, 0, 0, 0}, 32512}};
  for (const auto& c : cases) {
    WritePointer(kButton, c.data);
    EXPECT_EQ(PointerOver(WindowOf(kButton)), System(c.shown)) << "shape " << (c.data.empty() ? -1 : c.data[0]);
    const auto* read = reinterpret_cast<const rt::ByteSetHeader*>(
        static_cast<uint32_t>(Forms().ReadProperty(kWindowId, kButton, kPointer, -1)));
    const std::vector<uint8_t> back = read == nullptr ? std::vector<uint8_t>()
        : std::vector<uint8_t>(rt::ByteSetData(read), rt::ByteSetData(read) + rt::ByteSetLength(read));
    EXPECT_EQ(back, c.data);
    rt::Free(const_cast<rt::ByteSetHeader*>(read));
  }
  // A combo box's edit part takes the combo box's pointer; without one its own text beam, never
  // the window's pointer.
  const struct {
    std::vector<uint8_t> data;
    int shown;
  } comboCases[] = {{{0, 0, 0, 0}, 32513}, {{14, 0, 0, 0}, 32649}, {{}, 32513}};
  for (const auto& c : comboCases) {
    WritePointer(kCombo, c.data);
    ASSERT_NE(EditPartOf(kCombo), nullptr);
    EXPECT_EQ(PointerOver(EditPartOf(kCombo)), System(c.shown)) << "combo box, shape " << (c.data.empty() ? -1 : c.data[0]);
  }
  // Over the frame the system's own sizing pointers stay.
  SetCursor(nullptr);
  WritePointer(0, {2, 0, 0, 0});
  SendMessageW(WindowOf(0), WM_SETCURSOR, reinterpret_cast<WPARAM>(WindowOf(0)), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), System(32513));
}

}  // namespace
}  // namespace forms::testing
