// A thousand clicks of the apply button, alternating two resolutions: the file ends with only
// its four field bytes changed, and the tool's private memory and open handles (each open file
// is one) stay where they were after the first ten clicks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "process_usage.h"
#include "tool_session.h"

namespace reliability {
namespace {

constexpr int kFirstClicks = 10;
constexpr int kAllClicks = 1000;
constexpr int kBatch = 50;
constexpr uint64_t kAllowedGrowth = 1 << 20;

const Resolution& ResolutionOfClick(int click) { return kResolutions[click % 2 == 0 ? 0 : 3]; }

int ListIndex(const Resolution& resolution) {
  return static_cast<int>(&resolution - kResolutions);
}

// Posted messages of one thread are handled in order: each click sees the selection posted just
// before it, and the emptied selection posted last shows when every click has run.
bool ClickMany(const Controls& c, int from, int to) {
  for (int click = from; click < to; ++click) {
    PostMessageW(c.list, CB_SETCURSEL, ListIndex(ResolutionOfClick(click)), 0);
    e2e::Click(c.applyButton);
  }
  PostMessageW(c.list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return e2e::WaitUntil(
      [&] {
        DWORD_PTR selection = 0;
        SendMessageTimeoutW(c.list, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selection);
        return static_cast<LRESULT>(selection) == CB_ERR;
      },
      120000);
}

TEST(ManyClicks, ChangeOnlyTheFieldsAndHoldNoMoreMemoryOrFiles) {
  e2e::ScratchDirectory folder(L"clicks");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = Image(kImageSize, 21);
  ASSERT_TRUE(e2e::WriteWholeFile(path, image));
  ProcessUsage afterFirst, afterAll;

  const e2e::ToolRun run = e2e::RunTool(e2e::BuiltTool(), [&](const e2e::MainWindow& main) {
    const Controls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    ASSERT_TRUE(e2e::LoadThroughDialog(main, path));
    e2e::Click(c.readButton);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));

    ASSERT_TRUE(ClickMany(c, 0, kFirstClicks));
    const Resolution& last = ResolutionOfClick(kFirstClicks - 1);
    ASSERT_EQ(FieldsIn(path), std::vector<uint8_t>(last.fields, last.fields + 4));
    afterFirst = UsageOf(main.processId);
    for (int click = kFirstClicks; click < kAllClicks; click += kBatch)
      ASSERT_TRUE(ClickMany(c, click, std::min(click + kBatch, kAllClicks))) << "click " << click;
    // The emptied selection can show while the last click is still at work (its handler lets
    // waiting messages through), holding its two copies of the file: the usage is taken once it
    // is back where it was, or, should it never come back, as it is when the wait gives up.
    e2e::WaitUntil([&] {
      afterAll = UsageOf(main.processId);
      return afterAll.read && afterAll.privateBytes <= afterFirst.privateBytes + kAllowedGrowth &&
             afterAll.handles == afterFirst.handles &&
             afterAll.fileHandles == afterFirst.fileHandles;
    });
  });
  EXPECT_TRUE(run.windowShown);
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_FALSE(run.outcome.box.shown) << ::testing::PrintToString(run.outcome.box.text);
  EXPECT_EQ(run.outcome.exitCode, 0u);

  const std::vector<uint8_t> now = e2e::ReadWholeFile(path);
  EXPECT_EQ(now.size(), image.size());
  EXPECT_EQ(e2e::FirstDifference(now, Patched(image, ResolutionOfClick(kAllClicks - 1))), -1);

  ASSERT_TRUE(afterFirst.read && afterAll.read);
  EXPECT_LE(afterAll.privateBytes, afterFirst.privateBytes + kAllowedGrowth)
      << "after " << kFirstClicks << " clicks: " << afterFirst.privateBytes << " bytes, after "
      << kAllClicks << ": " << afterAll.privateBytes;
  EXPECT_EQ(afterAll.handles, afterFirst.handles);
  EXPECT_EQ(afterAll.fileHandles, afterFirst.fileHandles);
  std::printf("after %d clicks: %llu private bytes, %u handles (%u to files); after %d: %llu, "
              "%u (%u)\n",
              kFirstClicks, static_cast<unsigned long long>(afterFirst.privateBytes),
              afterFirst.handles, afterFirst.fileHandles, kAllClicks,
              static_cast<unsigned long long>(afterAll.privateBytes), afterAll.handles,
              afterAll.fileHandles);
}

}  // namespace
}  // namespace reliability
