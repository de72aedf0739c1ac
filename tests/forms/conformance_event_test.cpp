// The events of each component type on the conformance form: which number each raises, with
// which arguments, in which order, and the handler result that cancels.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/conformance_form.h"
#include "tests/forms/form_harness.h"
#include "tests/forms/live_component_fixture.h"

namespace forms::testing::conformance {
namespace {

// The events seen since the last call, as (unit, number), each checked to carry no arguments:
// none of the seven types passes any.
std::vector<std::pair<uint32_t, int32_t>> TakeSeen() {
  std::vector<std::pair<uint32_t, int32_t>> taken;
  for (const SeenEvent& event : Seen()) {
    EXPECT_TRUE(event.arguments.empty()) << "event " << event.number << " of " << std::hex << event.unitId;
    // The window's own unit may be named by 0 or by its identifier.
    taken.emplace_back(event.unitId == kWindowUnit ? 0 : event.unitId, event.number);
  }
  Seen().clear();
  return taken;
}

HWND LiveWindow(uint32_t windowId, uint32_t unit) {
  auto* live = static_cast<Component*>(Forms().FindLiveObject(windowId, unit));
  return live != nullptr ? live->Window() : nullptr;
}

using Events = std::vector<std::pair<uint32_t, int32_t>>;

class ConformanceEventTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    ReadIntoRuntime();
    AnswerToClose(1) = {};
    AnswerToClose(12) = {};
  }
  void TearDown() override { ClearWindows(); }

  static HWND LoadMain() {
    EXPECT_TRUE(LoadWindow(*FindWindowTemplate(Forms().Windows(), kMainWindow), 0, false, nullptr));
    return LiveWindow(kMainWindow, 0);
  }
};

TEST_F(ConformanceEventTest, LoadingRaisesLoadCompleteThenMovedThenResized) {
  LoadMain();
  const Events seen = TakeSeen();
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(Events(seen.begin(), seen.begin() + 3), (Events{{0, 0}, {0, 3}, {0, 4}}));
  // Showing the window may move and size it once more. Its activation puts the focus on the
  // first tab stop, which hears -9 as it gains it, then -7 once the window shows.
  const Component* focused = Component::FromWindow(GetFocus());
  ASSERT_NE(focused, nullptr);
  Events focusEvents;
  for (size_t i = 3; i < seen.size(); ++i)
    if (seen[i] != std::make_pair(0u, 3) && seen[i] != std::make_pair(0u, 4)) focusEvents.push_back(seen[i]);
  EXPECT_EQ(focusEvents, (Events{{focused->UnitId(), -9}, {focused->UnitId(), -7}}));
}

TEST_F(ConformanceEventTest, ButtonsEditBoxesAndCombosRaiseTheirOwn) {
  const HWND window = LoadMain();
  SetForegroundWindow(window);
  const HWND button = LiveWindow(kMainWindow, kIconButton);
  const HWND edit = LiveWindow(kMainWindow, kEdit);
  const HWND other = LiveWindow(kMainWindow, kBitmapButton);
  SetFocus(edit);
  TakeSeen();

  SendMessageW(button, BM_CLICK, 0, 0);  // the click takes the focus first
  SetFocus(other);
  Forms().WriteProperty(kMainWindow, kEdit, 8, -1, reinterpret_cast<uint32_t>("x"), 0);
  EXPECT_EQ(TakeSeen(), (Events{{kEdit, -8}, {kIconButton, -9}, {kIconButton, 0}, {kIconButton, -8},
                                {kBitmapButton, -9}, {kEdit, 0}}));
}

TEST_F(ConformanceEventTest, TheTimerTicksOnlyWhileItHasAnInterval) {
  LoadMain();
  TakeSeen();
  Forms().WriteProperty(kMainWindow, kTimer, 8, -1, 20, 0);
  ASSERT_TRUE(PumpUntil([] { return !Seen().empty(); }, 5000));
  Forms().WriteProperty(kMainWindow, kTimer, 8, -1, 0, 0);
  const Events seen = TakeSeen();
  ASSERT_FALSE(seen.empty());
  for (const auto& event : seen) EXPECT_EQ(event, (std::pair<uint32_t, int32_t>{kTimer, 0}));
  // Stopped: a message round trip later nothing more has come.
  PumpFor(0);
  EXPECT_EQ(TakeSeen(), Events{});
}

TEST_F(ConformanceEventTest, AnAnswerOfZeroToEitherCloseEventKeepsTheWindow) {
  const struct {
    CloseAnswer to12, to1;
    Events seen;
    bool closes;
  } cases[] = {
      {{true, 0}, {}, {{0, 12}}, false},
      {{true, 5}, {true, 0}, {{0, 12}, {0, 1}}, false},
      {{false, 0}, {true, 0}, {{0, 12}, {0, 1}}, false},
      {{true, 1}, {true, 3}, {{0, 12}, {0, 1}, {0, 2}}, true},
      {{}, {}, {{0, 12}, {0, 1}, {0, 2}}, true},
  };
  for (const auto& c : cases) {
    const HWND window = LoadMain();
    TakeSeen();
    AnswerToClose(12) = c.to12;
    AnswerToClose(1) = c.to1;
    SendMessageW(window, WM_CLOSE, 0, 0);
    Events seen = TakeSeen();
    // Focus and deactivation events of the components on the way out are not part of the row.
    std::erase_if(seen, [](const auto& event) { return event.second < 0; });
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(!IsWindow(window), c.closes);
    ClearWindows();
    ReadIntoRuntime();
  }
}

TEST_F(ConformanceEventTest, TheSecondWindowLoadsModallyOverTheFirst) {
  const HWND main = LoadMain();
  ASSERT_TRUE(LoadWindow(*FindWindowTemplate(Forms().Windows(), kModalWindow), 1, true, nullptr));
  const HWND modal = LiveWindow(kModalWindow, 0);
  ASSERT_NE(modal, nullptr);
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_TRUE(IsWindowVisible(modal));
  Events seen = TakeSeen();
  EXPECT_NE(std::find(seen.begin(), seen.end(), std::pair<uint32_t, int32_t>{0, 0}), seen.end());

  SendMessageW(modal, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(modal));
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_TRUE(IsWindow(main));
}

}  // namespace
}  // namespace forms::testing::conformance
