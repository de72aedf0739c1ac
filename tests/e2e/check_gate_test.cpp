// What the check lets through. Until a file passes, the label asks for the executable and the
// list stays locked on its first row; that row can still be written into any loaded file, with
// or without a check; with nothing loaded nothing is written and nothing is shown.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "synthetic_executable.h"
#include "tool_driver.h"
#include "tool_expectations.h"

namespace {

using namespace e2e;

constexpr int kTicksWatched = 3;

// Neither button touches any file with nothing loaded, not even a tovrex.exe in the working
// folder, and neither makes the tool show anything new.
TEST(CheckGate, WithNothingLoadedAsksForTheExecutableOnEveryTickAndWritesNothing) {
  ScratchDirectory folder(L"unloaded");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = DirectorsCut();
  ASSERT_TRUE(WriteWholeFile(path, image));
  const FILETIME written = LastWriteTime(path);

  const ToolRun run = RunTool(
      BuiltTool(),
      [&](const MainWindow& main) {
        const MainControls c = ControlsOf(main);
        ASSERT_TRUE(c.AllFound());
        EXPECT_TRUE(StaysOnEveryTick(c, kTicksWatched, kNoFile, Ink::Black, false));

        const std::set<HWND> shown = VisibleWindowsOf(main.processId);
        ASSERT_TRUE(SelectItem(c.list, kResolutions[3].item));
        EXPECT_TRUE(ClickAndWaitHandled(c.applyButton, c.list));
        EXPECT_TRUE(ClickAndWaitHandled(c.readButton, c.list));
        EXPECT_EQ(WindowText(c.signatureBox), L"0") << "the value read without a file";
        EXPECT_TRUE(StaysOnEveryTick(c, 1, kNoFile, Ink::Black, false));
        EXPECT_EQ(VisibleWindowsOf(main.processId), shown);
      },
      folder.Path());
  ExpectEndedCleanly(run);

  EXPECT_TRUE(FileHolds(path, image));
  const FILETIME writtenNow = LastWriteTime(path);
  EXPECT_EQ(CompareFileTime(&written, &writtenNow), 0);
}

// Executables that are not the director's cut, loaded before any that is: the value read shows
// in the box, and every tick after it still asks for the executable with the list locked.
struct WrongSignatureCase {
  const char* name;
  uint8_t signature[4];
  uint32_t size;
};

void PrintTo(const WrongSignatureCase& c, std::ostream* out) { *out << c.name; }

class WrongSignatureTest : public ::testing::TestWithParam<WrongSignatureCase> {};

TEST_P(WrongSignatureTest, KeepsAskingForTheExecutableAndTheListLocked) {
  const WrongSignatureCase& w = GetParam();
  ScratchDirectory folder(L"wrong");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = ExecutableImage(w.signature, w.size);
  ASSERT_TRUE(WriteWholeFile(path, image));

  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    ASSERT_TRUE(LoadThroughDialog(main, path));
    Click(c.readButton);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(c.signatureBox) == SignatureText(image); }))
        << ::testing::PrintToString(WindowText(c.signatureBox)) << " instead of "
        << ::testing::PrintToString(SignatureText(image));
    EXPECT_TRUE(StaysOnEveryTick(c, 2, kNoFile, Ink::Black, false));
  });
  ExpectEndedCleanly(run);
  EXPECT_TRUE(FileHolds(path, image));
}

INSTANTIATE_TEST_SUITE_P(
    Executables, WrongSignatureTest,
    ::testing::Values(WrongSignatureCase{"OneBitOff", {0x44, 0x69, 0x72, 0x64}, kImageSize},
                      WrongSignatureCase{"CapitalLetters", {0x44, 0x49, 0x52, 0x45}, kImageSize},
                      WrongSignatureCase{"Negative", {0xFF, 0xFF, 0xFF, 0xFF}, kImageSize},
                      // ends where the signature would begin: nothing is read
                      WrongSignatureCase{"EndsBeforeTheSignature", {}, kSignatureOffset}),
    [](const ::testing::TestParamInfo<WrongSignatureCase>& info) { return info.param.name; });

// The preselected 1440 x 900 is written into whatever file is loaded when 修改 is clicked, with
// no check, after a failed one, and after a load dialog that was cancelled with another file's
// name typed in (that file is not touched).
struct UncheckedWriteCase {
  const char* name;
  bool readFirst;
  bool cancelAnotherLoad;
};

void PrintTo(const UncheckedWriteCase& c, std::ostream* out) { *out << c.name; }

class UncheckedWriteTest : public ::testing::TestWithParam<UncheckedWriteCase> {};

TEST_P(UncheckedWriteTest, WritesThePreselectedResolutionIntoTheLoadedFile) {
  const UncheckedWriteCase& u = GetParam();
  ScratchDirectory loadedFolder(L"loaded"), otherFolder(L"other");
  const std::wstring loaded = loadedFolder / L"tovrex.exe", other = otherFolder / L"tovrex.exe";
  const uint8_t otherSignature[4] = {0x44, 0x69, 0x72, 0x64};
  const std::vector<uint8_t> loadedImage = ExecutableImage(otherSignature);
  const std::vector<uint8_t> otherImage = DirectorsCut();
  ASSERT_TRUE(WriteWholeFile(loaded, loadedImage));
  ASSERT_TRUE(WriteWholeFile(other, otherImage));
  const Resolution& preselected = kResolutions[0];
  ASSERT_NE(FieldsIn(loaded), FieldBytes(preselected)) << "the write must change both fields";

  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    ASSERT_TRUE(LoadThroughDialog(main, loaded));
    if (u.readFirst) {
      Click(c.readButton);
      EXPECT_TRUE(
          WaitUntil([&] { return WindowText(c.signatureBox) == SignatureText(loadedImage); }))
          << ::testing::PrintToString(WindowText(c.signatureBox));
      EXPECT_TRUE(StaysOnEveryTick(c, 1, kNoFile, Ink::Black, false));
    }
    if (u.cancelAnotherLoad) {
      HWND dialog = OpenLoadDialog(main);
      ASSERT_NE(dialog, nullptr);
      ASSERT_TRUE(CancelDialog(dialog, other));
    }
    EXPECT_EQ(WindowText(c.list), preselected.item);
    Click(c.applyButton);
    EXPECT_TRUE(WaitUntil([&] { return FieldsIn(loaded) == FieldBytes(preselected); }))
        << ::testing::PrintToString(FieldsIn(loaded));
  });
  ExpectEndedCleanly(run);
  EXPECT_TRUE(FileHolds(loaded, Patched(loadedImage, preselected)));
  EXPECT_TRUE(FileHolds(other, otherImage));
}

INSTANTIATE_TEST_SUITE_P(
    Loads, UncheckedWriteTest,
    ::testing::Values(UncheckedWriteCase{"NotRead", false, false},
                      UncheckedWriteCase{"FailedTheCheck", true, false},
                      UncheckedWriteCase{"AfterACancelledLoad", false, true}),
    [](const ::testing::TestParamInfo<UncheckedWriteCase>& info) { return info.param.name; });

}  // namespace
