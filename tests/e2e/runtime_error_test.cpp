// A runtime error in the tool as its user meets it: a build of the tool in which the library of
// one DLL declaration exists nowhere. Reading a loaded file's signature makes the first call of
// that declaration; the runtime shows its error box and the process ends with -1.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "synthetic_executable.h"
#include "tool_driver.h"
#include "tool_expectations.h"

namespace {

using namespace e2e;

TEST(RuntimeError, AnUnboundLibraryShowsTheErrorBoxAndEndsTheToolWithMinusOne) {
  ScratchDirectory folder(L"unbound");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = DirectorsCut();
  ASSERT_TRUE(WriteWholeFile(path, image));

  bool boxShown = false;
  const ToolRun run = RunTool(
      BesideThisProgram(L"quenmire-res-missing-library.exe"), [&](const MainWindow& main) {
        const MainControls c = ControlsOf(main);
        ASSERT_TRUE(c.AllFound());
        ASSERT_TRUE(LoadThroughDialog(main, path));
        Click(c.readButton);
        // Left up for the runner, which reads it and confirms it.
        boxShown = WaitUntil([&] { return ShownMessageBox(main.processId) != nullptr; });
        EXPECT_EQ(WindowText(c.signatureBox), L"") << "the handler went on after the error";
      });
  EXPECT_TRUE(boxShown);
  EXPECT_TRUE(run.windowShown);
  ASSERT_TRUE(run.outcome.ended);
  ASSERT_TRUE(run.outcome.box.shown);
  EXPECT_EQ(run.outcome.box.caption, L"错误");
  EXPECT_EQ(run.outcome.box.text,
            L"运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“qr-absent-library.dll”中的输出命令"
            L"“StrToIntExA”\r\n");
  EXPECT_TRUE(run.outcome.box.errorIcon);
  EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
  EXPECT_TRUE(FileHolds(path, image));
}

}  // namespace
