// Loading a window beside others: with a parent, and modally.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"

namespace forms::testing {
namespace {

// A window unit's type data with the control box off: with an empty title the window then has
// no caption, and only its frame says what kind of window it is.
std::vector<uint8_t> WithoutCaption(std::vector<uint8_t> data) {
  constexpr size_t kControlBoxOffset = 6 * 4;  // after version, border, picture mode, colour, max, min
  std::fill_n(data.begin() + kControlBoxOffset, 4, 0);
  return data;
}

// A further window description beside the one UseWindow made.
WindowTemplate& AddWindow(uint32_t windowId, std::vector<uint8_t> typeData,
                          std::vector<EventBinding> events = {}) {
  auto window = std::make_unique<WindowTemplate>();
  window->windowId = windowId;
  window->units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {40, 40, 200, 150},
                                   unit_flag::Visible, std::move(typeData), std::move(events)));
  Forms().Windows().push_back(std::move(window));
  return *Forms().Windows().back();
}

HWND WindowOf(uint32_t windowId) {
  auto* live = static_cast<Component*>(Forms().FindLiveObject(windowId, 0));
  return live != nullptr ? live->Window() : nullptr;
}

class WindowLoads : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    UseWindow({MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                        WindowData("第一个"))});
    ASSERT_TRUE(LoadWindow(*Forms().Windows()[0], 0, false, nullptr));
    first_ = WindowOf(kWindowId);
  }
  void TearDown() override { ClearWindows(); }

  HWND first_ = nullptr;
};

TEST_F(WindowLoads, ATopLevelWindowHasADialogFrameWithOrWithoutAParent) {
  const struct {
    const char* what;
    uint32_t windowId;
    bool withParent;
  } cases[] = {{"without a parent", 0x52010002, false}, {"with a parent", 0x52010003, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WindowTemplate& window = AddWindow(c.windowId, WithoutCaption(WindowData("")));
    ASSERT_TRUE(LoadWindow(window, 0, false, c.withParent ? first_ : nullptr));
    const HWND made = WindowOf(c.windowId);
    const LONG_PTR style = GetWindowLongPtrW(made, GWL_STYLE);
    EXPECT_NE(style & WS_DLGFRAME, 0);
    EXPECT_EQ(style & WS_CHILD, 0);
    if (c.withParent) {
      EXPECT_EQ(GetWindow(made, GW_OWNER), first_);
    }
  }
}

// What the watched windows are told, in order: enabled again, destroyed.
std::vector<HWND> watched;
std::vector<std::pair<HWND, UINT>> seen;
HHOOK watch = nullptr;
LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && std::find(watched.begin(), watched.end(), message->hwnd) != watched.end() &&
      ((message->message == WM_ENABLE && message->wParam != 0) || message->message == WM_DESTROY))
    seen.emplace_back(message->hwnd, message->message);
  return CallNextHookEx(watch, code, wParam, lParam);
}

TEST_F(WindowLoads, AModalLoadDisablesTheOtherWindowsAndEnablesThemBeforeItIsDestroyed) {
  constexpr uint32_t kSecond = 0x52010002, kAlreadyDisabled = 0x52010003, kModal = 0x52010004;
  ASSERT_TRUE(LoadWindow(AddWindow(kSecond, WindowData("第二个")), 0, false, nullptr));
  ASSERT_TRUE(LoadWindow(AddWindow(kAlreadyDisabled, WindowData("已禁止")), 0, false, nullptr));
  Forms().WriteProperty(kAlreadyDisabled, 0, 6, -1, 1, 0);
  const HWND second = WindowOf(kSecond), disabled = WindowOf(kAlreadyDisabled);

  ASSERT_TRUE(LoadWindow(AddWindow(kModal, WindowData("模态")), 1, true, first_));
  const HWND modal = WindowOf(kModal);
  EXPECT_FALSE(IsWindowEnabled(first_));
  EXPECT_FALSE(IsWindowEnabled(second));
  EXPECT_FALSE(IsWindowEnabled(disabled));
  EXPECT_TRUE(IsWindowEnabled(modal));
  EXPECT_NE(GetWindow(modal, GW_OWNER), first_) << "a modal load drops the parent";

  watched = {first_, second, disabled, modal};
  seen.clear();
  watch = SetWindowsHookExW(WH_CALLWNDPROC, &Watch, nullptr, GetCurrentThreadId());
  ASSERT_NE(watch, nullptr);
  SendMessageW(modal, WM_CLOSE, 0, 0);
  UnhookWindowsHookEx(watch);

  EXPECT_FALSE(IsWindow(modal));
  // The windows it disabled come back in the order they were disabled, before it goes; the one
  // that was disabled already stays so.
  const std::vector<std::pair<HWND, UINT>> expected = {
      {first_, WM_ENABLE}, {second, WM_ENABLE}, {modal, WM_DESTROY}};
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(IsWindowEnabled(first_));
  EXPECT_TRUE(IsWindowEnabled(second));
  EXPECT_FALSE(IsWindowEnabled(disabled));
}

}  // namespace
}  // namespace forms::testing
