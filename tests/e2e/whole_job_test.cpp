// The whole job as the user does it, in the tool started as a process and worked only through its
// window: load an executable the test made, read its signature, see the verdict, choose a
// resolution, write it; afterwards the file is compared byte for byte.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "synthetic_executable.h"
#include "tool_driver.h"
#include "tool_expectations.h"

namespace {

using namespace e2e;

std::vector<std::wstring> AllItems() {
  std::vector<std::wstring> items;
  for (const Resolution& r : kResolutions) items.push_back(r.item);
  return items;
}

// Loads the file, reads its signature and waits for the box to hold the value shown for it.
void LoadAndRead(const MainWindow& main, const MainControls& c, const std::wstring& path,
                 const std::vector<uint8_t>& image) {
  ASSERT_TRUE(LoadThroughDialog(main, path));
  Click(c.readButton);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(c.signatureBox) == SignatureText(image); }))
      << ::testing::PrintToString(WindowText(c.signatureBox)) << " instead of "
      << ::testing::PrintToString(SignatureText(image));
}

void ChooseAndApply(const MainControls& c, const std::wstring& path, const Resolution& r) {
  ASSERT_TRUE(SelectItem(c.list, r.item));
  Click(c.applyButton);
  EXPECT_TRUE(WaitUntil([&] { return FieldsIn(path) == FieldBytes(r); }))
      << ::testing::PrintToString(FieldsIn(path));
}

class WholeJobTest : public ::testing::TestWithParam<Resolution> {};

TEST_P(WholeJobTest, WritesTheChosenResolutionIntoAPassingExecutable) {
  const Resolution& chosen = GetParam();
  ScratchDirectory folder(L"job");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = DirectorsCut();
  ASSERT_TRUE(WriteWholeFile(path, image));
  ASSERT_NE(FieldsIn(path), FieldBytes(chosen)) << "the write must change both fields";

  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    EXPECT_EQ(WindowText(main.window), kTitle);
    EXPECT_EQ(WindowText(c.loadButton), kLoadCaption);
    EXPECT_EQ(WindowText(c.readButton), kReadCaption);
    EXPECT_EQ(WindowText(c.applyButton), kApplyCaption);
    EXPECT_EQ(ListItems(c.list), AllItems());
    EXPECT_EQ(WindowText(c.list), kResolutions[0].item);

    std::vector<std::wstring> fileTypes;
    HWND dialog = OpenLoadDialog(main, &fileTypes);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(fileTypes, std::vector<std::wstring>{kFileType});
    ASSERT_TRUE(ConfirmDialog(dialog, path));

    Click(c.readButton);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(c.signatureBox) == kDirectorsCutValue; }))
        << ::testing::PrintToString(WindowText(c.signatureBox));
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));

    ChooseAndApply(c, path, chosen);
  });
  ExpectEndedCleanly(run);
  EXPECT_TRUE(FileHolds(path, Patched(image, chosen)));
}

INSTANTIATE_TEST_SUITE_P(EveryResolution, WholeJobTest, ::testing::ValuesIn(kResolutions),
                         [](const ::testing::TestParamInfo<Resolution>& info) {
                           std::string name;
                           for (const wchar_t* ch = info.param.item; *ch; ++ch)
                             if (*ch != L' ') name += static_cast<char>(*ch);
                           return name;
                         });

// After a passing file, another one that fails: the verdict turns red, the list stays unlocked,
// and the next write goes into the file loaded last only.
TEST(WholeJob, AFileLoadedAfterAPassingOneFailsInRedAndIsTheOneWritten) {
  ScratchDirectory passing(L"passing"), failing(L"failing");
  const std::wstring passingPath = passing / L"tovrex.exe", failingPath = failing / L"tovrex.exe";
  const std::vector<uint8_t> passingImage = DirectorsCut();
  const uint8_t otherSignature[4] = {0x44, 0x69, 0x72, 0x64};  // "Dird": one bit off
  const std::vector<uint8_t> failingImage = ExecutableImage(otherSignature);
  ASSERT_TRUE(WriteWholeFile(passingPath, passingImage));
  ASSERT_TRUE(WriteWholeFile(failingPath, failingImage));
  const Resolution& forPassing = kResolutions[3];
  const Resolution& forFailing = kResolutions[1];

  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    LoadAndRead(main, c, passingPath, passingImage);
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));
    ChooseAndApply(c, passingPath, forPassing);

    LoadAndRead(main, c, failingPath, failingImage);
    EXPECT_TRUE(ShowsVerdict(c.label, kFailed, Ink::Red));
    EXPECT_TRUE(StaysOnEveryTick(c, 2, kFailed, Ink::Red, true))
        << "a passed check unlocks the list for good";
    ChooseAndApply(c, failingPath, forFailing);
  });
  ExpectEndedCleanly(run);
  EXPECT_TRUE(FileHolds(passingPath, Patched(passingImage, forPassing)));
  EXPECT_TRUE(FileHolds(failingPath, Patched(failingImage, forFailing)));
}

// Folders whose names the system's code page may not spell: the file chosen in the dialog is the
// one written (never a best-fit twin), and the tool started from such a folder does its job.
struct FolderCase {
  const char* name;
  const wchar_t* folder;     // holds the chosen tovrex.exe
  const wchar_t* twin;       // a folder that best fit would take it for, with its own tovrex.exe
  bool toolInFolder;         // the tool is copied into the folder and started from there
};
void PrintTo(const FolderCase& row, std::ostream* out) { *out << row.name; }

const FolderCase kFolderCases[] = {
    {"FullWidthFolderBesideItsPlainTwin", L"ｔｏｖ", L"tov", false},
    {"ChineseFolder", L"游戏目录", nullptr, false},
    {"ToolStartedFromAChineseFolder", L"工具游戏目录", nullptr, true},
};

class FolderNameTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderNameTest, TheChosenFileIsTheOneWritten) {
  const FolderCase& row = GetParam();
  ScratchDirectory folder(row.folder);
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = DirectorsCut();
  ASSERT_TRUE(WriteWholeFile(path, image));
  std::optional<ScratchDirectory> twin;
  if (row.twin != nullptr) {
    twin.emplace(row.twin);
    ASSERT_TRUE(WriteWholeFile(*twin / L"tovrex.exe", image));
  }
  std::wstring tool = BuiltTool();
  if (row.toolInFolder) {
    tool = folder / L"quenmire-res.exe";
    ASSERT_TRUE(CopyFileW(BuiltTool().c_str(), tool.c_str(), FALSE));
  }
  const Resolution& chosen = kResolutions[2];

  const ToolRun run = RunTool(tool, [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    EXPECT_EQ(WindowText(main.window), kTitle);
    LoadAndRead(main, c, path, image);
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));
    ChooseAndApply(c, path, chosen);
  });
  ExpectEndedCleanly(run);
  EXPECT_TRUE(FileHolds(path, Patched(image, chosen)));
  if (twin) {
    EXPECT_TRUE(FileHolds(*twin / L"tovrex.exe", image)) << "the twin is not touched";
  }
}

INSTANTIATE_TEST_SUITE_P(FolderNames, FolderNameTest, ::testing::ValuesIn(kFolderCases),
                         [](const ::testing::TestParamInfo<FolderCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
