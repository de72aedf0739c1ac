#include "tool_session.h"

#include <gtest/gtest.h>

#include "tool_expectations.h"

namespace reliability {
namespace {

constexpr uint8_t kFirstSeed = 3, kLastSeed = 5;

}  // namespace

bool Apply(const Controls& c, const Resolution& resolution) {
  return e2e::SelectItem(c.list, resolution.item) && e2e::ClickAndWaitHandled(c.applyButton, c.list);
}

bool LoadGoodFile(const e2e::MainWindow& main, const std::wstring& path, uint8_t seed) {
  return e2e::WriteWholeFile(path, Image(kImageSize, seed)) && e2e::LoadThroughDialog(main, path);
}

Session RunSession(const e2e::ScratchDirectory& folder, const Rows& rows) {
  Session session;
  session.lastFile = folder / L"last-tovrex.exe";
  const std::wstring first = folder / L"first-tovrex.exe";
  session.run = e2e::RunTool(e2e::BuiltTool(), [&](const e2e::MainWindow& main) {
    const Controls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    ASSERT_TRUE(LoadGoodFile(main, first, kFirstSeed));
    e2e::Click(c.readButton);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));

    rows(main, c);
    if (::testing::Test::HasFatalFailure()) return;

    ASSERT_TRUE(LoadGoodFile(main, session.lastFile, kLastSeed));
    ASSERT_TRUE(Apply(c, kLastResolution));
  });
  return session;
}

void ExpectStillUsable(const Session& session) {
  e2e::ExpectEndedCleanly(session.run);
  EXPECT_TRUE(e2e::FileHolds(session.lastFile,
                             Patched(Image(kImageSize, kLastSeed), kLastResolution)))
      << "the file loaded after the faults";
}

}  // namespace reliability
