// The open-file dialog is modal, yet the tool's timer keeps ticking under it: the label follows
// the hidden signature box while the dialog stays open. The test changes that box itself, as the
// read button would, so each change can only reach the label through a tick.

#include <gtest/gtest.h>

#include <string>

#include "synthetic_executable.h"
#include "tool_driver.h"
#include "tool_expectations.h"

namespace {

using namespace e2e;

TEST(OpenDialog, TicksKeepUpdatingTheLabelWhileTheDialogIsOpen) {
  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    ASSERT_TRUE(ShowsVerdict(c.label, kNoFile, Ink::Black));

    HWND dialog = OpenLoadDialog(main);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main.window)) << "the dialog is modal";
    MoveClearOf(dialog, c.label);  // the label's ink is read off the screen

    PutText(c.signatureBox, kDirectorsCutValue);
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed on its own";
    EXPECT_EQ(DialogWindows(main.processId), std::vector<HWND>{dialog}) << "one dialog only";

    PutText(c.signatureBox, L"0");
    EXPECT_TRUE(ShowsVerdict(c.label, kFailed, Ink::Red));
    EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed on its own";

    EXPECT_TRUE(CancelDialog(dialog));
  });
  ExpectEndedCleanly(run);
}

}  // namespace
