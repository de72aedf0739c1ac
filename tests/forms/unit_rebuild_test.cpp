// Rebuilding a unit while messages are still waiting: the rebuild first handles them, and a
// handler that runs there may destroy the window or rebuild the same unit before the rebuild
// itself goes on.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/core/event_suspension.h"
#include "runtime/core/memory.h"
#include "runtime/forms/combo_box.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"
#include "tests/forms/live_component_fixture.h"

namespace forms::testing {
namespace {

constexpr uint32_t kButton = 0x16016C58;
constexpr uint32_t kCombo = 0x16016C54;
constexpr int32_t kStyleIndex = 8, kSortedIndex = 14;

// What the button's handler does when the rebuild handles the waiting click.
std::function<void()> pressure;
bool pressureRan = false;

HandlerResult Clicked(const uint32_t*, uint32_t) {
  pressureRan = true;
  if (pressure) pressure();
  return {0, false};
}

// The combo box type with its current-data entry watched: that entry reads the object it is
// given, so it may only ever be given a unit's live object.
int32_t currentDataOfGoneObjects = 0;

bool IsALiveObject(const Component* object) {
  for (const auto& window : Forms().Windows())
    for (const Unit& unit : window->units)
      if (unit.object == object && LiveObject(unit) != nullptr) return true;
  return false;
}

HGLOBAL WatchedCurrentData(Component* object) {
  if (!IsALiveObject(object)) {
    ++currentDataOfGoneObjects;
    return nullptr;  // never touch it
  }
  return reinterpret_cast<CurrentDataFunction>(forms::kComboBoxType.unitInterface(unit_code::CurrentData))(object);
}

void* WatchedUnitInterface(int32_t code) {
  return code == unit_code::CurrentData ? reinterpret_cast<void*>(&WatchedCurrentData)
                                        : forms::kComboBoxType.unitInterface(code);
}

ComponentTypeRecord WatchedComboType() {
  ComponentTypeRecord type = forms::kComboBoxType;
  type.unitInterface = &WatchedUnitInterface;
  return type;
}
const ComponentTypeRecord kWatchedComboType = WatchedComboType();

std::vector<Unit> ButtonAndCombo() {
  std::vector<Unit> units;
  units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                           WindowData("重建")));
  units.push_back(MakeUnit(kButton, kButtonType, "按钮1", {156, 160, 80, 32}, 5, ButtonData("按"),
                           {{0, &Clicked}}));
  units.push_back(MakeUnit(kCombo, kComboBoxType, "组合框1", {48, 88, 96, 20}, 5,
                           ComboData(2, 1, {"1440 x 900", "1600 x 1200"})));
  return units;
}

HWND WindowOf(uint32_t unit) {
  auto* live = static_cast<Component*>(Forms().FindLiveObject(kWindowId, unit));
  return live != nullptr ? live->Window() : nullptr;
}

// Every combo box of this thread, top-level or inside another window.
BOOL CALLBACK CollectComboBox(HWND window, LPARAM list) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (_wcsicmp(name, L"ComboBox") == 0) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}
BOOL CALLBACK CollectFromTopLevel(HWND top, LPARAM list) {
  CollectComboBox(top, list);
  EnumChildWindows(top, &CollectComboBox, list);
  return TRUE;
}
std::vector<HWND> ComboBoxesOfThisThread() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), &CollectFromTopLevel, reinterpret_cast<LPARAM>(&found));
  return found;
}

class RebuildUnderPressure : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    SubstituteType(kComboBoxType, &kWatchedComboType);
    currentDataOfGoneObjects = 0;
    pressureRan = false;
  }
  void TearDown() override {
    ClearWindows();
    SubstituteType(kComboBoxType, nullptr);
    pressure = nullptr;
  }
};

TEST_F(RebuildUnderPressure, AHandlerInTheDrainMayDestroyTheWindowOrRebuildTheSameUnit) {
  struct Case {
    const char* what;
    std::function<void()> handler;
    bool windowSurvives;
  };
  const Case cases[] = {
      {"the handler destroys the window", [] { DestroyWindow(WindowOf(0)); }, false},
      {"the handler rebuilds the same unit",
       [] { Forms().WriteProperty(kWindowId, kCombo, kSortedIndex, -1, 1, 0); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WindowTemplate& window = UseWindow(ButtonAndCombo());
    ASSERT_TRUE(LoadWindow(window, 0, false, nullptr));
    const HWND top = WindowOf(0);
    currentDataOfGoneObjects = 0;
    pressureRan = false;
    pressure = c.handler;

    // A click waits in the queue when the write asks for a simple box, which needs a new window.
    ASSERT_TRUE(PostMessageW(WindowOf(kButton), BM_CLICK, 0, 0));
    Forms().WriteProperty(kWindowId, kCombo, kStyleIndex, -1, 0, 0);

    EXPECT_TRUE(pressureRan) << "the waiting click is handled before the rebuild";
    EXPECT_EQ(currentDataOfGoneObjects, 0) << "the rebuild read an object that was already gone";
    EXPECT_EQ(rt::SuspensionCount(), 0);
    const std::vector<HWND> boxes = ComboBoxesOfThisThread();
    if (c.windowSurvives) {
      // One box, the unit's, on the window, with both writes in it.
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0], WindowOf(kCombo));
      EXPECT_EQ(GetParent(boxes[0]), top);
      const LONG_PTR style = GetWindowLongPtrW(boxes[0], GWL_STYLE);
      EXPECT_EQ(style & 3, CBS_SIMPLE);
      EXPECT_NE(style & CBS_SORT, 0);
      EXPECT_EQ(GetDlgCtrlID(boxes[0]), 100);
    } else {
      EXPECT_FALSE(IsWindow(top));
      EXPECT_TRUE(boxes.empty()) << boxes.size() << " orphaned boxes";
      EXPECT_EQ(window.units[2].object, nullptr);
    }
    pressure = nullptr;
  }
}

}  // namespace
}  // namespace forms::testing
