// The runtime as only a process shows it: exit codes, the shut-down order, Exit from another
// thread, and the error box read through the window system.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_runner.h"

namespace {

struct FixtureRun {
  ProcessOutcome outcome;
  std::vector<std::string> log;
};

FixtureRun RunFixture(const std::string& scenario, RunOptions options = {},
                      const std::wstring& program = BesideThisProgram(L"runtime_fixture.exe")) {
  static int runs = 0;
  const std::wstring log = TempPath(L"qr-fixture-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(++runs) + L".log");
  DeleteFileW(log.c_str());
  const std::wstring line = L"\"" + program + L"\" " +
                            std::wstring(scenario.begin(), scenario.end()) + L" \"" + log + L"\"";
  FixtureRun run{RunProcess(line, options), ReadLines(log)};
  DeleteFileW(log.c_str());
  return run;
}

using Lines = std::vector<std::string>;

template <typename Case>
std::string ScenarioName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = info.param.scenario;
  for (char& ch : name)
    if (ch == '-') ch = '_';
  return name;
}

void SendExitRequest(DWORD processId) {
  // The process's first window may be one the system makes for it (such as its input-method
  // window) a moment before the runtime's own: give the owner window a little time.
  HWND owner = nullptr;
  ASSERT_TRUE(PollUntil(
      [&] { return (owner = FindProcessWindow(processId, L"_Kw_HideOwner")) != nullptr; }, 5000))
      << "the runtime's hidden owner window (_Kw_HideOwner) did not appear within 5 s";
  EXPECT_FALSE(IsWindowVisible(owner));
  // Created with style 0; the system adds the caption bits of an overlapped window itself.
  EXPECT_EQ(GetWindowLongW(owner, GWL_STYLE) & (WS_VISIBLE | WS_CHILD | WS_POPUP), 0);
  EXPECT_TRUE(GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetParent(owner), nullptr);
  SendMessageTimeoutW(owner, 0x83E7, 9, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}

// Every way out but a runtime error: the exit code, and what ran on the way, in order.
struct EndCase {
  const char* scenario;
  DWORD exitCode;
  Lines log;
  void (*whileRunning)(DWORD processId) = nullptr;
};

class ShutDownTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(ShutDownTest, EndsWithItsCodeAfterTheCleanupRanOnceOnTheGuiThread) {
  const EndCase& c = GetParam();
  RunOptions options;
  options.whileRunning = c.whileRunning;
  const FixtureRun run = RunFixture(c.scenario, options);
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_FALSE(run.outcome.box.shown);
  EXPECT_EQ(run.outcome.exitCode, c.exitCode);
  EXPECT_EQ(run.log, c.log);
}

const Lines kExitLog = {"notify 1", "started", "cleanup on gui thread, owner alive", "notify 6"};

INSTANTIATE_TEST_SUITE_P(
    Ends, ShutDownTest,
    ::testing::Values(
        // Clean-up routines, then the libraries, then the objects still open (after the hidden
        // owner window is gone).
        EndCase{"normal", 0,
                {"notify 1", "started", "owner alive", "returned",
                 "cleanup on gui thread, owner alive", "notify 6", "object closed, owner gone"}},
        EndCase{"exit5", 5, kExitLog},
        // Exit called on a second thread hands the shut-down to the GUI thread.
        EndCase{"thread-exit", 7, kExitLog},
        // The hidden owner window answers its message by ending the process with that code.
        EndCase{"wait", 9, kExitLog, SendExitRequest},
        // The shut-down entered again from a clean-up routine, by Exit and by the hidden owner's
        // message from another thread's Exit: the routines still listed run, each once, and the
        // first code stands.
        EndCase{"exit-in-cleanup", 5,
                {"notify 1", "started", "cleanup on gui thread, owner alive", "second cleanup",
                 "notify 6"}},
        EndCase{"exit-request-in-cleanup", 0,
                {"notify 1", "started", "returned", "cleanup on gui thread, owner alive",
                 "second cleanup", "notify 6"}},
        // A routine that registers itself again while it runs is not run again.
        EndCase{"cleanup-registers-itself", 0,
                {"notify 1", "started", "returned", "cleanup on gui thread, owner alive",
                 "notify 6"}}),
    ScenarioName<EndCase>);

TEST(StartUp, TheExecutableDirectoryBecomesTheCurrentDirectory) {
  RunOptions options;
  options.workingDirectory = TempPath(L"");
  const FixtureRun run = RunFixture("paths", options);
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_EQ(run.outcome.exitCode, 0u);
  std::wstring dir = BesideThisProgram(L"");
  dir.pop_back();  // no final backslash
  const std::string expected(dir.begin(), dir.end());
  ASSERT_GE(run.log.size(), 6u);
  EXPECT_EQ(run.log[2], "current " + expected);
  EXPECT_EQ(run.log[3], "directory " + expected);
  EXPECT_EQ(run.log[4], "name runtime_fixture.exe");
  EXPECT_EQ(run.log[5], "command name runtime_fixture.exe");
}

// The folder an ANSI path of the log names, by its long form; empty when it names none.
std::wstring FolderNamed(const std::string& line, const std::string& prefix) {
  if (line.rfind(prefix, 0) != 0) return {};
  wchar_t wide[MAX_PATH] = {}, longForm[MAX_PATH] = {};
  const std::string path = line.substr(prefix.size());
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path.c_str(), -1, wide, MAX_PATH) == 0)
    return {};
  if (GetLongPathNameW(wide, longForm, MAX_PATH) == 0) return {};
  return longForm;
}

// Started from a folder whose name the code page may not spell, the runtime names that very
// folder (by its short form where it must), makes it current, and keeps its own long file name.
TEST(StartUp, AChineseNamedFolderBecomesTheCurrentDirectory) {
  const std::wstring folder =
      TempPath(L"qr-fixture-" + std::to_wstring(GetCurrentProcessId()) + L"-游戏目录");
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring copy = folder + L"\\runtime_fixture.exe";
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"runtime_fixture.exe").c_str(), copy.c_str(), FALSE));
  wchar_t longFolder[MAX_PATH] = {};
  ASSERT_NE(GetLongPathNameW(folder.c_str(), longFolder, MAX_PATH), 0u);

  const FixtureRun run = RunFixture("paths", {}, copy);
  EXPECT_TRUE(run.outcome.ended);
  EXPECT_EQ(run.outcome.exitCode, 0u);
  if (run.log.size() >= 6) {
    EXPECT_EQ(FolderNamed(run.log[2], "current "), longFolder) << run.log[2];
    EXPECT_EQ(FolderNamed(run.log[3], "directory "), longFolder) << run.log[3];
    EXPECT_EQ(run.log[4], "name runtime_fixture.exe");
    EXPECT_EQ(run.log[5], "command name runtime_fixture.exe");
  } else {
    ADD_FAILURE() << "the log ends early: " << ::testing::PrintToString(run.log);
  }
  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
}

// Every runtime error: the box's exact text, its caption, exit code -1, and no clean-up.
struct ErrorCase {
  const char* scenario;
  const wchar_t* text;
};

class RuntimeErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RuntimeErrorTest, ShowsTheBoxThenEndsWithMinusOneWithoutCleanup) {
  const ErrorCase& c = GetParam();
  const FixtureRun run = RunFixture(c.scenario);
  ASSERT_TRUE(run.outcome.ended);
  ASSERT_TRUE(run.outcome.box.shown);
  EXPECT_EQ(run.outcome.box.caption, L"错误");
  EXPECT_EQ(run.outcome.box.text, c.text);
  EXPECT_TRUE(run.outcome.box.errorIcon);
  EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "notify 6"}));  // libraries told, no clean-up
}

INSTANTIATE_TEST_SUITE_P(
    Box, RuntimeErrorTest,
    ::testing::Values(
        ErrorCase{"index0", L"运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
        ErrorCase{"index2", L"运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        ErrorCase{"error0", L"运行时出错!\r\n\r\n"},
        ErrorCase{"command-message", L"运行时出错!\r\n\r\n错误信息：不能求余数于零\r\n"},
        ErrorCase{"remainder-zero", L"运行时出错!\r\n\r\n错误信息：不能求余数于零\r\n"},
        ErrorCase{"alloc", L"运行时出错!\r\n\r\n错误信息：分配 2000000000 字节内存失败!\r\n"},
        ErrorCase{"request-alloc", L"运行时出错!\r\n\r\n错误信息：分配 4294967280 字节内存失败!\r\n"},
        // Allocations made by library containers inside the runtime fail as the runtime's own do:
        // a command building its text (the 44-byte text's copy) and the open-object list growing.
        ErrorCase{"alloc-text", L"运行时出错!\r\n\r\n错误信息：分配 45 字节内存失败!\r\n"},
        ErrorCase{"alloc-object", L"运行时出错!\r\n\r\n错误信息：分配 8 字节内存失败!\r\n"},
        // The clean-up list growing: the report empties that very list, and the process ends.
        ErrorCase{"alloc-register", L"运行时出错!\r\n\r\n错误信息：分配 8 字节内存失败!\r\n"},
        // A block size that does not fit 32 bits is refused as it is, never wrapped to a small one.
        ErrorCase{"size-wrap", L"运行时出错!\r\n\r\n错误信息：分配 4294967297 字节内存失败!\r\n"},
        // An exception that nothing catches (a container asked beyond its limit) ends through
        // the reporter too, never in abort() with exit code 3.
        ErrorCase{"container-limit", L"运行时出错!\r\n\r\n"},
        ErrorCase{"no-window", L"运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        ErrorCase{"require-object", L"运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n"},
        ErrorCase{"property", L"运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n"},
        ErrorCase{"dll-missing",
                  L"运行时出错!\r\n\r\n错误信息：无法找到指定DLL库文件“no-such-library.dll”中的输出命令“Nothing”\r\n"},
        ErrorCase{"dll-removes-more", L"运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
        ErrorCase{"dll-removes-fewer", L"运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
        ErrorCase{"dll-records-removes-fewer", L"运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：调用DLL命令后发现堆栈错误\r\n"},
        ErrorCase{"text-to-number", L"运行时出错!\r\n\r\n错误信息：欲转换数据类型不是数值\r\n"}),
    ScenarioName<ErrorCase>);

// Binding a DLL command builds the paths it tries, whose length depends on where the fixture
// lies: the box names that size, whatever it is.
TEST(AllocationFailure, InDllBindingShowsTheAllocationBox) {
  const FixtureRun run = RunFixture("alloc-dll");
  ASSERT_TRUE(run.outcome.ended);
  ASSERT_TRUE(run.outcome.box.shown);
  const std::wstring head = L"运行时出错!\r\n\r\n错误信息：分配 ", tail = L" 字节内存失败!\r\n";
  const std::wstring& text = run.outcome.box.text;
  ASSERT_GT(text.size(), head.size() + tail.size());
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  const std::wstring size = text.substr(head.size(), text.size() - head.size() - tail.size());
  EXPECT_EQ(size.find_first_not_of(L"0123456789"), std::wstring::npos);
  EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "notify 6"}));
}

// What the step below saw: the box's text when the exit request went to the hidden owner, and
// whether the process then ended by itself, the box never answered.
struct RequestDuringTheBox {
  std::wstring boxText;
  bool endedWithTheBoxUp = false;
} requestDuringTheBox;

void SendExitRequestWhileTheBoxIsUp(DWORD processId) {
  requestDuringTheBox = {};
  HWND box = nullptr;
  ASSERT_TRUE(PollUntil(
      [&] { return (box = FindProcessWindow(processId, L"#32770")) != nullptr && IsWindowVisible(box); },
      15000))
      << "no error box within 15 s";
  PollUntil([&] { return !LongestStaticText(box).empty(); }, 5000);
  requestDuringTheBox.boxText = LongestStaticText(box);
  const HWND owner = FindProcessWindow(processId, L"_Kw_HideOwner");
  ASSERT_NE(owner, nullptr);
  // Any program of the desktop may post it; the box's own message loop takes it.
  PostMessageW(owner, 0x83E7, 9, 0);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  ASSERT_NE(process, nullptr);
  requestDuringTheBox.endedWithTheBoxUp = WaitForSingleObject(process, 15000) == WAIT_OBJECT_0;
  CloseHandle(process);
}

// The error is settled before the box shows: an exit request that arrives while it is up runs no
// clean-up and does not change the exit code.
TEST(RuntimeError, AnExitRequestWhileTheBoxIsUpEndsWithMinusOneWithoutCleanup) {
  RunOptions options;
  options.whileRunning = SendExitRequestWhileTheBoxIsUp;
  options.answerBoxes = false;
  const FixtureRun run = RunFixture("index2", options);
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_EQ(requestDuringTheBox.boxText,
            L"运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
  EXPECT_TRUE(requestDuringTheBox.endedWithTheBoxUp);
  EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "notify 6"}));
}

// The user closes the main window while another thread's error box is up: the loop ends as
// usual, and the committed error still decides the exit code.
void CloseTheMainWindowWhileTheBoxIsUp(DWORD processId) {
  HWND box = nullptr, main = nullptr;
  ASSERT_TRUE(PollUntil(
      [&] {
        box = FindProcessWindow(processId, L"#32770");
        main = FindProcessWindow(processId, L"FixtureMain");
        return box != nullptr && IsWindowVisible(box) && main != nullptr;
      },
      15000))
      << "no error box beside the main window within 15 s";
  PostMessageW(main, WM_CLOSE, 0, 0);
}

TEST(RuntimeError, ReportedOnAnotherThreadItOutlastsTheMainWindowsClosing) {
  RunOptions options;
  options.whileRunning = CloseTheMainWindowWhileTheBoxIsUp;
  options.answerBoxes = false;
  const FixtureRun run = RunFixture("thread-error-then-close", options);
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "returned", "notify 6"}));
}

TEST(ErrorHandler, AnAnswerOtherThanZeroTakesThePlaceOfTheBox) {
  const FixtureRun run = RunFixture("handler-answers");
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_FALSE(run.outcome.box.shown);
  EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "handler 4 数组成员引用下标必须大于等于1", "notify 6"}));
}

TEST(ErrorHandler, AReportInsideTheHandlerShowsItsBoxAtOnce) {
  const FixtureRun run = RunFixture("handler-reports");
  ASSERT_TRUE(run.outcome.ended);
  ASSERT_TRUE(run.outcome.box.shown);
  EXPECT_EQ(run.outcome.box.text, L"运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
  EXPECT_EQ(run.outcome.exitCode, 0xFFFFFFFFu);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "handler 4", "notify 6"}));
}

TEST(DllCommands, ArgumentsAndResultsPassUnchanged) {
  const FixtureRun run = RunFixture("dll-call");
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_EQ(run.outcome.exitCode, 0u);
  EXPECT_FALSE(run.outcome.box.shown);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "pid matches", "ticks plausible", "hex 1 3850784",
                            "returned", "cleanup on gui thread, owner alive", "notify 6"}));
}

TEST(DllCommands, ArgumentRecordsBecomeTheFunctionsArguments) {
  const FixtureRun run = RunFixture("dll-records");
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_EQ(run.outcome.exitCode, 0u);
  EXPECT_FALSE(run.outcome.box.shown);
  EXPECT_EQ(run.log, (Lines{"notify 1", "started", "pid matches", "hex 1 3850784",
                            "length of text 5, of bytes 3", "no bytes pass null", "int64 product 6",
                            "returned", "cleanup on gui thread, owner alive", "notify 6"}));
}

}  // namespace
