// The whole job with the keyboard alone, as a user without a mouse does it: real key strokes
// through the system's input queue to the foreground window, the focus read from the tool's GUI
// thread after each. Where the focus goes at first show, after the open dialog and after a
// switch to another window and back; the file compared byte for byte afterwards. Then Enter on
// buttons that got the focus by a click or by its coming back, as a mouse user presses it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "synthetic_executable.h"
#include "tool_driver.h"
#include "tool_expectations.h"

namespace {

using namespace e2e;

void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// A key, with Shift or Alt held when given.
struct Stroke {
  WORD key;
  WORD held = 0;
};

void Press(Stroke stroke) {
  if (stroke.held != 0) Key(stroke.held, false);
  Key(stroke.key, false);
  Key(stroke.key, true);
  if (stroke.held != 0) Key(stroke.held, true);
}

void Type(const std::wstring& text) {
  for (wchar_t ch : text)
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = ch;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      SendInput(1, &input, sizeof input);
    }
}

// The window that has the keyboard focus on the thread of `window`, or null.
HWND FocusOn(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                            : nullptr;
}

// Waits until the focus is on the main window's control with this identifier; what it is on
// otherwise, for the message.
::testing::AssertionResult FocusComesTo(const MainWindow& main, int id) {
  const auto there = [&] {
    const HWND focus = FocusOn(main.window);
    return IsChild(main.window, focus) && GetDlgCtrlID(focus) == id;
  };
  if (WaitUntil(there, 15000))
    return ::testing::AssertionSuccess();
  const HWND focus = FocusOn(main.window);
  return ::testing::AssertionFailure()
         << "the focus is on " << (focus == nullptr ? std::string("nothing")
                                   : focus == main.window ? std::string("the main window")
                                   : "control " + std::to_string(GetDlgCtrlID(focus)))
         << " where control " << id << " was expected";
}

struct FocusStep {
  Stroke stroke;
  int focusTo;  // control identifier
};

void Walk(const MainWindow& main, const std::vector<FocusStep>& steps) {
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE("step " + std::to_string(i + 1));
    Press(steps[i].stroke);
    ASSERT_TRUE(FocusComesTo(main, steps[i].focusTo));
  }
}

// Messages for this thread's own window, while a wait runs.
void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A top-level window of the driver's own, standing for another program.
class OtherProgram {
 public:
  OtherProgram() {
    // A class of its own: a static control lets clicks through to what lies beneath it.
    WNDCLASSW cls{};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"OtherProgram";
    RegisterClassW(&cls);
    window_ = CreateWindowExW(0, cls.lpszClassName, L"other program",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 160, nullptr, nullptr,
                              cls.hInstance, nullptr);
  }
  ~OtherProgram() { DestroyWindow(window_); }
  HWND Window() const { return window_; }

 private:
  HWND window_;
};

// The pointer is moved on its own first, and the press and the release carry the point too:
// under Wine + Xvfb a motion of the pointer's that the X server reports late (from a move made
// before this one) can put the pointer back where it was between the move and the press.
void ClickAt(POINT screen) {
  INPUT input[3] = {};
  const DWORD to = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  const DWORD flags[3] = {to, to | MOUSEEVENTF_LEFTDOWN, to | MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 3; ++i) {
    input[i].type = INPUT_MOUSE;
    input[i].mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input[i].mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input[i].mi.dwFlags = flags[i];
  }
  SetCursorPos(screen.x, screen.y);
  SendInput(1, input, sizeof input[0]);
  WaitUntil([&] {
    POINT at;
    return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y;
  }, 5000);
  SendInput(2, input + 1, sizeof input[0]);
}

// A click in the middle of a control of the tool.
void ClickOn(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

POINT CaptionOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, rect.top + GetSystemMetrics(SM_CYFRAME) +
                                            GetSystemMetrics(SM_CYCAPTION) / 2};
}

// Where the pointer is and what lies under it, for a message.
std::string PointerOver(const MainWindow& main) {
  POINT at{};
  GetCursorPos(&at);
  const HWND under = WindowFromPoint(at);
  std::string what = "another window";
  if (under == nullptr) what = "nothing";
  else if (under == main.window) what = "the main window";
  else if (IsChild(main.window, under)) what = "control " + std::to_string(GetDlgCtrlID(under));
  return "the pointer is at (" + std::to_string(at.x) + ", " + std::to_string(at.y) + ") over " +
         what;
}

// Away to another window and back: by the window system's switch (what Alt+Tab ends in), and
// back by a click on the tool's caption. Wine without a window manager switches neither on
// Alt+Tab nor on an injected click into a window of the driver's own.
struct Switch {
  const char* how;
  void (*away)(HWND other);
  void (*back)(HWND tool);
};
const Switch kSwitches[] = {
    {"as Alt+Tab does", [](HWND other) { SetForegroundWindow(other); },
     [](HWND tool) { SetForegroundWindow(tool); }},
    {"back by a click on the caption", [](HWND other) { SetForegroundWindow(other); },
     [](HWND tool) { ClickAt(CaptionOf(tool)); }},
};

constexpr int kLoad = control::LoadButton, kList = control::ResolutionList,
              kRead = control::ReadButton, kApply = control::ApplyButton;
constexpr WORD kShift = VK_SHIFT;

TEST(Keyboard, TheWholeJobWithoutAMouse) {
  ScratchDirectory folder(L"keyboard");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = DirectorsCut();
  ASSERT_TRUE(WriteWholeFile(path, image));
  const Resolution& chosen = kResolutions[3];  // the last item: End
  ASSERT_EQ(std::wstring(chosen.item), L"1920 x 1080");
  bool closedByKeys = false;

  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    SetForegroundWindow(main.window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main.window; }));

    // Shown with the focus on the first tab stop, "修改".
    ASSERT_TRUE(FocusComesTo(main, kApply)) << "at first show";

    // Before a file has passed: the three buttons, never the hidden box or the locked list.
    Walk(main, {{{VK_TAB}, kRead}, {{VK_TAB}, kLoad}, {{VK_TAB}, kApply},
                {{VK_TAB, kShift}, kLoad}, {{VK_TAB, kShift}, kRead}, {{VK_TAB, kShift}, kApply}});

    // Space on "修改" and on "读取分辨率" with no file: nothing to write or read, no box.
    Press({VK_SPACE});
    Walk(main, {{{VK_TAB}, kRead}});
    Press({VK_SPACE});
    Walk(main, {{{VK_TAB}, kLoad}});
    EXPECT_TRUE(PostedMessagesHandled(c.list));
    EXPECT_EQ(ShownMessageBox(main.processId), nullptr);
    EXPECT_TRUE(FileHolds(path, image));

    // The open dialog opened by a key (0: a click on "加载tovrex.exe"), then cancelled by Escape
    // or given a typed path confirmed by Enter; the focus is back on the button afterwards.
    const auto openDialog = [&](WORD key, bool confirm) {
      if (key != 0) Press({key});
      else ClickOn(c.loadButton);
      HWND dialog = nullptr;
      ASSERT_TRUE(WaitUntil([&] { return (dialog = ShownOpenDialog(main.processId)) != nullptr; }))
          << PointerOver(main);
      const HWND nameBox = GetDlgItem(dialog, kFileNameBox);
      ASSERT_TRUE(WaitUntil([&] {
        const HWND focus = FocusOn(dialog);
        return focus != nullptr && (focus == nameBox || IsChild(nameBox, focus));
      })) << "the dialog takes typing in its file-name box";
      if (confirm) {
        Type(path);
        ASSERT_TRUE(WaitUntil([&] { return WindowText(nameBox) == path; }))
            << ::testing::PrintToString(WindowText(nameBox));
        Press({VK_RETURN});
      } else {
        Press({VK_ESCAPE});
      }
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
      ASSERT_TRUE(FocusComesTo(main, kLoad));
    };

    // The open dialog by Space; cancelled by Escape, then a typed path confirmed by Enter.
    for (bool confirm : {false, true}) {
      SCOPED_TRACE(confirm ? "confirmed" : "cancelled");
      openDialog(VK_SPACE, confirm);
      if (HasFatalFailure()) return;
    }

    // "读取分辨率" by Space: the file passes and the list joins the tab order.
    Walk(main, {{{VK_TAB, kShift}, kRead}});
    Press({VK_SPACE});
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));
    Walk(main, {{{VK_TAB}, kList}, {{VK_TAB}, kLoad}, {{VK_TAB}, kApply}, {{VK_TAB}, kRead},
                {{VK_TAB}, kList}});

    // The list by End, Home and the arrows.
    const struct {
      WORD key;
      const wchar_t* shows;
    } listKeys[] = {{VK_END, L"1920 x 1080"}, {VK_UP, L"1680 x 1050"}, {VK_HOME, L"1440 x 900"},
                    {VK_DOWN, L"1600 x 1200"}, {VK_END, L"1920 x 1080"}};
    for (const auto& k : listKeys) {
      Press({k.key});
      EXPECT_TRUE(WaitUntil([&] { return WindowText(c.list) == k.shows; }))
          << "key " << k.key << ": " << ::testing::PrintToString(WindowText(c.list));
    }

    // Away to another window and back: the focus is where it was.
    OtherProgram other;
    ASSERT_NE(other.Window(), nullptr);
    for (const Switch& s : kSwitches) {
      SCOPED_TRACE(s.how);
      s.away(other.Window());
      ASSERT_TRUE(WaitUntil([&] {
        Pump();
        return GetForegroundWindow() == other.Window();
      }));
      s.back(main.window);
      ASSERT_TRUE(WaitUntil([&] {
        Pump();
        return GetForegroundWindow() == main.window;
      }));
      EXPECT_TRUE(FocusComesTo(main, kList));
      EXPECT_EQ(WindowText(c.list), chosen.item);
    }

    // "修改" by Space writes the resolution shown in the list.
    Walk(main, {{{VK_TAB}, kLoad}, {{VK_TAB}, kApply}});
    Press({VK_SPACE});
    EXPECT_TRUE(WaitUntil([&] { return FieldsIn(path) == FieldBytes(chosen); }))
        << ::testing::PrintToString(FieldsIn(path));

    // With the mouse and Enter: a click on "加载tovrex.exe" and Escape, then Enter on the button
    // the focus came back to opens the dialog again, and the file is loaded again. A click on
    // "读取分辨率" reads, a click on "修改" writes; Enter on "修改", still focused after the click
    // or given the focus back after a switch of windows, writes what the list shows then. The
    // file compared whole after each write. (The pointer is left alone until the switches above
    // are done: Wine + Xvfb now and then puts a click where the pointer was before its move.)
    {
      SCOPED_TRACE("a click, cancelled");
      openDialog(0, false);
    }
    {
      SCOPED_TRACE("Enter, confirmed");
      openDialog(VK_RETURN, true);
    }
    if (HasFatalFailure()) return;
    const auto written = [&](const Resolution& r) {
      EXPECT_TRUE(WaitUntil([&] { return FieldsIn(path) == FieldBytes(r); }))
          << r.item << ": " << ::testing::PrintToString(FieldsIn(path));
      EXPECT_TRUE(FileHolds(path, Patched(image, r))) << r.item;
    };
    ClickOn(c.readButton);
    ASSERT_TRUE(FocusComesTo(main, kRead));
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    ASSERT_TRUE(SelectItem(c.list, kResolutions[0].item));
    ClickOn(c.applyButton);
    written(kResolutions[0]);
    ASSERT_TRUE(FocusComesTo(main, kApply)) << "after the click";
    ASSERT_TRUE(SelectItem(c.list, kResolutions[1].item));
    Press({VK_RETURN});
    written(kResolutions[1]);
    ASSERT_TRUE(SelectItem(c.list, kResolutions[2].item));
    kSwitches[0].away(other.Window());
    ASSERT_TRUE(WaitUntil([&] {
      Pump();
      return GetForegroundWindow() == other.Window();
    }));
    kSwitches[0].back(main.window);
    ASSERT_TRUE(FocusComesTo(main, kApply)) << "back from another window";
    Press({VK_RETURN});
    written(kResolutions[2]);

    // Alt+F4 closes the tool.
    Press({VK_F4, VK_MENU});
    closedByKeys = WaitUntil([&] { return !IsWindow(main.window); });
  });
  EXPECT_TRUE(closedByKeys) << "Alt+F4 closes the window";
  ExpectEndedCleanly(run);
  EXPECT_TRUE(FileHolds(path, Patched(image, kResolutions[2])));
}

}  // namespace
