// The keyboard focus of a loaded window over what takes the activation from it for a while (a
// modal window of the runtime's, a message box), and the keyboard cues the message loop shows.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/forms/component.h"
#include "runtime/forms/event_routing.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/message_loop.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"
#include "process_runner.h"

namespace forms::testing {
namespace {

constexpr uint32_t kFirst = 0x16010001, kSecond = 0x16010002, kThird = 0x16010003;
constexpr uint32_t kModalWindow = 0x52010002;
constexpr uint32_t kTabStop = unit_flag::Visible | unit_flag::TabStop;

HWND WindowOf(uint32_t windowId, uint32_t unitId = 0) {
  auto* live = static_cast<Component*>(Forms().FindLiveObject(windowId, unitId));
  return live != nullptr ? live->Window() : nullptr;
}

// Waits, handling this thread's messages, until the focus is on `expected`.
bool FocusComesTo(HWND expected) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (GetFocus() == expected) return true;
    if (GetTickCount() - start > 10000) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

// Closes this process's message box from a second thread once it shows, after doing `meanwhile`.
class BoxCloser {
 public:
  explicit BoxCloser(std::function<void()> meanwhile) : meanwhile_(std::move(meanwhile)) {
    thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
  }
  ~BoxCloser() {
    WaitForSingleObject(thread_, 30000);
    CloseHandle(thread_);
  }
  bool found = false;

 private:
  static DWORD WINAPI Run(void* self) {
    auto* closer = static_cast<BoxCloser*>(self);
    HWND box = nullptr;
    if (!PollUntil([&] { return (box = FindWindowW(L"#32770", L"box")) != nullptr && IsWindowVisible(box); },
                   20000))
      return 0;
    closer->found = true;
    closer->meanwhile_();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  }
  std::function<void()> meanwhile_;
  HANDLE thread_;
};

// The second button's -9 handler: counts its runs and does what a test gives it (for the first
// few runs only, so that a loop of focus events ends).
int secondGainsRuns = 0;
std::function<void()> onSecondGains;
HandlerResult SecondGainsFocus(const uint32_t*, uint32_t) {
  if (++secondGainsRuns <= 3 && onSecondGains) onSecondGains();
  return {0, false};
}

// A modal window of the runtime's over the first, with one tab stop of its own.
void LoadModalWindow() {
  auto modal = std::make_unique<WindowTemplate>();
  modal->windowId = kModalWindow;
  modal->units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {80, 80, 200, 150},
                                  unit_flag::Visible, WindowData("模态")));
  modal->units.push_back(MakeUnit(kFirst, kButtonType, "按钮1", {10, 10, 80, 24}, kTabStop,
                                  ButtonData("确定")));
  Forms().Windows().push_back(std::move(modal));
  ASSERT_TRUE(LoadWindow(*Forms().Windows().back(), 1, true, nullptr));
}
void CloseModalWindow() {
  SendMessageW(WindowOf(kModalWindow), WM_CLOSE, 0, 0);
  Forms().Windows().pop_back();
}

class KeyboardFocus : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    secondGainsRuns = 0;
    onSecondGains = nullptr;
    UseWindow({MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                        WindowData("焦点")),
               MakeUnit(kFirst, kButtonType, "按钮1", {10, 10, 80, 24}, kTabStop, ButtonData("一")),
               MakeUnit(kSecond, kButtonType, "按钮2", {10, 40, 80, 24}, kTabStop, ButtonData("二"),
                        {{-9, &SecondGainsFocus}}),
               MakeUnit(kThird, kButtonType, "按钮3", {10, 70, 80, 24}, kTabStop, ButtonData("三"))});
    ASSERT_TRUE(LoadWindow(*Forms().Windows()[0], 0, false, nullptr));
    top_ = WindowOf(kWindowId);
    first_ = WindowOf(kWindowId, kFirst);
    second_ = WindowOf(kWindowId, kSecond);
  }
  void TearDown() override {
    onSecondGains = nullptr;
    ClearWindows();
  }

  HWND top_ = nullptr, first_ = nullptr, second_ = nullptr;
};

TEST_F(KeyboardFocus, ComesBackToTheControlThatHadItOrElseToTheFirstTabStop) {
  EXPECT_TRUE(FocusComesTo(first_)) << "shown with the focus on the first tab stop";

  enum class Meanwhile { Nothing, Disable, Hide, DisableContainer };
  enum class Over { ModalWindow, MessageBox };
  const struct {
    const char* what;
    Over over;
    Meanwhile meanwhile;
    HWND focusAfter;
  } cases[] = {
      {"over a modal window", Over::ModalWindow, Meanwhile::Nothing, second_},
      {"over a message box", Over::MessageBox, Meanwhile::Nothing, second_},
      {"disabled meanwhile", Over::ModalWindow, Meanwhile::Disable, first_},
      {"hidden meanwhile", Over::MessageBox, Meanwhile::Hide, first_},
      // The system refuses the focus to a control whose container is disabled.
      {"its container disabled meanwhile", Over::MessageBox, Meanwhile::DisableContainer, first_},
  };
  HWND container = nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EnableWindow(second_, TRUE);
    ShowWindow(second_, SW_SHOWNOACTIVATE);
    if (c.meanwhile == Meanwhile::DisableContainer) {
      container = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 40, 80, 24, top_,
                                  nullptr, nullptr, nullptr);
      SetParent(second_, container);
      MoveWindow(second_, 0, 0, 80, 24, FALSE);
    }
    SetFocus(second_);
    ASSERT_EQ(GetFocus(), second_);
    const HWND second = second_;
    const auto change = [second, container, meanwhile = c.meanwhile] {
      if (meanwhile == Meanwhile::Disable) EnableWindow(second, FALSE);
      if (meanwhile == Meanwhile::Hide) ShowWindow(second, SW_HIDE);
      if (meanwhile == Meanwhile::DisableContainer) EnableWindow(container, FALSE);
    };

    if (c.over == Over::ModalWindow) {
      LoadModalWindow();
      EXPECT_TRUE(FocusComesTo(WindowOf(kModalWindow, kFirst))) << "the modal window's own tab stop";
      change();
      CloseModalWindow();
    } else {
      BoxCloser closer(change);
      MessageBoxW(top_, L"text", L"box", MB_OK);
      EXPECT_TRUE(closer.found);
    }
    EXPECT_TRUE(FocusComesTo(c.focusAfter))
        << "the focus is on " << GetFocus() << "; first " << first_ << ", second " << second_;
  }
}

TEST_F(KeyboardFocus, AFocusHandlerThatOpensABoxOrAModalWindowRunsOncePerChange) {
  ASSERT_TRUE(FocusComesTo(first_));
  enum class Opens { MessageBox, ModalWindow };
  for (Opens opens : {Opens::MessageBox, Opens::ModalWindow}) {
    SCOPED_TRACE(opens == Opens::MessageBox ? "a message box" : "a modal window");
    SetFocus(first_);
    secondGainsRuns = 0;
    if (opens == Opens::MessageBox) {
      onSecondGains = [this] {
        BoxCloser closer([] {});
        MessageBoxW(top_, L"text", L"box", MB_OK);
      };
      SetFocus(second_);
    } else {
      onSecondGains = [] { LoadModalWindow(); };
      SetFocus(second_);
      EXPECT_TRUE(FocusComesTo(WindowOf(kModalWindow, kFirst)));
      // Each run of the handler has opened one more.
      while (Forms().Windows().size() > 1) CloseModalWindow();
    }
    EXPECT_TRUE(FocusComesTo(second_));
    EXPECT_EQ(secondGainsRuns, 1) << "the focus came back to the control that had it";
    onSecondGains = nullptr;
  }
}

// The events of the focus as a window loads, for its first tab stop.
std::vector<std::pair<uint32_t, int32_t>> focusEvents;
template <int32_t Number>
HandlerResult LogFocus(const uint32_t*, uint32_t) {
  focusEvents.emplace_back(CurrentEventSource().unitId, Number);
  return {0, false};
}

TEST(KeyboardFocusOnLoad, TheFirstTabStopHearsItHasTheFocusAlsoWhenAnInnerWindowTakesIt) {
  rt::UseProcessHeap();
  InstallRuntime();
  const struct {
    const char* what;
    uint32_t style;
    bool inInnerWindow;
  } cases[] = {
      {"a drop-down list", 2, false},
      {"an editable combo box: its edit part", 1, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UseWindow({MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                        WindowData("焦点")),
               MakeUnit(kFirst, kComboBoxType, "组合框1", {10, 10, 120, 24}, kTabStop,
                        ComboData(c.style, 0, {"一", "二"}),
                        {{-7, &LogFocus<-7>}, {-8, &LogFocus<-8>}, {-9, &LogFocus<-9>}}),
               MakeUnit(kSecond, kButtonType, "按钮1", {10, 40, 80, 24}, kTabStop, ButtonData("一"))});
    focusEvents.clear();
    ASSERT_TRUE(LoadWindow(*Forms().Windows()[0], 0, false, nullptr));
    const HWND combo = WindowOf(kWindowId, kFirst);
    EXPECT_TRUE(GetFocus() == combo || IsChild(combo, GetFocus()));
    EXPECT_EQ(GetFocus() != combo, c.inInnerWindow);
    const std::vector<std::pair<uint32_t, int32_t>> expected = {{kFirst, -9}, {kFirst, -7}};
    EXPECT_EQ(focusEvents, expected);
    ClearWindows();
  }
}

// Enter in a window with a default button (kind 1), two other buttons and an edit box, with
// real key strokes, and clicks: the button each press reaches, and the one drawn as the default.
constexpr uint32_t kEdit = 0x16010005, kDefault = 0x16010006, kOne = 0x16010007, kTwo = 0x16010008;

std::vector<uint32_t> pressed;  // the buttons pressed, in order (the loop's thread only)
std::atomic<size_t> pressCount{0};
HandlerResult Pressed(const uint32_t*, uint32_t) {
  pressed.push_back(CurrentEventSource().unitId);
  ++pressCount;
  return {0, false};
}

void SendKey(WORD key, bool withShift = false) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  if (withShift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (withShift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND FocusOfThread(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// A click as the control takes it: the button down, which gives it the focus, then up. Posted
// rather than put into the system's input queue: under Wine + Xvfb an injected click within
// this process's own desktop now and then reaches the control under the pointer's previous place
// (the end-to-end keyboard test clicks the tool's buttons through the input queue).
void ClickOn(HWND control) {
  RECT rect;
  GetClientRect(control, &rect);
  const LPARAM middle = MAKELPARAM(rect.right / 2, rect.bottom / 2);
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostMessageW(control, WM_LBUTTONUP, 0, middle);
}

TEST(KeyboardEnter, PressesTheFocusedPushButtonElseTheDefaultButton) {
  rt::UseProcessHeap();
  InstallRuntime();
  const std::vector<EventBinding> press = {{0, &Pressed}};
  UseWindow({MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                      WindowData("回车")),
             MakeUnit(kEdit, kEditBoxType, "编辑框1", {10, 10, 120, 24}, kTabStop),
             MakeUnit(kDefault, kButtonType, "按钮1", {10, 40, 80, 24}, kTabStop,
                      ButtonData("确定", {}, {}, 1), press),
             MakeUnit(kOne, kButtonType, "按钮2", {10, 70, 80, 24}, kTabStop, ButtonData("一"), press),
             MakeUnit(kTwo, kButtonType, "按钮3", {10, 100, 80, 24}, kTabStop, ButtonData("二"), press)});
  pressed.clear();
  pressCount = 0;
  ASSERT_TRUE(LoadWindow(*Forms().Windows()[0], 0, false, nullptr));
  const HWND top = WindowOf(kWindowId);
  SetForegroundWindow(top);

  enum class Act { None, Tab, ShiftTab, Click, DisableDefault };
  const struct {
    const char* what;
    Act act;
    uint32_t clicked;   // for Act::Click
    uint32_t focus;     // where the focus is then
    uint32_t looks;     // the button drawn as the default
    uint32_t enter;     // the button Enter presses; 0: none
  } steps[] = {
      {"first show", Act::None, 0, kEdit, kDefault, kDefault},
      {"Tab to the default", Act::Tab, 0, kDefault, kDefault, kDefault},
      {"Tab to another", Act::Tab, 0, kOne, kOne, kOne},
      {"a click on the third", Act::Click, kTwo, kTwo, kTwo, kTwo},
      {"Shift+Tab back", Act::ShiftTab, 0, kOne, kOne, kOne},
      {"Tab to the third", Act::Tab, 0, kTwo, kTwo, kTwo},
      {"Tab round to the edit box", Act::Tab, 0, kEdit, kDefault, kDefault},
      {"a click into the edit box", Act::Click, kEdit, kEdit, kDefault, kDefault},
      {"a click on the default", Act::Click, kDefault, kDefault, kDefault, kDefault},
      {"a click on another", Act::Click, kOne, kOne, kOne, kOne},
      {"the default disabled, the edit box clicked", Act::DisableDefault, kEdit, kEdit, kDefault, 0},
      {"Tab past the disabled default", Act::Tab, 0, kOne, kOne, kOne},
  };
  const DWORD loopThread = GetCurrentThreadId();
  const auto unitWindow = [](uint32_t unit) { return WindowOf(kWindowId, unit); };
  // The one button with the default style that also answers as the default push button; 0 for
  // none, 1 for more than one.
  const auto looksDefault = [&] {
    uint32_t found = 0;
    for (uint32_t unit : {kDefault, kOne, kTwo}) {
      const HWND button = unitWindow(unit);
      const bool styled = (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      const bool answers = (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
      if (styled != answers) return 1u;
      if (styled) found = found == 0 ? unit : 1u;
    }
    return found;
  };

  std::vector<uint32_t> expectedPresses;
  std::vector<std::string> failures;
  std::thread driver([&] {
    const auto fail = [&](const char* step, const std::string& what) {
      failures.push_back(std::string(step) + ": " + what);
    };
    if (!PollUntil([&] { return GetForegroundWindow() == top; }, 10000)) fail("start", "not in front");
    for (const auto& step : steps) {
      if (step.act == Act::Tab || step.act == Act::ShiftTab) SendKey(VK_TAB, step.act == Act::ShiftTab);
      if (step.act == Act::DisableDefault) EnableWindow(unitWindow(kDefault), FALSE);
      if (step.act == Act::Click || step.act == Act::DisableDefault) {
        ClickOn(unitWindow(step.clicked));
        if (step.clicked != kEdit) expectedPresses.push_back(step.clicked);
      }
      if (!PollUntil([&] { return FocusOfThread(loopThread) == unitWindow(step.focus); }, 10000))
        fail(step.what, "the focus did not come to unit " + std::to_string(step.focus));
      if (!PollUntil([&] { return looksDefault() == step.looks; }, 10000))
        fail(step.what, "drawn as the default: " + std::to_string(looksDefault()));
      if (!PollUntil([&] { return pressCount == expectedPresses.size(); }, 10000))
        fail(step.what, "the click pressed nothing");
      SendKey(VK_RETURN);
      if (step.enter != 0) {
        expectedPresses.push_back(step.enter);
        if (!PollUntil([&] { return pressCount == expectedPresses.size(); }, 10000))
          fail(step.what, "Enter pressed nothing");
      }
      if (!failures.empty()) break;  // what follows would wait in vain
    }
    PostMessageW(top, WM_CLOSE, 0, 0);
  });
  Forms().RunMessageLoop();
  driver.join();
  for (const std::string& failure : failures) ADD_FAILURE() << failure;
  // Every press in order: one by each Enter that has a button to press, one by each click on a
  // button, none more.
  EXPECT_EQ(pressed, expectedPresses);
}

// What the message loop tells the window about its keyboard cues, in order (the system keeps the
// state; Wine keeps none and always shows them).
std::vector<WPARAM> cueChanges;
HWND watchedTop = nullptr;
HHOOK hook = nullptr;
LRESULT CALLBACK WatchCues(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->hwnd == watchedTop && message->message == WM_CHANGEUISTATE)
    cueChanges.push_back(message->wParam);
  return CallNextHookEx(hook, code, wParam, lParam);
}

TEST_F(KeyboardFocus, TheLoopShowsTheCuesOnceTheKeyboardIsUsed) {
  ASSERT_TRUE(FocusComesTo(first_));
  watchedTop = top_;
  cueChanges.clear();
  hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchCues, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  const WPARAM none = 0, focusRectangle = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS),
               mnemonicsToo = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL);
  const struct {
    UINT message;
    WPARAM key;
    WPARAM cues;  // what the window is told, none for 0
  } keys[] = {
      {WM_KEYDOWN, 'A', none},  // no navigation key: the cues stay as they are
      {WM_KEYDOWN, VK_TAB, focusRectangle},
      {WM_KEYDOWN, VK_LEFT, focusRectangle},
      {WM_KEYDOWN, VK_UP, focusRectangle},
      {WM_KEYDOWN, VK_RIGHT, focusRectangle},
      {WM_KEYDOWN, VK_DOWN, focusRectangle},
      {WM_SYSKEYDOWN, VK_MENU, mnemonicsToo},  // Alt
  };
  std::vector<WPARAM> expected;
  for (const auto& k : keys) {
    PostMessageW(first_, k.message, k.key, k.message == WM_SYSKEYDOWN ? 1 << 29 : 0);
    if (k.cues != none) expected.push_back(k.cues);
  }
  PostMessageW(top_, WM_CLOSE, 0, 0);
  Forms().RunMessageLoop();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(cueChanges, expected);
}

}  // namespace
}  // namespace forms::testing
