// A launcher as the tool meets it: makes the launcher's named section (unless told not to),
// copies the tool to the file name given, starts the copy, closes it once its window is up, and
// reports on its output what the copy did, one line each:
//   window: shown | none
//   section: signalled (first three bytes zero, the rest as filled) | untouched | changed ... | none
//   exit: <exit code>
//   box: none | shown
// Usage: launcher_fixture <copy's file name> with-section|without-section
// Exit code 0 when the report is complete, 2 when the launcher could not set itself up.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tool_driver.h"

namespace {

using namespace e2e;

// The launcher's section, filled with a byte the tool never writes.
class LauncherSection {
 public:
  static constexpr uint32_t kSize = 4096;
  static constexpr uint8_t kFill = 0xAB;

  LauncherSection() {
    // "Ｎｅｘａｒ－ＱＶ" in GBK. The tool opens it by this name through the A function; made the
    // same way here, both sides convert the name with the same code page.
    const char name[] = "\xA3\xCE\xA3\xE5\xA3\xF8\xA3\xE1\xA3\xF2\xA3\xAD\xA3\xD1\xA3\xD6";
    section_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, name);
    existedBefore_ = GetLastError() == ERROR_ALREADY_EXISTS;
    if (section_ != nullptr)
      view_ = static_cast<uint8_t*>(MapViewOfFile(section_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (view_ != nullptr) std::memset(view_, kFill, kSize);
  }
  ~LauncherSection() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    if (section_ != nullptr) CloseHandle(section_);
  }
  LauncherSection(const LauncherSection&) = delete;
  LauncherSection& operator=(const LauncherSection&) = delete;

  bool Made() const { return view_ != nullptr && !existedBefore_; }
  std::vector<uint8_t> Content() const { return {view_, view_ + kSize}; }

 private:
  HANDLE section_ = nullptr;
  uint8_t* view_ = nullptr;
  bool existedBefore_ = false;
};

std::string SectionVerdict(const std::vector<uint8_t>& seen) {
  std::vector<uint8_t> signalled(LauncherSection::kSize, LauncherSection::kFill);
  std::fill_n(signalled.begin(), 3, 0);
  if (seen == signalled) return "signalled";
  if (seen == std::vector<uint8_t>(LauncherSection::kSize, LauncherSection::kFill))
    return "untouched";
  if (seen.size() != LauncherSection::kSize) return "not read";
  char verdict[64];
  std::snprintf(verdict, sizeof verdict, "changed at 0x%X", static_cast<unsigned>(FirstDifference(
                                                              seen, signalled)));
  return verdict;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: launcher_fixture <file name> with-section|without-section\n");
    return 2;
  }
  wchar_t fileName[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, argv[1], -1, fileName, MAX_PATH);
  const bool withSection = std::strcmp(argv[2], "with-section") == 0;

  std::optional<LauncherSection> section;
  if (withSection && !section.emplace().Made()) {
    std::printf("the section could not be made, or was there already\n");
    return 2;
  }
  ScratchDirectory folder(L"launcher");
  const std::wstring copy = folder / fileName;
  if (!CopyFileW(BuiltTool().c_str(), copy.c_str(), FALSE)) {
    std::printf("the tool could not be copied\n");
    return 2;
  }

  // The signal is given before the window is made.
  std::vector<uint8_t> seen;
  const ToolRun run = RunTool(copy, [&](const MainWindow&) {
    if (section) seen = section->Content();
  });
  std::printf("window: %s\n", run.windowShown ? "shown" : "none");
  std::printf("section: %s\n", section ? SectionVerdict(seen).c_str() : "none");
  if (run.outcome.ended)
    std::printf("exit: %lu\n", static_cast<unsigned long>(run.outcome.exitCode));
  else
    std::printf("exit: still running at the time limit\n");
  std::printf("box: %s\n", run.outcome.box.shown ? "shown" : "none");
  std::fflush(stdout);
  return 0;
}
