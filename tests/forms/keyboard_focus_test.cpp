// The keyboard focus of a loaded window over what takes the activation from it for a while (a
// modal window of the runtime's, a message box), and the keyboard cues the message loop shows.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/forms/component.h"
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

class KeyboardFocus : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    UseWindow({MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                        WindowData("焦点")),
               MakeUnit(kFirst, kButtonType, "按钮1", {10, 10, 80, 24}, kTabStop, ButtonData("一")),
               MakeUnit(kSecond, kButtonType, "按钮2", {10, 40, 80, 24}, kTabStop, ButtonData("二")),
               MakeUnit(kThird, kButtonType, "按钮3", {10, 70, 80, 24}, kTabStop, ButtonData("三"))});
    ASSERT_TRUE(LoadWindow(*Forms().Windows()[0], 0, false, nullptr));
    top_ = WindowOf(kWindowId);
    first_ = WindowOf(kWindowId, kFirst);
    second_ = WindowOf(kWindowId, kSecond);
  }
  void TearDown() override { ClearWindows(); }

  HWND top_ = nullptr, first_ = nullptr, second_ = nullptr;
};

TEST_F(KeyboardFocus, ComesBackToTheControlThatHadItOrElseToTheFirstTabStop) {
  EXPECT_TRUE(FocusComesTo(first_)) << "shown with the focus on the first tab stop";

  enum class Meanwhile { Nothing, Disable, Hide };
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EnableWindow(second_, TRUE);
    ShowWindow(second_, SW_SHOWNOACTIVATE);
    SetFocus(second_);
    ASSERT_EQ(GetFocus(), second_);
    const HWND second = second_;
    const auto change = [second, meanwhile = c.meanwhile] {
      if (meanwhile == Meanwhile::Disable) EnableWindow(second, FALSE);
      if (meanwhile == Meanwhile::Hide) ShowWindow(second, SW_HIDE);
    };

    if (c.over == Over::ModalWindow) {
      auto modal = std::make_unique<WindowTemplate>();
      modal->windowId = kModalWindow;
      modal->units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {80, 80, 200, 150},
                                      unit_flag::Visible, WindowData("模态")));
      modal->units.push_back(MakeUnit(kFirst, kButtonType, "按钮1", {10, 10, 80, 24}, kTabStop,
                                      ButtonData("确定")));
      Forms().Windows().push_back(std::move(modal));
      ASSERT_TRUE(LoadWindow(*Forms().Windows().back(), 1, true, nullptr));
      EXPECT_TRUE(FocusComesTo(WindowOf(kModalWindow, kFirst))) << "the modal window's own tab stop";
      change();
      SendMessageW(WindowOf(kModalWindow), WM_CLOSE, 0, 0);
      Forms().Windows().pop_back();
    } else {
      BoxCloser closer(change);
      MessageBoxW(top_, L"text", L"box", MB_OK);
      EXPECT_TRUE(closer.found);
    }
    EXPECT_TRUE(FocusComesTo(c.focusAfter))
        << "the focus is on " << GetFocus() << "; first " << first_ << ", second " << second_;
  }
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
  PostMessageW(first_, WM_KEYDOWN, 'A', 0);  // no navigation key: the cues stay as they are
  PostMessageW(first_, WM_KEYDOWN, VK_TAB, 0);
  PostMessageW(first_, WM_SYSKEYDOWN, VK_MENU, 1 << 29);
  PostMessageW(top_, WM_CLOSE, 0, 0);
  Forms().RunMessageLoop();
  UnhookWindowsHookEx(hook);
  const std::vector<WPARAM> expected = {
      MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS),                   // Tab: the focus rectangle
      MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),  // Alt: mnemonics too
  };
  EXPECT_EQ(cueChanges, expected);
}

}  // namespace
}  // namespace forms::testing
