// The tool as its user meets it: started as a process and worked only through its window, on
// executables the tests make; afterwards the bytes of those files are checked.

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "tool_driver.h"

namespace {

using namespace e2e;

constexpr uint32_t kImageSize = 0x4A1480;
constexpr uint32_t kSignatureOffset = 0x3AC220;
constexpr uint32_t kWidthOffset = 0x4A1474;
constexpr uint32_t kHeightOffset = 0x4A1478;

const std::wstring kPassed = L"通过！";
const std::wstring kFailed = L"未通过，可能不是导演剪辑版";
const std::wstring kNoFile = L"请加载tovrex.exe";

// Every byte differs from its neighbours, so a byte written in the wrong place shows.
std::vector<uint8_t> ExecutableImage(bool directorsCut) {
  std::vector<uint8_t> image(kImageSize);
  for (uint32_t i = 0; i < kImageSize; ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  if (directorsCut) {
    const uint8_t signature[] = {0x44, 0x69, 0x72, 0x65};  // "Dire"
    std::memcpy(&image[kSignatureOffset], signature, sizeof signature);
  }
  return image;
}

// The signature field as the tool shows it: a signed little-endian number.
std::wstring SignatureText(const std::vector<uint8_t>& image) {
  int32_t value;
  std::memcpy(&value, &image[kSignatureOffset], sizeof value);
  return std::to_wstring(value);
}

struct Resolution {
  const wchar_t* item;
  uint8_t fields[4];  // width at kWidthOffset, then height at kHeightOffset
};

// In the list's order.
const Resolution kResolutions[] = {
    {L"1440 x 900", {0xA0, 0x05, 0x84, 0x03}},
    {L"1600 x 1200", {0x40, 0x06, 0xB0, 0x04}},
    {L"1680 x 1050", {0x90, 0x06, 0x1A, 0x04}},
    {L"1920 x 1080", {0x80, 0x07, 0x38, 0x04}},
};

std::vector<uint8_t> Patched(std::vector<uint8_t> image, const Resolution& resolution) {
  std::memcpy(&image[kWidthOffset], resolution.fields, 2);
  std::memcpy(&image[kHeightOffset], resolution.fields + 2, 2);
  return image;
}

std::vector<uint8_t> FieldsIn(const std::wstring& path) {
  std::vector<uint8_t> fields = ReadFileBytes(path, kWidthOffset, 2);
  const std::vector<uint8_t> height = ReadFileBytes(path, kHeightOffset, 2);
  fields.insert(fields.end(), height.begin(), height.end());
  return fields;
}

struct MainControls {
  HWND list, readButton, applyButton, label, signatureBox;
  bool AllFound() const { return list && readButton && applyButton && label && signatureBox; }
};

MainControls ControlsOf(const MainWindow& main) {
  return {main.Control(control::ResolutionList, L"ComboBox"),
          main.Control(control::ReadButton, L"Button"),
          main.Control(control::ApplyButton, L"Button"),
          main.Control(control::VerdictLabel, L"_Kw_TransLabel"),
          main.Control(control::SignatureBox, L"Edit")};
}

// The timer shows the verdict within a second or so; the label is repainted after its text.
::testing::AssertionResult ShowsVerdict(HWND label, const std::wstring& text, Ink ink) {
  if (WaitUntil([&] { return WindowText(label) == text && InkOf(label) == ink; }))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "the label reads " << ::testing::PrintToString(WindowText(label)) << " in "
         << InkName(InkOf(label)) << ", expected " << ::testing::PrintToString(text) << " in "
         << InkName(ink);
}

void ExpectEndedCleanly(const ToolRun& run) {
  EXPECT_TRUE(run.windowShown);
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_FALSE(run.outcome.box.shown) << ::testing::PrintToString(run.outcome.box.text);
  EXPECT_EQ(run.outcome.exitCode, 0u);
}

// The whole job in one run: load a director's cut, check it, write every resolution into it;
// then load another executable, which fails the check and is the one written from then on.
TEST(Tool, ChecksTheLoadedExecutableAndWritesTheChosenResolutionIntoIt) {
  ScratchDirectory passing(L"passing"), failing(L"failing");
  const std::wstring passingPath = passing / L"tovrex.exe", failingPath = failing / L"tovrex.exe";
  const std::vector<uint8_t> passingImage = ExecutableImage(true);
  const std::vector<uint8_t> failingImage = ExecutableImage(false);
  ASSERT_TRUE(WriteWholeFile(passingPath, passingImage));
  ASSERT_TRUE(WriteWholeFile(failingPath, failingImage));
  const Resolution& last = kResolutions[3];
  const Resolution& forFailing = kResolutions[1];

  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    std::vector<std::wstring> items;
    for (const Resolution& r : kResolutions) items.push_back(r.item);
    EXPECT_EQ(ListItems(c.list), items);

    std::vector<std::wstring> fileTypes;
    ASSERT_TRUE(LoadThroughDialog(main, passingPath, &fileTypes));
    EXPECT_EQ(fileTypes, std::vector<std::wstring>{L"Quenmire导演剪辑版执行程序tovrex.exe"});
    Click(c.readButton);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(c.signatureBox) == L"1701996868"; }))
        << ::testing::PrintToString(WindowText(c.signatureBox));
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));

    // Each row changes both fields, so each write is seen on its own.
    for (const Resolution& r : kResolutions) {
      SCOPED_TRACE(::testing::PrintToString(std::wstring(r.item)));
      ASSERT_TRUE(SelectItem(c.list, r.item));
      Click(c.applyButton);
      const std::vector<uint8_t> expected(r.fields, r.fields + 4);
      EXPECT_TRUE(WaitUntil([&] { return FieldsIn(passingPath) == expected; }))
          << ::testing::PrintToString(FieldsIn(passingPath));
    }

    ASSERT_TRUE(LoadThroughDialog(main, failingPath));
    Click(c.readButton);
    const std::wstring failingSignature = SignatureText(failingImage);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(c.signatureBox) == failingSignature; }))
        << ::testing::PrintToString(WindowText(c.signatureBox)) << " instead of "
        << ::testing::PrintToString(failingSignature);
    EXPECT_TRUE(ShowsVerdict(c.label, kFailed, Ink::Red));
    EXPECT_TRUE(IsWindowEnabled(c.list)) << "a passed check unlocks the list for good";

    ASSERT_TRUE(SelectItem(c.list, forFailing.item));
    Click(c.applyButton);
    const std::vector<uint8_t> expected(forFailing.fields, forFailing.fields + 4);
    EXPECT_TRUE(WaitUntil([&] { return FieldsIn(failingPath) == expected; }))
        << ::testing::PrintToString(FieldsIn(failingPath));
  });
  ExpectEndedCleanly(run);

  // Read once the tool has ended: nothing but the two fields has changed, in either file.
  const std::vector<uint8_t> passingNow = ReadWholeFile(passingPath);
  EXPECT_EQ(passingNow.size(), passingImage.size());
  EXPECT_EQ(FirstDifference(passingNow, Patched(passingImage, last)), -1);
  const std::vector<uint8_t> failingNow = ReadWholeFile(failingPath);
  EXPECT_EQ(failingNow.size(), failingImage.size());
  EXPECT_EQ(FirstDifference(failingNow, Patched(failingImage, forFailing)), -1);
}

// With no executable loaded the list stays locked, and neither button touches any file, not
// even a tovrex.exe lying in the working folder.
TEST(Tool, WithNothingLoadedAsksForTheExecutableAndWritesNothing) {
  ScratchDirectory folder(L"unloaded");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = ExecutableImage(true);
  ASSERT_TRUE(WriteWholeFile(path, image));
  const FILETIME written = LastWriteTime(path);

  const ToolRun run = RunTool(
      BuiltTool(),
      [&](const MainWindow& main) {
        const MainControls c = ControlsOf(main);
        ASSERT_TRUE(c.AllFound());
        EXPECT_TRUE(ShowsVerdict(c.label, kNoFile, Ink::Black));
        EXPECT_FALSE(IsWindowEnabled(c.list));

        ASSERT_TRUE(SelectItem(c.list, kResolutions[3].item));
        EXPECT_TRUE(ClickAndWaitHandled(c.readButton, c.list));
        EXPECT_TRUE(ClickAndWaitHandled(c.applyButton, c.list));
        // The timer ticks every second: let it look at what the read left behind.
        Sleep(1500);
        EXPECT_TRUE(ShowsVerdict(c.label, kNoFile, Ink::Black));
        EXPECT_FALSE(IsWindowEnabled(c.list));
      },
      folder.Path());
  ExpectEndedCleanly(run);

  EXPECT_EQ(FirstDifference(ReadWholeFile(path), image), -1);
  const FILETIME writtenNow = LastWriteTime(path);
  EXPECT_EQ(CompareFileTime(&written, &writtenNow), 0);
}

// Started by its launcher, the tool runs as a copy whose name ends in ".tmp" and signals its
// start by clearing the first three bytes of the launcher's section.
struct HandshakeCase {
  const wchar_t* fileName;
  bool sectionExists;
  bool signals;
};

class LauncherHandshakeTest : public ::testing::TestWithParam<HandshakeCase> {};

// The launcher's section, filled with a byte the tool never writes.
class LauncherSection {
 public:
  static constexpr uint32_t kSize = 4096;

  LauncherSection() {
    // "Ｎｅｘａｒ－ＱＶ" in GBK. The tool opens it by this name through the A function; made the
    // same way here, both sides convert the name with the same code page.
    const char name[] = "\xA3\xCE\xA3\xE5\xA3\xF8\xA3\xE1\xA3\xF2\xA3\xAD\xA3\xD1\xA3\xD6";
    section_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSize, name);
    existedBefore_ = GetLastError() == ERROR_ALREADY_EXISTS;
    if (section_ != nullptr)
      view_ = static_cast<uint8_t*>(MapViewOfFile(section_, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (view_ != nullptr) std::memset(view_, 0xAB, kSize);
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

TEST_P(LauncherHandshakeTest, SignalsOnlyFromATemporaryCopy) {
  const HandshakeCase& c = GetParam();
  std::optional<LauncherSection> section;
  if (c.sectionExists) {
    section.emplace();
    ASSERT_TRUE(section->Made());
  }
  ScratchDirectory folder(L"launched");
  const std::wstring copy = folder / c.fileName;
  ASSERT_TRUE(CopyFileW(BuiltTool().c_str(), copy.c_str(), FALSE));

  // The signal is given before the window is made.
  std::vector<uint8_t> seen;
  const ToolRun run = RunTool(copy, [&](const MainWindow&) {
    if (section) seen = section->Content();
  });
  ExpectEndedCleanly(run);

  if (section) {
    std::vector<uint8_t> expected(LauncherSection::kSize, 0xAB);
    if (c.signals) std::fill_n(expected.begin(), 3, 0);
    EXPECT_EQ(FirstDifference(seen, expected), -1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Copies, LauncherHandshakeTest,
    ::testing::Values(HandshakeCase{L"quenmire-res.TMP", true, true},
                      HandshakeCase{L"quenmire-res.tmp", false, false},
                      HandshakeCase{L"quenmire-res.exe", true, false},
                      HandshakeCase{L"quenmire-res.tmpx", true, false},
                      HandshakeCase{L"Quenmire-Res.tMp", true, true},
                      HandshakeCase{L".tmp", true, true},   // the suffix is the whole name
                      HandshakeCase{L"tmp", true, false}),  // shorter than the suffix
    [](const ::testing::TestParamInfo<HandshakeCase>& info) {
      std::string name;
      for (const wchar_t* ch = info.param.fileName; *ch; ++ch)
        name += iswalnum(*ch) ? static_cast<char>(*ch) : '_';
      return name + (info.param.sectionExists ? "_withSection" : "_withoutSection");
    });

}  // namespace
