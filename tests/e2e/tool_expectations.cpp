#include "tool_expectations.h"

#include <cstdio>

namespace e2e {

::testing::AssertionResult ShowsVerdict(HWND label, const std::wstring& text, Ink ink) {
  if (WaitUntil([&] { return WindowText(label) == text && InkOf(label) == ink; }))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "the label reads " << ::testing::PrintToString(WindowText(label)) << " in "
         << InkName(InkOf(label)) << ", expected " << ::testing::PrintToString(text) << " in "
         << InkName(ink);
}

::testing::AssertionResult StaysOnEveryTick(const MainControls& controls, int ticks,
                                            const std::wstring& text, Ink ink, bool listEnabled) {
  for (int tick = 1; tick <= ticks; ++tick) {
    if (!NextTick(controls.label))
      return ::testing::AssertionFailure() << "no tick rewrote the label (tick " << tick << ")";
    if (auto shows = ShowsVerdict(controls.label, text, ink); !shows)
      return shows << " after tick " << tick;
    if ((IsWindowEnabled(controls.list) != FALSE) != listEnabled)
      return ::testing::AssertionFailure()
             << "the list is " << (listEnabled ? "locked" : "unlocked") << " after tick " << tick;
  }
  return ::testing::AssertionSuccess();
}

void ExpectEndedCleanly(const ToolRun& run) {
  EXPECT_TRUE(run.windowShown) << "the tool's main window did not appear within "
                               << kMainWindowWaitMs / 1000 << " s";
  ASSERT_TRUE(run.outcome.ended);
  EXPECT_FALSE(run.outcome.box.shown) << ::testing::PrintToString(run.outcome.box.text);
  EXPECT_EQ(run.outcome.exitCode, 0u);
}

::testing::AssertionResult FileHolds(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  const std::vector<uint8_t> now = ReadWholeFile(path);
  if (now.size() != bytes.size())
    return ::testing::AssertionFailure()
           << "the file is " << now.size() << " bytes long, expected " << bytes.size();
  const int64_t at = FirstDifference(now, bytes);
  if (at < 0) return ::testing::AssertionSuccess();
  char difference[80];
  std::snprintf(difference, sizeof difference,
                "the file differs at offset 0x%X: 0x%02X instead of 0x%02X",
                static_cast<unsigned>(at), now[at], bytes[at]);
  return ::testing::AssertionFailure() << difference;
}

}  // namespace e2e
