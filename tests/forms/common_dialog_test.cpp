#include "runtime/forms/common_dialog.h"

#include <commdlg.h>

#include <string>
#include <variant>

#include "dialog_driver.h"
#include "live_component_fixture.h"
#include "runtime/core/ansi_path.h"
#include "runtime/forms/archive.h"

namespace forms::testing {
namespace {

// Own property indices (the property index less 8).
enum : int32_t {
  kKind = 0,
  kTitle = 1,
  kFileName = 2,
  kFilter = 3,
  kInitialFilter = 4,
  kDefaultExtension = 6,
  kCreatePrompt = 7,
  kFileMustExist = 8,
  kOverwritePrompt = 9,
  kPathMustExist = 10,
  kNoChangeDirectory = 11,
  kUnderline = 16,
  kFontName = 17,
  kFontSize = 18,
  kOwnCount = 22,
};

std::string AnsiFromWide(const std::wstring& text) {
  char buffer[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
  return buffer;
}

class CommonDialogTest : public LiveComponentTest {
 protected:
  Component* Create(std::span<const uint8_t> data = {}) {
    return dialog.create(ArgumentsFor(data, {176, 16, 240, 48}, 0x16012415));
  }
  void Write(Component* object, int32_t index, int32_t number) {
    const RawValue value{static_cast<uint32_t>(number), 0};
    EXPECT_EQ(dialog.write(object, index, &value, nullptr), 0);
  }
  void Write(Component* object, int32_t index, const std::string& text) {
    const RawValue value{reinterpret_cast<uint32_t>(text.c_str()), 0};
    EXPECT_EQ(dialog.write(object, index, &value, nullptr), 0);
  }
  int32_t Number(Component* object, int32_t index) {
    RawValue value{};
    EXPECT_EQ(dialog.read(object, index, &value), 1);
    return static_cast<int32_t>(value.low);
  }
  std::string Text(Component* object, int32_t index) {
    RawValue value{};
    EXPECT_EQ(dialog.read(object, index, &value), 1);
    return value.low != 0 ? reinterpret_cast<const char*>(value.low) : "";
  }

  TypeEntries dialog{kCommonDialogType};
};

std::wstring Readable(std::wstring list) {
  std::replace(list.begin(), list.end(), L'\0', L'|');
  return list;
}

TEST(FileDialogFilter, PipesSeparateItemsAndTheListEndsInTwo) {
  struct Case {
    const char* filter;
    const wchar_t* list;  // NULs shown as "|"
  };
  const Case cases[] = {
      {"a|*.a", L"a|*.a||"},
      {"a|*.a||", L"a|*.a||"},
      {"a|*.a|", L"a|*.a|||"},
      {"a|*.a  \t\r\n", L"a|*.a||"},
      {"a|*.a|| ", L"a|*.a||"},
      {"a|*.a|b|*.b", L"a|*.a|b|*.b||"},
      {"", L""},
      {"   ", L""},
      {"Quenmire导演剪辑版执行程序tovrex.exe|tovrex.exe",
       L"Quenmire导演剪辑版执行程序tovrex.exe|tovrex.exe||"},
      // The second GBK byte of both characters is the byte of "|".
      {"亅億|*.x", L"亅億|*.x||"},
  };
  for (const Case& c : cases) {
    const std::wstring list = FileDialogFilter(c.filter);
    EXPECT_EQ(Readable(list), c.list) << c.filter;
    EXPECT_EQ(list.find(L'|'), std::wstring::npos);
  }
}

TEST_F(CommonDialogTest, DefaultsRoundTripAndRefusedData) {
  Component* object = Create();
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(IsWindowVisible(object->Window()));
  wchar_t className[32] = {};
  GetClassNameW(object->Window(), className, 32);
  EXPECT_STREQ(className, L"_Kw_CommonDlg");

  // Every own property in index order: a number, or a text when the kind is text.
  using Value = std::variant<int32_t, std::string>;
  const Value defaults[kOwnCount] = {0, "", "", "", 0, "", "", 0, 1,  1, 1,
                                     0, 0,  0,  0,  0, 0,  "", 0, "", 0, 0};
  const Value changed[kOwnCount] = {1, "标题", "C:\\a.txt", "a|*.a", 2,    "C:\\", "txt", 1,
                                    0, 0,      0,           1,       0xFF, 1,      1,     1,
                                    1, "宋体", 12,          "h.hlp", 3,    7};
  auto check = [&](Component* dialogObject, const Value(&expected)[kOwnCount]) {
    for (int32_t i = 0; i < kOwnCount; ++i) {
      if (const auto* number = std::get_if<int32_t>(&expected[i]))
        EXPECT_EQ(Number(dialogObject, i), *number) << "property " << i + 8;
      else
        EXPECT_EQ(Text(dialogObject, i), std::get<std::string>(expected[i]))
            << "property " << i + 8;
    }
  };
  check(object, defaults);
  RawValue value{};
  EXPECT_EQ(dialog.read(object, kOwnCount, &value), 0);
  EXPECT_EQ(dialog.read(object, kFileName, &value), 1);
  EXPECT_EQ(value.low, 0u) << "an empty text reads as null";

  for (int32_t i = 0; i < kOwnCount; ++i)
    std::visit([&](const auto& v) { Write(object, i, v); }, changed[i]);
  check(object, changed);
  const std::vector<uint8_t> data = BytesOf(dialog.currentData(object));
  Component* copy = Create(data);
  ASSERT_NE(copy, nullptr);
  check(copy, changed);

  std::vector<uint8_t> newer = data;
  newer[0] = 2;
  const int children = ChildCount();
  EXPECT_EQ(Create(newer), nullptr);
  for (size_t length : {size_t{3}, data.size() - 1}) {
    std::vector<uint8_t> cut(data.begin(), data.begin() + static_cast<ptrdiff_t>(length));
    EXPECT_EQ(Create(cut), nullptr) << length;
  }
  EXPECT_EQ(ChildCount(), children) << "no window left behind";
}

TEST_F(CommonDialogTest, KindWritesAreClampedAndFlagsFollowTheOptions) {
  Component* object = Create();
  ASSERT_NE(object, nullptr);
  for (auto [written, stored] : {std::pair{7, 3}, {3, 3}, {2, 2}, {-1, 0}, {1, 1}}) {
    Write(object, kKind, written);
    EXPECT_EQ(Number(object, kKind), stored) << written;
  }

  struct Case {
    int32_t createPrompt, fileMustExist, overwritePrompt, pathMustExist, noChangeDirectory;
    DWORD flags;
  };
  const Case cases[] = {
      {0, 1, 1, 1, 0,
       OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST},
      {0, 0, 0, 0, 0, OFN_HIDEREADONLY},
      {1, 0, 0, 0, 1, OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOCHANGEDIR},
      {5, 1, 0, 1, 0, OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST},
  };
  EXPECT_EQ(FileDialogFlags(object), cases[0].flags) << "the defaults";
  for (const Case& c : cases) {
    Write(object, kCreatePrompt, c.createPrompt);
    Write(object, kFileMustExist, c.fileMustExist);
    Write(object, kOverwritePrompt, c.overwritePrompt);
    Write(object, kPathMustExist, c.pathMustExist);
    Write(object, kNoChangeDirectory, c.noChangeDirectory);
    EXPECT_EQ(FileDialogFlags(object), c.flags);
  }
}

// A file in a folder of its own under the temporary folder, holding its own name as UTF-16, so
// that the file a path opens tells which one it is. Removed with its folder.
class NamedFile {
 public:
  NamedFile(const std::wstring& folder, const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"qr-dialog-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              folder;
    CreateDirectoryW(folder_.c_str(), nullptr);
    path_ = folder_ + L"\\" + name;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, path_.data(), static_cast<DWORD>(path_.size() * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
  }
  ~NamedFile() {
    DeleteFileW(path_.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  NamedFile(const NamedFile&) = delete;
  NamedFile& operator=(const NamedFile&) = delete;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring folder_, path_;
};

// The path of the file that the ANSI name opens, read from the file itself; empty when none opens.
std::wstring FileOpenedBy(const std::string& ansiName) {
  HANDLE file = CreateFileA(ansiName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  wchar_t content[MAX_PATH] = {};
  DWORD read = 0;
  ReadFile(file, content, sizeof content - sizeof(wchar_t), &read, nullptr);
  CloseHandle(file);
  return content;
}

std::wstring NoShortForm(const std::wstring&) { return {}; }

TEST_F(CommonDialogTest, FileDialogKeepsTheConfirmedPathInTheSystemCodePage) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const NamedFile latin(L"café", L"quenmire-dialog-café.txt");
  // Best fit would spell the full-width folder as its plain twin.
  const NamedFile fullWidth(L"ｔｏｖ", L"tovrex.txt"), plainTwin(L"tov", L"tovrex.txt");
  const NamedFile chinese(L"游戏目录", L"tovrex.txt"), hangul(L"게임", L"tovrex.txt");
  const std::wstring saved = std::wstring(temp) + L"quenmire-dialog-new";
  DeleteFileW((saved + L".txt").c_str());

  enum class Outcome { Kept, Named, Opened, Nothing };
  struct Case {
    const char* name;
    int32_t kind;
    int32_t initialFilter;
    LRESULT selectedFilter;
    std::wstring typed;  // empty: cancel
    rt::ShortPathLookup shortPath;  // null: the system's
    Outcome outcome;
    std::wstring chosen;  // the file named (Named) or opened (Opened)
  };
  const Case cases[] = {
      {"cancel", 0, -3, 0, L"", nullptr, Outcome::Kept, L""},
      {"open", 0, 1, 1, latin.Path(), nullptr, Outcome::Opened, latin.Path()},
      {"save with the default extension", 1, 0, 0, saved, nullptr, Outcome::Named,
       saved + L".txt"},
      {"open in a full-width folder", 0, 1, 1, fullWidth.Path(), nullptr, Outcome::Opened,
       fullWidth.Path()},
      {"open in a Chinese folder", 0, 1, 1, chinese.Path(), nullptr, Outcome::Opened,
       chinese.Path()},
      {"open in a Hangul folder", 0, 1, 1, hangul.Path(), nullptr, Outcome::Opened, hangul.Path()},
      // A volume without short names: no ANSI path names the file, so no file opens at all.
      {"open in a Hangul folder without short names", 0, 1, 1, hangul.Path(), NoShortForm,
       Outcome::Nothing, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Component* object = Create();
    ASSERT_NE(object, nullptr);
    Write(object, kKind, c.kind);
    Write(object, kTitle, std::string("选择文件"));
    Write(object, kFilter, std::string("文本文件|*.txt|全部|*.*"));
    Write(object, kDefaultExtension, std::string("txt"));
    Write(object, kFileName, std::string("before.txt"));
    Write(object, kInitialFilter, c.initialFilter);

    const rt::ShortPathLookup system =
        c.shortPath != nullptr ? rt::ReplaceShortPathLookup(c.shortPath) : nullptr;
    DialogDriver driver(c.typed, !c.typed.empty());
    const bool confirmed = OpenCommonDialog(object);
    driver.Join();
    if (system != nullptr) rt::ReplaceShortPathLookup(system);
    ASSERT_TRUE(driver.found) << "no file dialog appeared";
    EXPECT_EQ(driver.waitedFor, "");
    EXPECT_FALSE(driver.stuck) << "the dialog did not take the choice";
    EXPECT_EQ(driver.title, L"选择文件");
    EXPECT_EQ(driver.fileName, L"before.txt") << "the file name is the initial name";
    EXPECT_EQ(driver.fileType, c.selectedFilter);

    EXPECT_EQ(confirmed, !c.typed.empty());
    const std::string fileName = Text(object, kFileName);
    switch (c.outcome) {
      case Outcome::Kept:
        EXPECT_EQ(fileName, "before.txt");
        break;
      case Outcome::Named:
        EXPECT_EQ(fileName, AnsiFromWide(c.chosen));
        break;
      case Outcome::Opened:
        EXPECT_EQ(FileOpenedBy(fileName), c.chosen) << fileName;
        break;
      case Outcome::Nothing:
        EXPECT_EQ(fileName, "");
        EXPECT_EQ(FileOpenedBy(fileName), L"");
        break;
    }
    DestroyWindow(object->Window());
  }
}

TEST_F(CommonDialogTest, FontDialogStoresTheChoiceBack) {
  Component* object = Create();
  ASSERT_NE(object, nullptr);
  Write(object, kKind, 2);
  Write(object, kFontName, std::string("DejaVu Sans"));
  Write(object, kFontSize, 12);
  Write(object, kUnderline, 0);
  // Another size typed and underline ticked in the dialog: both must come back.
  DialogDriver driver(DialogAction{kControlFontSize, true, L"", L"20", true});
  EXPECT_TRUE(OpenCommonDialog(object));
  driver.Join();
  ASSERT_TRUE(driver.found) << "no font dialog appeared";
  EXPECT_EQ(driver.waitedFor, "");
  EXPECT_FALSE(driver.stuck);
  EXPECT_EQ(Text(object, kFontName), "DejaVu Sans");
  EXPECT_EQ(Number(object, kFontSize), 20);
  EXPECT_EQ(Number(object, kUnderline), 1);
}

TEST_F(CommonDialogTest, OpenRefusesOtherComponentsAndTheHelpKind) {
  Component* object = Create();
  ASSERT_NE(object, nullptr);
  Write(object, kKind, 3);
  EXPECT_FALSE(OpenCommonDialog(object));
  EXPECT_FALSE(OpenCommonDialog(nullptr));
}

}  // namespace
}  // namespace forms::testing
