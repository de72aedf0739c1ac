#include "runtime/core/file_search.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "runtime/core/ansi_path.h"
#include "runtime/core/memory.h"
#include "runtime/core/service_table.h"

namespace rt {
namespace {

class FileSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "qr-search-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
    for (const char* name : {"a.txt", "b.txt", "h.txt"}) Touch(name);
    SetFileAttributesA((dir_ + "\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((dir_ + "\\d").c_str(), nullptr);
  }
  void TearDown() override {
    for (const char* name : {"a.txt", "b.txt", "h.txt"}) {
      SetFileAttributesA((dir_ + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((dir_ + "\\" + name).c_str());
    }
    RemoveDirectoryA((dir_ + "\\d").c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  void Touch(const char* name) {
    CloseHandle(CreateFileA((dir_ + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  // Runs the search to its end through the service row, as application code does.
  std::set<std::string> Search(const std::string& pattern, uint32_t mask, int32_t allFiles) {
    std::set<std::string> names;
    uint32_t handle = 0;
    const char* next = pattern.c_str();
    while (auto* name = reinterpret_cast<char*>(static_cast<uint32_t>(
               RuntimeServices.OtherService(other::FindFile, next, mask, allFiles, &handle)))) {
      names.insert(name);
      Free(name);
      next = "";
      EXPECT_NE(handle, 0u);
    }
    EXPECT_EQ(handle, 0u);  // the ended search is closed and forgotten
    return names;
  }
  std::string dir_;
};

TEST_F(FileSearchTest, PlainFilesByDefault) {
  EXPECT_EQ(Search(dir_ + "\\*", 0, 0), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_F(FileSearchTest, TheMaskAddsHiddenFilesOrDirectories) {
  EXPECT_EQ(Search(dir_ + "\\*", FILE_ATTRIBUTE_HIDDEN, 0),
            (std::set<std::string>{"a.txt", "b.txt", "h.txt"}));
  EXPECT_EQ(Search(dir_ + "\\*", FILE_ATTRIBUTE_DIRECTORY, 0),
            (std::set<std::string>{"a.txt", "b.txt", "d"}));
}

TEST_F(FileSearchTest, AllFilesListsEverythingButTheDotEntries) {
  EXPECT_EQ(Search(dir_ + "\\*", 0, 1), (std::set<std::string>{"a.txt", "b.txt", "h.txt", "d"}));
}

TEST_F(FileSearchTest, NoMatchEndsAtOnce) {
  EXPECT_TRUE(Search(dir_ + "\\*.none", 0, 1).empty());
  uint32_t handle = 0;
  EXPECT_EQ(FindFileStep("", 0, 0, &handle), nullptr);  // nothing held: nothing to continue
}

TEST_F(FileSearchTest, ANewPatternReplacesAHeldSearch) {
  uint32_t handle = 0;
  Text first = FindFileStep((dir_ + "\\a.*").c_str(), 0, 0, &handle);
  ASSERT_NE(first, nullptr);
  Free(first);
  Text again = FindFileStep((dir_ + "\\b.*").c_str(), 0, 0, &handle);
  EXPECT_STREQ(again, "b.txt");
  Free(again);
  RuntimeServices.OtherService(other::CloseFileSearch, handle);
  RuntimeServices.OtherService(other::CloseFileSearch, 0u);  // null is ignored
}

// Names the code page cannot spell come back in their short form, never as a best-fit look-alike:
// each name found opens the file it was found for, and the plain twin is found once.
TEST(FileSearch, EveryNameFoundOpensTheFileItNames) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string ansiDir =
      std::string(temp) + "qr-search-names-" + std::to_string(GetCurrentProcessId());
  const std::wstring dir = ExactWide(ansiDir).value_or(L"");
  ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
  const struct {
    const wchar_t* name;
    const char* content;
  } files[] = {{L"tov.txt", "plain"}, {L"ｔｏｖ.txt", "full-width"}, {L"游戏.txt", "Chinese"}};
  std::set<std::string> contents;
  for (const auto& f : files) {
    contents.insert(f.content);
    HANDLE file = CreateFileW((dir + L"\\" + f.name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, f.content, static_cast<DWORD>(strlen(f.content)), &written, nullptr);
    CloseHandle(file);
  }

  std::set<std::string> reached;
  uint32_t handle = 0;
  std::string pattern = ansiDir + "\\*.txt";
  while (Text name = FindFileStep(pattern.c_str(), 0, 0, &handle)) {
    pattern.clear();
    HANDLE file = CreateFileA((ansiDir + "\\" + name).c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << name;
    if (file != INVALID_HANDLE_VALUE) {
      char buffer[64] = {};
      DWORD read = 0;
      ReadFile(file, buffer, sizeof buffer, &read, nullptr);
      CloseHandle(file);
      EXPECT_TRUE(reached.insert(std::string(buffer, read)).second) << name << " reached twice";
    }
    Free(name);
  }
  EXPECT_EQ(reached, contents);
  for (const auto& f : files) DeleteFileW((dir + L"\\" + f.name).c_str());
  RemoveDirectoryW(dir.c_str());
}

}  // namespace
}  // namespace rt
