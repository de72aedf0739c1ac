// The outside measures that the click test relies on see growth when there is some: asked about
// this very process, they count a block it commits and the files and registry keys it opens.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "process_usage.h"
#include "process_runner.h"

namespace reliability {
namespace {

TEST(ProcessUsage, SeesCommittedMemoryAndOpenFilesGrow) {
  constexpr uint32_t kBlock = 8 << 20;
  const ProcessUsage before = UsageOf(GetCurrentProcessId());
  void* block = HeapAlloc(GetProcessHeap(), 0, kBlock);
  ASSERT_NE(block, nullptr);
  std::memset(block, 1, kBlock);
  std::vector<HANDLE> files;
  const std::wstring self = BesideThisProgram(L"reliability_tests.exe");
  for (int i = 0; i < 3; ++i)
    files.push_back(CreateFileW(self.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key), ERROR_SUCCESS);
  const ProcessUsage grown = UsageOf(GetCurrentProcessId());
  RegCloseKey(key);
  for (HANDLE file : files) CloseHandle(file);
  HeapFree(GetProcessHeap(), 0, block);

  ASSERT_TRUE(before.read && grown.read);
  EXPECT_GE(grown.privateBytes, before.privateBytes + kBlock);
  EXPECT_EQ(grown.fileHandles, before.fileHandles + 3);
  EXPECT_EQ(grown.keyHandles, before.keyHandles + 1);
  EXPECT_EQ(grown.handles, before.handles + 4);
}

}  // namespace
}  // namespace reliability
