// Loading through the real open-file dialog, then writing: the file chosen is the one written, or,
// where no ANSI path names it, no file at all (not the one loaded before either).

#include <gtest/gtest.h>

#include <string>

#include "app/handlers.h"
#include "app/program.h"
#include "app_process.h"
#include "dialog_driver.h"
#include "runtime/core/ansi_path.h"

namespace app::testing {
namespace {

constexpr size_t kWidthField = 0x4A1474, kHeightField = 0x4A1478, kFieldsEnd = 0x4A147C;

// 1440 x 900, the list's first item: width and height as 16-bit little-endian numbers.
Bytes With1440(Bytes content) {
  content[kWidthField] = 0xA0;
  content[kWidthField + 1] = 0x05;
  content[kHeightField] = 0x84;
  content[kHeightField + 1] = 0x03;
  return content;
}

bool WriteWide(const std::wstring& path, const Bytes& content) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                               nullptr) &&
                     written == content.size();
  CloseHandle(file);
  return whole;
}

Bytes ReadWide(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  Bytes content(GetFileSize(file, nullptr));
  DWORD read = 0;
  ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
  CloseHandle(file);
  content.resize(read);
  return content;
}

// The user's click on "加载tovrex.exe", with the path typed into the dialog and confirmed.
void Load(const std::wstring& path) {
  forms::testing::DialogDriver driver(path, true);
  OpenExecutable(nullptr, 0);
  driver.Join();
  EXPECT_TRUE(driver.found) << "no open dialog appeared";
  EXPECT_FALSE(driver.stuck) << "the dialog did not take the path";
}

std::wstring NoShortForm(const std::wstring&) { return {}; }

TEST(OpenExecutable, TheChosenFileIsWrittenOrNone) {
  const Bytes original = Patterned(kFieldsEnd + 16);
  const std::string earlierAnsi = MakeFile("tovrex-loaded-before.exe", original);
  const std::wstring earlier = rt::ExactWide(earlierAnsi).value_or(L"");
  ASSERT_FALSE(earlier.empty());
  // A folder that neither code page spells: only its short name can reach it.
  const std::wstring folder = earlier.substr(0, earlier.find_last_of(L'\\') + 1) + L"게임";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring chosen = folder + L"\\tovrex.exe";

  const struct {
    const char* name;
    rt::ShortPathLookup shortPath;  // null: the system's
    bool chosenWritten;
  } rows[] = {
      {"short names", nullptr, true},
      {"no short names", NoShortForm, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(WriteWide(earlier, original));
    ASSERT_TRUE(WriteWide(chosen, original));
    Load(earlier);
    ASSERT_NE(ExecutableFileNumber, 0);

    const rt::ShortPathLookup system =
        row.shortPath != nullptr ? rt::ReplaceShortPathLookup(row.shortPath) : nullptr;
    Load(chosen);
    if (system != nullptr) rt::ReplaceShortPathLookup(system);
    SendMessageW(ComboBoxWindow(), CB_SETCURSEL, 0, 0);
    ApplyResolution(nullptr, 0);

    const Bytes chosenAfter = ReadWide(chosen);
    EXPECT_TRUE(chosenAfter == (row.chosenWritten ? With1440(original) : original))
        << (row.chosenWritten ? "the chosen file is not patched" : "the chosen file is written");
    EXPECT_TRUE(ReadWide(earlier) == original) << "the file loaded before is written";
  }
  DeleteFileW(chosen.c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace app::testing
