// Binding DLL commands as a process shows it: which library files are loaded and in what order,
// what is looked up, what is released, what the calls return, and the box when binding fails.
// The fixture runs from a directory layout made here:
//
//   ROOT\beside\  binding_fixture.exe and probe.dll, lean build: Identify only (answers 1)
//   ROOT\alone\   binding_fixture.exe and no probe.dll
//   ROOT\onpath\  probe.dll, full build: Identify (answers 2), Collect, ordinal 12; on the PATH
//
// so a bare "probe.dll" is found beside the fixture when there is one, and otherwise only through
// the system's search, in ROOT\onpath.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_runner.h"

namespace {

using Lines = std::vector<std::string>;

std::wstring root;
std::wstring pathBefore;

std::wstring Below(const std::wstring& relative) { return root + L"\\" + relative; }

void MakeLayout() {
  root = TempPath(L"qr-binding-" + std::to_wstring(GetCurrentProcessId()));
  for (const wchar_t* dir : {L"", L"\\beside", L"\\alone", L"\\onpath"})
    ASSERT_TRUE(CreateDirectoryW((root + dir).c_str(), nullptr));
  const std::pair<const wchar_t*, const wchar_t*> copies[] = {
      {L"binding_fixture.exe", L"beside\\binding_fixture.exe"},
      {L"binding_fixture.exe", L"alone\\binding_fixture.exe"},
      {L"probe_lean\\probe.dll", L"beside\\probe.dll"},
      {L"probe_full\\probe.dll", L"onpath\\probe.dll"},
  };
  for (const auto& [from, to] : copies)
    ASSERT_TRUE(CopyFileW(BesideThisProgram(from).c_str(), Below(to).c_str(), FALSE)) << from;

  wchar_t path[32767] = {};
  GetEnvironmentVariableW(L"PATH", path, 32767);
  pathBefore = path;
  SetEnvironmentVariableW(L"PATH", (Below(L"onpath") + L";" + pathBefore).c_str());
}

void RemoveLayout() {
  SetEnvironmentVariableW(L"PATH", pathBefore.c_str());
  for (const wchar_t* file : {L"beside\\binding_fixture.exe", L"alone\\binding_fixture.exe",
                              L"beside\\probe.dll", L"onpath\\probe.dll"})
    DeleteFileW(Below(file).c_str());
  for (const wchar_t* dir : {L"beside", L"alone", L"onpath"}) RemoveDirectoryW(Below(dir).c_str());
  RemoveDirectoryW(root.c_str());
}

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring WithRoot(std::wstring text) {
  const size_t at = text.find(L"ROOT");
  if (at != std::wstring::npos) text.replace(at, 4, root);
  return text;
}

struct BindingCase {
  const char* name;
  const char* scenario;
  const char* layout;     // the directory the fixture runs from
  const char* drivePath;  // below ROOT: the library of the declarations named with a drive
  Lines log;
  const wchar_t* error = nullptr;  // the box's message; null: the run ends normally
};

void PrintTo(const BindingCase& c, std::ostream* out) { *out << c.name; }

class Binding : public ::testing::TestWithParam<BindingCase> {
 protected:
  static void SetUpTestSuite() { MakeLayout(); }
  static void TearDownTestSuite() { RemoveLayout(); }
};

TEST_P(Binding, LoadsLooksUpAndReleasesAsDeclared) {
  const BindingCase& c = GetParam();
  const std::wstring log = Below(Widened(c.name) + L".log");
  const std::wstring line = L"\"" + Below(Widened(c.layout) + L"\\binding_fixture.exe") + L"\" " +
                            Widened(c.scenario) + L" \"" + log + L"\" \"" + root + L"\" " +
                            Widened(c.drivePath);
  const ProcessOutcome outcome = RunProcess(line);
  const Lines seen = ReadLines(log);
  DeleteFileW(log.c_str());

  ASSERT_TRUE(outcome.ended);
  EXPECT_EQ(seen, c.log);
  if (c.error == nullptr) {
    EXPECT_FALSE(outcome.box.shown) << outcome.box.text;
    EXPECT_EQ(outcome.exitCode, 0u);
  } else {
    ASSERT_TRUE(outcome.box.shown);
    EXPECT_EQ(outcome.box.text, L"运行时出错!\r\n\r\n错误信息：" + WithRoot(c.error) + L"\r\n");
    EXPECT_EQ(outcome.exitCode, 0xFFFFFFFFu);
  }
}

const char kBeside[] = "ROOT\\beside\\probe.dll";
const char kOnPath[] = "ROOT\\onpath\\probe.dll";

INSTANTIATE_TEST_SUITE_P(
    Dll, Binding,
    ::testing::Values(
        // The first call binds, the second goes straight to the function. A second declaration
        // of the same export binds on its own with a load of its own, and each load is released
        // once at shut-down. The declarations never called leave their library unloaded.
        BindingCase{"twice", "twice", "beside", "onpath\\probe.dll",
                    {std::string("load ") + kBeside, "lookup Identify", "Identify 1", "Identify 1",
                     std::string("load ") + kBeside, "lookup Identify", "again 1",
                     "drive-path library not loaded", "returned",
                     std::string("release ") + kBeside, std::string("release ") + kBeside}},
        // A library beside the program comes first; when it lacks the export, binding fails even
        // though the copy that the system's search finds later has it (see the next case).
        BindingCase{"beside_lacks_export", "collect", "beside", "onpath\\probe.dll",
                    {std::string("load ") + kBeside, "lookup Identify", "Identify 1",
                     std::string("load ") + kBeside, "lookup Collect missing",
                     std::string("release ") + kBeside,
                     std::string("release ") + kBeside},  // the reporter's exit releases the first
                    L"无法找到指定DLL库文件“probe.dll”中的输出命令“Collect”"},
        // Nothing beside the program: the program's directory (which is also the runtime's, so
        // it is tried once), then the name alone, which the system finds on the PATH. Arguments
        // arrive first to first and the result comes back as the function gave it.
        BindingCase{"found_by_the_system", "collect", "alone", "onpath\\probe.dll",
                    {"load ROOT\\alone\\probe.dll failed", "load probe.dll", "lookup Identify",
                     "Identify 2", "load ROOT\\alone\\probe.dll failed", "load probe.dll", "lookup Collect", "Collect 89abcdef 11111111 ffffffff 80000000",
                     "returned", "release probe.dll", "release probe.dll"}},
        // "#12" is ordinal 12, and so is "#65548", cut to 16 bits; the message keeps the "#" form.
        BindingCase{"ordinal", "ordinal", "beside", "onpath\\probe.dll",
                    {std::string("load ") + kOnPath, "lookup #12", "#12 12",
                     std::string("load ") + kOnPath, "lookup #12", "#65548 12",
                     std::string("load ") + kBeside, "lookup #12 missing",
                     std::string("release ") + kBeside, std::string("release ") + kOnPath,
                     std::string("release ") + kOnPath},
                    L"无法找到指定DLL库文件“probe.dll”中的输出命令“#12”"},
        // A name with a drive is loaded from that path alone.
        BindingCase{"drive_path", "drive-path", "beside", "onpath\\probe.dll",
                    {std::string("load ") + kOnPath, "lookup Identify", "Identify 2",
                     "drive-path library loaded", std::string("load ") + kOnPath, "lookup Collect",
                     "Collect 89abcdef 11111111 ffffffff 80000000", "returned",
                     std::string("release ") + kOnPath, std::string("release ") + kOnPath}},
        BindingCase{"drive_path_missing", "drive-path", "beside", "missing\\probe.dll",
                    {"load ROOT\\missing\\probe.dll failed"},
                    L"无法找到指定DLL库文件“ROOT\\missing\\probe.dll”中的输出命令“Identify”"},
        // No library named: the six default libraries in order; the one that exports the name
        // stays loaded, every one tried before it is released.
        BindingCase{"default_libraries", "defaults", "beside", "onpath\\probe.dll",
                    {"load Kernel32.dll", "lookup DragAcceptFiles missing", "release Kernel32.dll",
                     "load Gdi32.dll", "lookup DragAcceptFiles missing", "release Gdi32.dll",
                     "load User32.dll", "lookup DragAcceptFiles missing", "release User32.dll",
                     "load Advapi32.dll", "lookup DragAcceptFiles missing", "release Advapi32.dll",
                     "load Mpr.dll", "lookup DragAcceptFiles missing", "release Mpr.dll",
                     "load Shell32.dll", "lookup DragAcceptFiles",
                     "bound to Shell32's DragAcceptFiles",
                     "load Kernel32.dll", "lookup NoSuchExport missing", "release Kernel32.dll",
                     "load Gdi32.dll", "lookup NoSuchExport missing", "release Gdi32.dll",
                     "load User32.dll", "lookup NoSuchExport missing", "release User32.dll",
                     "load Advapi32.dll", "lookup NoSuchExport missing", "release Advapi32.dll",
                     "load Mpr.dll", "lookup NoSuchExport missing", "release Mpr.dll",
                     "load Shell32.dll", "lookup NoSuchExport missing", "release Shell32.dll",
                     "release Shell32.dll"},
                    L"无法找到指定DLL库文件中的输出命令“NoSuchExport”"},
        // The runtime's own system functions (the common dialog's) bind through the same
        // loader at first use: a library that cannot be loaded ends in the binding error box.
        BindingCase{"dialog_library_missing", "no-dialog-library", "beside", "onpath\\probe.dll",
                    {"load comdlg32.dll failed"},
                    L"无法找到指定DLL库文件“comdlg32.dll”中的输出命令“GetOpenFileNameW”"}),
    [](const ::testing::TestParamInfo<BindingCase>& info) { return std::string(info.param.name); });

TEST(ApplicationDeclarations, EveryOneBindsOnThisSystem) {
  const std::wstring log = TempPath(L"qr-app-dll-" + std::to_wstring(GetCurrentProcessId()) + L".log");
  DeleteFileW(log.c_str());
  const ProcessOutcome outcome =
      RunProcess(L"\"" + BesideThisProgram(L"app_declarations_fixture.exe") + L"\" \"" + log + L"\"");
  const Lines seen = ReadLines(log);
  DeleteFileW(log.c_str());

  ASSERT_TRUE(outcome.ended);
  // A declaration that does not bind names itself in the box.
  EXPECT_FALSE(outcome.box.shown) << outcome.box.text;
  EXPECT_EQ(outcome.exitCode, 0u);
  ASSERT_EQ(seen.size(), 20u);
  for (size_t index = 0; index < seen.size(); ++index)
    EXPECT_EQ(seen[index].substr(0, seen[index].find(' ')), std::to_string(index));
}

}  // namespace
