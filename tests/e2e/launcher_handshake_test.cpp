// Started by its launcher, the tool runs as a copy whose name ends in ".tmp" and signals its
// start by clearing the first three bytes of the launcher's section; under any other name it
// leaves the section alone. A launcher fixture makes the section, starts the copy and reports.

#include <gtest/gtest.h>
#include <windows.h>

#include <cwctype>
#include <string>

#include "tool_driver.h"

namespace {

using namespace e2e;

struct LaunchReport {
  bool ended = false;
  DWORD exitCode = 0;
  std::string output;
};

// Runs the program with its output captured through a pipe.
LaunchReport RunForOutput(const std::wstring& commandLine) {
  LaunchReport report;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) return report;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring mutableLine = commandLine;
  const bool started = CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  CloseHandle(writeEnd);
  if (started) {
    char buffer[512];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0)
      report.output.append(buffer, read);
    report.ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    GetExitCodeProcess(process.hProcess, &report.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  // The fixture writes text-mode lines.
  for (size_t at; (at = report.output.find("\r\n")) != std::string::npos;)
    report.output.erase(at, 1);
  return report;
}

struct HandshakeCase {
  const wchar_t* fileName;
  bool sectionExists;
  const char* section;  // the fixture's verdict on the section
};

void PrintTo(const HandshakeCase& c, std::ostream* out) {
  for (const wchar_t* ch = c.fileName; *ch; ++ch) *out << static_cast<char>(*ch);
  *out << (c.sectionExists ? " with the section" : " without the section");
}

class LauncherHandshakeTest : public ::testing::TestWithParam<HandshakeCase> {};

TEST_P(LauncherHandshakeTest, SignalsOnlyFromATemporaryCopy) {
  const HandshakeCase& c = GetParam();
  const std::wstring fixture = BesideThisProgram(L"launcher_fixture.exe");
  const LaunchReport report =
      RunForOutput(L"\"" + fixture + L"\" \"" + c.fileName + L"\" " +
                   (c.sectionExists ? L"with-section" : L"without-section"));
  ASSERT_TRUE(report.ended);
  EXPECT_EQ(report.exitCode, 0u) << report.output;
  EXPECT_EQ(report.output, std::string("window: shown\nsection: ") + c.section +
                               "\nexit: 0\nbox: none\n");
}

INSTANTIATE_TEST_SUITE_P(
    Copies, LauncherHandshakeTest,
    ::testing::Values(HandshakeCase{L"quenmire-res.TMP", true, "signalled"},
                      HandshakeCase{L"quenmire-res.tmp", false, "none"},
                      HandshakeCase{L"quenmire-res.exe", true, "untouched"},
                      HandshakeCase{L"quenmire-res.tmpx", true, "untouched"},
                      HandshakeCase{L"Quenmire-Res.tMp", true, "signalled"},
                      HandshakeCase{L".tmp", true, "signalled"},    // the suffix is the whole name
                      HandshakeCase{L"tmp", true, "untouched"}),  // shorter than the suffix
    [](const ::testing::TestParamInfo<HandshakeCase>& info) {
      std::string name;
      for (const wchar_t* ch = info.param.fileName; *ch; ++ch)
        name += iswalnum(*ch) ? static_cast<char>(*ch) : '_';
      return name + (info.param.sectionExists ? "_withSection" : "_withoutSection");
    });

}  // namespace
