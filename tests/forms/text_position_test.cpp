// Text positions, lengths and limits of the edit box and of a drop-down combo box's edit part
// count bytes of GBK text, while the native controls count UTF-16 characters. A byte position
// inside a double-byte character goes to the start of that character.

#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"
#include "tests/forms/live_component_fixture.h"

namespace forms::testing {
namespace {

constexpr uint32_t kEdit = 0x16016C5A;
constexpr uint32_t kCombo = 0x16016C54;

// What both boxes store: content, maximum length, selection start and length.
struct Stored {
  std::string content;
  uint32_t maxLength = 0;
  uint32_t selectionStart = 0, selectionLength = 0;
  uint32_t inputMode = 0;      // the edit box only
  uint16_t passwordChar = 42;  // the edit box only
};

std::vector<uint8_t> EditData(const Stored& s) {
  ArchiveWriter out;
  out.U32(2);
  // border, text colour, background, hide selection, maximum length, multi-line, scroll bars,
  // alignment, input mode
  for (uint32_t value : {1u, 0u, 0xFFFFFFu, 1u, s.maxLength, 0u, 0u, 0u, s.inputMode}) out.U32(value);
  out.U16(s.passwordChar);
  // letter case, adjuster, its minimum and maximum, selection start and length
  for (uint32_t value : {0u, 0u, 0u, 100u, s.selectionStart, s.selectionLength}) out.U32(value);
  out.LenBytes({});  // font
  out.LenText(s.content);
  out.LenText("");
  out.LenText("");
  return out.Data();
}

// A drop-down box: its content and selection are its edit part's.
std::vector<uint8_t> DropDownData(const Stored& s) {
  ArchiveWriter out;
  out.U32(3);
  for (uint32_t value : {1u, s.maxLength, s.selectionStart, s.selectionLength, 0u, 1u, 0u, 0xFFFFFFu,
                         0xFFFFFFFFu})
    out.U32(value);
  out.LenBytes({});  // font
  out.LenBytes({});  // item values
  out.LenText(s.content);
  out.TextList({"一项"});
  out.LenText("");
  out.LenText("");
  out.U32(0);
  return out.Data();
}

// One of the two boxes: its unit, the indices of its properties and its native edit window.
struct Box {
  const char* name;
  uint32_t unit;
  int32_t content, maxLength, selectionStart, selectionLength;
};
constexpr Box kBoxes[] = {{"edit box", kEdit, 8, 14, 24, 25}, {"drop-down combo box", kCombo, 9, 10, 11, 12}};

HWND LiveWindow(uint32_t unit) {
  auto* live = static_cast<Component*>(Forms().FindLiveObject(kWindowId, unit));
  return live != nullptr ? live->Window() : nullptr;
}

// The window that takes the user's typing: the edit box itself, or the combo box's edit part.
HWND EditWindow(const Box& box) {
  const HWND window = LiveWindow(box.unit);
  if (box.unit == kEdit) return window;
  COMBOBOXINFO info = {};
  info.cbSize = sizeof info;
  return GetComboBoxInfo(window, &info) ? info.hwndItem : nullptr;
}

// The native selection, in UTF-16 characters.
std::pair<DWORD, DWORD> UnitSelection(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

int32_t ReadNumber(uint32_t unit, int32_t index) {
  return static_cast<int32_t>(Forms().ReadProperty(kWindowId, unit, index, -1));
}
void WriteNumber(uint32_t unit, int32_t index, int32_t value) {
  Forms().WriteProperty(kWindowId, unit, index, -1, static_cast<uint32_t>(value), 0);
}
std::string ReadText(uint32_t unit, int32_t index) {
  auto* text = reinterpret_cast<char*>(static_cast<uint32_t>(Forms().ReadProperty(kWindowId, unit, index, -1)));
  std::string copy = text != nullptr ? text : "";
  rt::Free(text);
  return copy;
}
void WriteText(uint32_t unit, int32_t index, const std::string& value) {
  rt::Text text = rt::MakeText(value.c_str());
  Forms().WriteProperty(kWindowId, unit, index, -1, reinterpret_cast<uint32_t>(text), 0);
  rt::Free(text);
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  bool done = false;
  if (block != nullptr) {
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!done) GlobalFree(block);
  }
  CloseClipboard();
  return done;
}

// Composed in the input method and completed, as a user types Chinese text: the characters reach
// the box as the system sends and posts them.
bool Compose(HWND edit, std::wstring text) {
  SetForegroundWindow(GetAncestor(edit, GA_ROOT));
  SetFocus(edit);
  const HIMC context = ImmGetContext(edit);
  if (context == nullptr) return false;
  const bool done =
      ImmSetCompositionStringW(context, SCS_SETSTR, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                               nullptr, 0) &&
      ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
  ImmReleaseContext(edit, context);
  return done && PumpUntil([] {
    MSG message;
    return !PeekMessageW(&message, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
           !PeekMessageW(&message, nullptr, WM_IME_CHAR, WM_IME_CHAR, PM_NOREMOVE);
  }, 5000);
}

// Typed on the keyboard, through the system's queue: each UTF-16 unit a key of its own (a
// character outside the BMP is two), '\r' Enter and '\n' Ctrl+Enter.
bool Key(HWND edit, std::wstring_view text) {
  SetForegroundWindow(GetAncestor(edit, GA_ROOT));
  SetFocus(edit);
  std::vector<INPUT> inputs;
  const auto add = [&](WORD key, wchar_t unit, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = unit;
    input.ki.dwFlags = (key == 0 ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    inputs.push_back(input);
  };
  for (const wchar_t unit : text) {
    if (unit == L'\n') add(VK_CONTROL, 0, false);
    if (unit == L'\r' || unit == L'\n') {
      add(VK_RETURN, 0, false);
      add(VK_RETURN, 0, true);
    } else {
      add(0, unit, false);
      add(0, unit, true);
    }
    if (unit == L'\n') add(VK_CONTROL, 0, true);
  }
  const auto count = static_cast<UINT>(inputs.size());
  return SendInput(count, inputs.data(), sizeof(INPUT)) == count &&
         PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) == 0; }, 5000);
}

class TextPositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
  }
  void TearDown() override { ClearWindows(); }

  static void Load(const Stored& edit, const Stored& combo) {
    std::vector<Unit> units;
    units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                             WindowData("文字位置")));
    units.push_back(MakeUnit(kEdit, kEditBoxType, "编辑框1", {10, 10, 200, 24}, 5, EditData(edit)));
    units.push_back(MakeUnit(kCombo, kComboBoxType, "组合框1", {10, 50, 200, 24}, 5, DropDownData(combo)));
    ASSERT_TRUE(LoadWindow(UseWindow(std::move(units)), 0, false, nullptr));
  }
};

TEST_F(TextPositionTest, StoredSelectionIsTakenInBytes) {
  // "a测b试c": a at byte 0, 测 at 1..2, b at 3, 试 at 4..5, c at 6. Bytes 2..6 start inside 测.
  const Stored stored{.content = "a测b试c", .selectionStart = 2, .selectionLength = 4};
  Load(stored, stored);
  for (const Box& box : kBoxes) {
    SCOPED_TRACE(box.name);
    EXPECT_EQ(UnitSelection(EditWindow(box)), std::make_pair(DWORD{1}, DWORD{4}));
  }
  // The edit box's selection reads back from the live box; the combo box's stored one as stored
  // until one is written.
  EXPECT_EQ(ReadNumber(kEdit, 24), 1);
  EXPECT_EQ(ReadNumber(kEdit, 25), 5);
  EXPECT_EQ(ReadNumber(kCombo, 11), 2);
  EXPECT_EQ(ReadNumber(kCombo, 12), 4);
}

TEST_F(TextPositionTest, SelectionIsReadAndWrittenInBytes) {
  const struct {
    const char* content;
    int32_t start, length;          // written
    int32_t readStart, readLength;  // read back
    DWORD unitStart, unitEnd;       // what the native box selects
  } cases[] = {
      {"测试", 0, 4, 0, 4, 0, 2},  // the whole text: 4 bytes, 2 characters
      {"测试", 2, 2, 2, 2, 1, 2},
      {"测试", 4, 0, 4, 0, 2, 2},  // after the text, not after a fourth character
      {"测试", 1, 2, 0, 2, 0, 1},  // a start inside 测 goes to its start
      {"测试", 0, 3, 0, 2, 0, 1},  // an end inside 试 too
      {"测试", 3, 5, 2, 2, 1, 2},  // an end past the text stops at its end
      {"a测b试c", 1, 3, 1, 3, 1, 3},
      {"a测b试c", 2, 3, 1, 3, 1, 3},
      {"a测b试c", 4, 2, 4, 2, 3, 4},
      {"a测b试c", 5, 2, 4, 2, 3, 4},
      {"a测b试c", 3, 2, 3, 1, 2, 3},
      {"a测b试c", 6, 1, 6, 1, 4, 5},
      {"a测b试c", 0, 7, 0, 7, 0, 5},
      {"abc", 1, 1, 1, 1, 1, 2},
  };
  Load({}, {});
  for (const Box& box : kBoxes)
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(box.name) + " \"" + c.content + "\" " + std::to_string(c.start) + "+" +
                   std::to_string(c.length));
      WriteText(box.unit, box.content, c.content);
      // The length first, so that the start moves a selection of known length.
      WriteNumber(box.unit, box.selectionLength, 0);
      WriteNumber(box.unit, box.selectionStart, c.start);
      WriteNumber(box.unit, box.selectionLength, c.length);
      EXPECT_EQ(ReadNumber(box.unit, box.selectionStart), c.readStart);
      EXPECT_EQ(ReadNumber(box.unit, box.selectionLength), c.readLength);
      EXPECT_EQ(UnitSelection(EditWindow(box)), std::make_pair(c.unitStart, c.unitEnd));
    }
}

// A limit of n lets in n bytes: n Latin characters or n / 2 Chinese ones, never half of one.
// Like the system's own limit it holds for the user's input, not for what the application writes.
TEST_F(TextPositionTest, LengthLimitCountsBytesOfTheUsersInput) {
  enum Way { Typed, Keyed, Pasted, Composed };  // typed: WM_CHAR, a character at a time
  const struct {
    int32_t limit;
    const char* content;         // written by the application before the input
    int32_t start, length;       // the selection the input replaces
    Way way;
    const wchar_t* input;
    const char* result;
    bool multiLine = false;      // the edit box only
  } cases[] = {
      {5, "", 0, 0, Typed, L"测试测试", "测试"},
      {5, "", 0, 0, Typed, L"a测试b测", "a测试"},
      {4, "", 0, 0, Typed, L"ab测c", "ab测"},
      {5, "", 0, 0, Typed, L"ab测c测", "ab测c"},
      {5, "测试", 0, 2, Typed, L"ab测", "ab试"},   // the selected 测 makes room
      {0, "", 0, 0, Typed, L"测试测试", "测试测试"},  // no limit
      {5, "", 0, 0, Pasted, L"测试测试", "测试"},
      {4, "", 0, 0, Pasted, L"a测b试c", "a测b"},
      {4, "测试", 0, 4, Pasted, L"ab测c", "ab测"},
      {6, "测试", 4, 0, Pasted, L"a测", "测试a"},
      {6, "测试", 4, 0, Pasted, L"ab", "测试ab"},   // what fits goes in whole
      {3, "测试测试", 8, 0, Pasted, L"a", "测试测试"},  // the application's own text stays
      // A character outside the BMP is two bytes, a '?' for each of its UTF-16 units, as the
      // runtime's conversion makes it here; it is never cut in half.
      {2, "", 0, 0, Pasted, L"a\U0001F600", "a"},
      {3, "", 0, 0, Pasted, L"a\U0001F600b", "a??"},
      {5, "", 0, 0, Composed, L"测试测试", "测试"},
      {5, "a", 1, 0, Composed, L"测试b", "a测试"},
      {0, "", 0, 0, Composed, L"测试测试", "测试测试"},
      // A space is a character like any other.
      {4, "测试", 4, 0, Typed, L" ", "测试"},
      {4, "测试", 4, 0, Keyed, L" ", "测试"},
      {4, "测试", 4, 0, Pasted, L" ", "测试"},
      {5, "测试", 4, 0, Keyed, L" ", "测试 "},
      // A character outside the BMP is typed as two halves: both go in, or neither.
      {3, "ab", 2, 0, Keyed, L"\U0001F600", "ab"},
      {5, "a", 1, 0, Keyed, L"\U0001F600", "a??"},
      // Input that finds no room still replaces the selection, with nothing, as the system's
      // own limit does.
      {3, "测试测试", 2, 2, Pasted, L"a", "测测试"},
      {3, "测试测试", 2, 2, Keyed, L"a", "测测试"},
      // Enter and Ctrl+Enter break a multi-line box's line with CR LF, two bytes or none.
      {10, "测试测试a", 9, 0, Keyed, L"\r", "测试测试a", true},
      {10, "测试测试a", 9, 0, Keyed, L"\n", "测试测试a", true},
      {11, "测试测试a", 9, 0, Keyed, L"\r", "测试测试a\r\n", true},
      {11, "测试测试a", 9, 0, Keyed, L"\n", "测试测试a\r\n", true},
      // A pasted line break is never cut between its CR and its LF.
      {3, "", 0, 0, Pasted, L"ab\r\ncd", "ab", true},
      {4, "", 0, 0, Pasted, L"ab\r\ncd", "ab\r\n", true},
  };
  Load({}, {});
  constexpr int32_t kMultiLine = 15;
  for (const Box& box : kBoxes)
    for (const auto& c : cases) {
      if (c.multiLine && box.unit != kEdit) continue;
      static const char* const kWays[] = {"typed", "keyed", "pasted", "composed"};
      SCOPED_TRACE(std::string(box.name) + ", limit " + std::to_string(c.limit) + ", \"" + c.content +
                   "\", " + kWays[c.way] + (c.multiLine ? ", multi-line" : ""));
      if (box.unit == kEdit && ReadNumber(kEdit, kMultiLine) != c.multiLine) WriteNumber(kEdit, kMultiLine, c.multiLine);
      const HWND edit = EditWindow(box);
      WriteNumber(box.unit, box.maxLength, c.limit);
      WriteText(box.unit, box.content, c.content);
      EXPECT_EQ(ReadText(box.unit, box.content), c.content);
      WriteNumber(box.unit, box.selectionLength, 0);
      WriteNumber(box.unit, box.selectionStart, c.start);
      WriteNumber(box.unit, box.selectionLength, c.length);
      if (c.way == Pasted) {
        ASSERT_TRUE(PutOnClipboard(edit, c.input));
        SendMessageW(edit, WM_PASTE, 0, 0);
      } else if (c.way == Composed) {
        ASSERT_TRUE(Compose(edit, c.input));
      } else if (c.way == Keyed) {
        ASSERT_TRUE(Key(edit, c.input));
      } else {
        for (const wchar_t* ch = c.input; *ch != L'\0'; ++ch) SendMessageW(edit, WM_CHAR, *ch, 1);
      }
      EXPECT_EQ(ReadText(box.unit, box.content), c.result);
    }
}

// The password character is one GBK character, a double-byte one kept whole; stored as its
// character code, the lead byte high.
TEST_F(TextPositionTest, PasswordCharacterKeepsADoubleByteCharacterWhole) {
  Load({.content = "秘密", .inputMode = 2, .passwordChar = 0xB2E2}, {});  // 测
  const HWND edit = LiveWindow(kEdit);
  EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), L'测');
  EXPECT_EQ(ReadText(kEdit, 19), "测");

  const struct {
    const char* written;
    wchar_t shown;
    const char* readBack;
  } cases[] = {{"●", L'●', "●"}, {"#", L'#', "#"}, {"试验", L'试', "试"}, {"x测", L'x', "x"}, {"*", L'*', "*"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    WriteText(kEdit, 19, c.written);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), c.shown);
    EXPECT_EQ(ReadText(kEdit, 19), c.readBack);
  }
}

}  // namespace
}  // namespace forms::testing
