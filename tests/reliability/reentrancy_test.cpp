// Events that arrive out of turn: timer ticks while the open dialog waits, clicks on the main
// window while the dialog is up, and a close amid ticks or over the dialog. Nothing may run
// twice, nothing may crash, and the tool must still end cleanly.

#include <gtest/gtest.h>

#include "dialog_attempt.h"
#include "process_usage.h"
#include "tool_expectations.h"
#include "tool_session.h"

namespace reliability {
namespace {

using e2e::MainWindow;

constexpr int kTimerControl = 170;
constexpr UINT_PTR kSystemTimerId = 1000;

using e2e::CancelDialog;
using e2e::ExpectEndedCleanly;

HWND OpenDialog(const MainWindow& main) { return e2e::OpenLoadDialog(main); }

// The open dialog runs its own message loop (the ticks that run in it are checked with the
// label's ink by the end-to-end suite): a cancelled dialog opens no file, and a confirmed one
// opens exactly one.
TEST(Reentrancy, ACancelledLoadOpensNoFileAndAConfirmedOneOpensOne) {
  e2e::ScratchDirectory folder(L"ticks");
  const std::wstring path = folder / L"tovrex.exe";
  ASSERT_TRUE(e2e::WriteWholeFile(path, Image(kImageSize, 23)));
  const e2e::ToolRun run = e2e::RunTool(e2e::BuiltTool(), [&](const MainWindow& main) {
    const Controls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    // The system's first file dialog leaves handles of its own behind, and so does the first
    // tick, whose new caption the label announces through the system's accessibility service:
    // count after both.
    ASSERT_TRUE(e2e::NextTick(c.label));
    HWND first = OpenDialog(main);
    ASSERT_NE(first, nullptr);
    CancelDialog(first);
    const ProcessUsage before = UsageOf(main.processId);

    // Cancelled: no file was opened, and no other handle is kept. Registry keys are left out of
    // the count: the runtime opens none, and on a busy machine Wine's dialog keeps one key open
    // after some cancelled dialogs (seen: 30, 31, 32 keys over three, the rest unchanged). The
    // system may still take another handle of its own for good during a later dialog, so the
    // count is held over two more dialogs: whatever one dialog takes, the next must not take
    // again. The dialog's own threads, and the system's worker threads that it woke, may still
    // be closing what they held as it goes (a worker lets go after seconds of idling on a busy
    // machine): each count waits until it is back, or the time is up.
    const auto kept = [](const ProcessUsage& usage) { return usage.handles - usage.keyHandles; };
    const std::string kindsBefore = HandleKindsOf(main.processId);
    ProcessUsage afterSecond;
    ProcessUsage cancelled;
    std::string kindsAfter;
    for (ProcessUsage* usage : {&afterSecond, &cancelled}) {
      HWND dialog = OpenDialog(main);
      ASSERT_NE(dialog, nullptr);
      CancelDialog(dialog);
      const uint32_t expected = kept(usage == &afterSecond ? before : afterSecond);
      e2e::WaitUntil(
          [&] {
            *usage = UsageOf(main.processId);
            return kept(*usage) == expected;
          },
          15000);
      kindsAfter += "\n  after a dialog: " + HandleKindsOf(main.processId);
    }
    ASSERT_TRUE(before.read && afterSecond.read && cancelled.read);
    EXPECT_EQ(afterSecond.fileHandles, before.fileHandles);
    EXPECT_EQ(cancelled.fileHandles, before.fileHandles);
    EXPECT_LE(kept(afterSecond), kept(before) + 1) << "before: " << kindsBefore << kindsAfter;
    EXPECT_EQ(kept(cancelled), kept(afterSecond)) << "before: " << kindsBefore << kindsAfter;
    // A confirmed dialog also leaves handles of its own behind the first time; from then on each
    // load adds the one file it opens (the file loaded before stays open until the tool ends).
    ASSERT_TRUE(e2e::LoadThroughDialog(main, path));
    const ProcessUsage loaded = UsageOf(main.processId);
    ASSERT_TRUE(e2e::LoadThroughDialog(main, path));
    EXPECT_EQ(UsageOf(main.processId).fileHandles, loaded.fileHandles + 1)
        << "one load, one open file";
  });
  ExpectEndedCleanly(run);
}

// A click posted to a button of the main window while the dialog is up. The dialog disables the
// main window, so no mouse or key reaches it, but a posted click is handled all the same, from
// inside the dialog's own loop: its handler must run once and open nothing twice.
struct ClickCase {
  const char* what;
  int button;
  bool writes;  // the loaded file gets the selected resolution
};

class ClickWhileDialogTest : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ClickWhileDialogTest, RunsAtMostOnceAndOpensNoSecondDialog) {
  const ClickCase& row = GetParam();
  e2e::ScratchDirectory folder(L"click");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = Image(kImageSize, 25);
  ASSERT_TRUE(e2e::WriteWholeFile(path, image));
  const e2e::ToolRun run = e2e::RunTool(e2e::BuiltTool(), [&](const MainWindow& main) {
    const Controls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    ASSERT_TRUE(e2e::LoadThroughDialog(main, path));
    ASSERT_TRUE(Apply(c, kResolutions[3]));
    ASSERT_TRUE(e2e::SelectItem(c.list, kResolutions[1].item));
    const ProcessUsage before = UsageOf(main.processId);

    HWND dialog = OpenDialog(main);
    ASSERT_NE(dialog, nullptr);
    e2e::Click(GetDlgItem(main.window, row.button));
    // Handled in order behind the click: the emptied selection shows it has been dealt with.
    PostMessageW(c.list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(c.list, CB_GETCURSEL, 0, 0) == CB_ERR; }))
        << "the click to be handled";
    // A second dialog would have been made inside the click's handler, so before the marker ran
    // in its loop: it exists now, shown or not.
    EXPECT_EQ(DialogWindows(main.processId, false), std::vector<HWND>{dialog});
    for (HWND d : DialogWindows(main.processId)) CancelDialog(d);
    EXPECT_TRUE(IsWindowEnabled(main.window));
    const ProcessUsage after = UsageOf(main.processId);
    ASSERT_TRUE(before.read && after.read);
    EXPECT_EQ(after.handles, before.handles) << "no file opened";
  });
  ExpectEndedCleanly(run);
  const Resolution& expected = row.writes ? kResolutions[1] : kResolutions[3];
  EXPECT_EQ(FieldsIn(path), std::vector<uint8_t>(expected.fields, expected.fields + 4));
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, ClickWhileDialogTest,
    ::testing::Values(
        // The patch runs once, on the file loaded before the dialog came up.
        ClickCase{"OnApply", e2e::control::ApplyButton, true},
        // The dialog is already up: the second ask fails, nothing else happens.
        ClickCase{"OnLoad", e2e::control::LoadButton, false}),
    [](const auto& info) { return std::string(info.param.what); });

// Ticks posted around the close: each is handled whole before the next message, so a close
// never lands inside a tick's handler; ticks behind the close find the window gone.
struct CloseCase {
  const char* what;
  int ticksBefore, ticksAfter;
};

// The tool's window thread held still while messages are posted to it, so that they land in its
// queue as one run: the tool's own timer ticks only when no posted message waits, so none of
// its ticks comes between them.
class HeldThread {
 public:
  explicit HeldThread(HWND window)
      : thread_(OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window, nullptr))) {
    held_ = thread_ != nullptr && SuspendThread(thread_) != static_cast<DWORD>(-1);
  }
  ~HeldThread() {
    if (held_) ResumeThread(thread_);
    if (thread_ != nullptr) CloseHandle(thread_);
  }
  HeldThread(const HeldThread&) = delete;
  HeldThread& operator=(const HeldThread&) = delete;
  bool Held() const { return held_; }

 private:
  HANDLE thread_;
  bool held_ = false;
};

void PostTicks(HWND timer, int count) {
  for (int i = 0; i < count; ++i) PostMessageW(timer, WM_TIMER, kSystemTimerId, 0);
}

class CloseAmidTicksTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(CloseAmidTicksTest, PostedTicksRunAndTheToolEndsCleanly) {
  const CloseCase& row = GetParam();
  const e2e::ToolRun run = e2e::RunTool(e2e::BuiltTool(), [&](const MainWindow& main) {
    const Controls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    HWND timer = GetDlgItem(main.window, kTimerControl);
    ASSERT_NE(timer, nullptr);
    if (row.ticksBefore > 0) {
      // The posted ticks are handled: the passing signature typed into the box, then the ticks,
      // all in one run. Only a tick judges the box, and the tool's own ticks cannot come
      // between, so the verdict after them is the posted ticks' doing.
      {
        HeldThread held(main.window);
        ASSERT_TRUE(held.Held()) << "the tool's window thread could not be held";
        PostMessageW(c.signatureBox, EM_SETSEL, 0, -1);
        for (wchar_t digit : std::wstring(L"1701996868"))
          PostMessageW(c.signatureBox, WM_CHAR, digit, 0);
        PostTicks(timer, row.ticksBefore);
      }
      ASSERT_TRUE(e2e::PostedMessagesHandled(c.list)) << "the posted ticks to be handled";
      EXPECT_EQ(WindowText(c.signatureBox), L"1701996868");
      EXPECT_EQ(WindowText(c.label), e2e::kPassed) << "the posted ticks judged the box";
    }
    HeldThread held(main.window);
    ASSERT_TRUE(held.Held()) << "the tool's window thread could not be held";
    PostTicks(timer, row.ticksBefore);
    PostMessageW(main.window, WM_CLOSE, 0, 0);
    PostTicks(timer, row.ticksAfter);
  });
  ExpectEndedCleanly(run);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, CloseAmidTicksTest,
    ::testing::Values(CloseCase{"TickThenClose", 1, 0}, CloseCase{"CloseThenTick", 0, 1},
                      CloseCase{"CloseAmidManyTicks", 50, 50}),
    [](const auto& info) { return std::string(info.param.what); });

// Closing the main window while its open dialog waits: the dialog goes with its owner, the load
// handler finds nothing chosen, and the process ends as after any close.
TEST(Reentrancy, ACloseWhileTheDialogWaitsEndsCleanly) {
  const e2e::ToolRun run = e2e::RunTool(e2e::BuiltTool(), [&](const MainWindow& main) {
    HWND dialog = OpenDialog(main);
    ASSERT_NE(dialog, nullptr);
    PostMessageW(main.window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(main.window); }));
  });
  ExpectEndedCleanly(run);
}

}  // namespace
}  // namespace reliability
