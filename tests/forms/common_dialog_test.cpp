#include "runtime/forms/common_dialog.h"

#include <commdlg.h>

#include <string>
#include <variant>

#include "live_component_fixture.h"
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

constexpr int kControlFileName = 0x47C;   // the file dialog's file-name box
constexpr int kControlFileType = 0x470;   // the file dialog's file-type list
constexpr int kControlFontSize = 0x472;   // the font dialog's size box
constexpr int kControlUnderline = 0x411;  // the font dialog's underline box

std::string AnsiFromWide(const std::wstring& text) {
  char buffer[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
  return buffer;
}

// Polls until done() holds, for at most timeoutMs; true when it held.
template <typename Condition>
bool WaitUntil(Condition done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

// What the driver does with the dialog once it is ready.
struct DialogAction {
  int readyControl;       // the dialog is ready once this control exists
  bool confirm;           // IDOK, or IDCANCEL
  std::wstring typed;     // put into the file-name box before confirming, when not empty
  std::wstring fontSize;  // chosen in the font dialog's size list, when not empty
  bool underline = false;  // tick the font dialog's underline box
};

// Drives the file or font dialog this process shows, from a second thread: waits for it to be
// ready, notes its title and the text of its file-name box, then acts on it and confirms or
// cancels. A dialog still open afterwards (refusing the choice with a message box, say) is
// cancelled, so that a failing case ends instead of hanging; `waitedFor` names what did not come.
class DialogDriver {
 public:
  explicit DialogDriver(DialogAction action) : action_(std::move(action)) {
    thread_ = CreateThread(nullptr, 0, &Run, this, 0, nullptr);
  }
  DialogDriver(std::wstring typed, bool confirm)
      : DialogDriver(DialogAction{kControlFileName, confirm, std::move(typed), L"", false}) {}
  ~DialogDriver() { Join(); }
  void Join() {
    if (thread_ == nullptr) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
  }

  bool found = false;
  bool stuck = false;
  std::string waitedFor;  // empty when every wait ended in time
  std::wstring title, fileName;
  LRESULT fileType = -1;  // the selected filter, 0-based

 private:
  struct Search {
    int readyControl;  // 0: any visible dialog
    HWND found;
  };

  static BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (pid != GetCurrentProcessId() || std::wstring(className) != L"#32770" ||
        !IsWindowVisible(window))
      return TRUE;
    if (search->readyControl != 0 && GetDlgItem(window, search->readyControl) == nullptr)
      return TRUE;
    search->found = window;
    return FALSE;
  }

  // A visible dialog of this process that has the control (any, for 0); null when there is none.
  static HWND ShownDialog(int readyControl) {
    Search search{readyControl, nullptr};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  static DWORD WINAPI Run(void* self) {
    auto& driver = *static_cast<DialogDriver*>(self);
    const DialogAction& act = driver.action_;
    HWND dialog = nullptr;
    // The dialog shows before it has made all its controls: wait for the one it is driven by.
    if (!WaitUntil([&] { return (dialog = ShownDialog(act.readyControl)) != nullptr; }, 15000)) {
      driver.waitedFor = "a dialog with control " + std::to_string(act.readyControl);
      return 0;
    }
    driver.found = true;
    wchar_t text[1024] = {};
    SendMessageW(dialog, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    driver.title = text;
    driver.fileType = SendMessageW(GetDlgItem(dialog, kControlFileType), CB_GETCURSEL, 0, 0);
    if (HWND name = GetDlgItem(dialog, kControlFileName)) {
      text[0] = L'\0';
      SendMessageW(name, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
      driver.fileName = text;
      if (act.confirm && !act.typed.empty())
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(act.typed.c_str()));
    }
    if (!act.fontSize.empty()) {
      // Chosen in the size list as a click would: the selection, then the dialog told of it.
      HWND sizes = GetDlgItem(dialog, kControlFontSize);
      const LRESULT index = SendMessageW(sizes, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(act.fontSize.c_str()));
      if (index == CB_ERR) {
        driver.waitedFor = "the font dialog's size list to offer the size";
      } else {
        SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kControlFontSize, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(sizes));
      }
    }
    if (act.underline) SendMessageW(GetDlgItem(dialog, kControlUnderline), BM_CLICK, 0, 0);
    PostMessageW(dialog, WM_COMMAND, act.confirm ? IDOK : IDCANCEL, 0);
    if (!WaitUntil([&] { return !IsWindow(dialog); }, 10000))
      driver.waitedFor = "the dialog to close";
    while (HWND left = ShownDialog(0)) {
      driver.stuck = true;
      PostMessageW(left, WM_COMMAND, IDCANCEL, 0);
      if (!WaitUntil([&] { return !IsWindow(left); }, 10000)) {
        driver.waitedFor = "a dialog left open to close";
        break;
      }
    }
    return 0;
  }

  DialogAction action_;
  HANDLE thread_ = nullptr;
};

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

TEST_F(CommonDialogTest, FileDialogKeepsTheConfirmedPathInTheSystemCodePage) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring existing = std::wstring(temp) + L"quenmire-dialog-café.txt";
  HANDLE file = CreateFileW(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::wstring saved = std::wstring(temp) + L"quenmire-dialog-new";
  DeleteFileW((saved + L".txt").c_str());

  struct Case {
    const char* name;
    int32_t kind;
    int32_t initialFilter;
    LRESULT selectedFilter;
    std::wstring typed;  // empty: cancel
    std::wstring chosen;
    bool openable;  // the chosen file exists and opens through the ANSI file functions
  };
  const Case cases[] = {
      {"cancel", 0, -3, 0, L"", L"", false},
      {"open", 0, 1, 1, existing, existing, true},
      {"save with the default extension", 1, 0, 0, saved, saved + L".txt", false},
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

    DialogDriver driver(c.typed, !c.typed.empty());
    const bool confirmed = OpenCommonDialog(object);
    driver.Join();
    ASSERT_TRUE(driver.found) << "no file dialog appeared";
    EXPECT_EQ(driver.waitedFor, "");
    EXPECT_FALSE(driver.stuck) << "the dialog did not take the choice";
    EXPECT_EQ(driver.title, L"选择文件");
    EXPECT_EQ(driver.fileName, L"before.txt") << "the file name is the initial name";
    EXPECT_EQ(driver.fileType, c.selectedFilter);

    EXPECT_EQ(confirmed, !c.typed.empty());
    const std::string fileName = Text(object, kFileName);
    EXPECT_EQ(fileName, c.typed.empty() ? "before.txt" : AnsiFromWide(c.chosen));
    if (c.openable) {
      HANDLE opened = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
      EXPECT_NE(opened, INVALID_HANDLE_VALUE) << fileName;
      if (opened != INVALID_HANDLE_VALUE) CloseHandle(opened);
    }
    DestroyWindow(object->Window());
  }
  DeleteFileW(existing.c_str());
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
