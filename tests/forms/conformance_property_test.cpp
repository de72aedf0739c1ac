// Every property of every component type on the conformance form: the stored value read back
// once the window is loaded, a write (clamps and out-of-range values included), the read back and
// what the live window shows. Writes that need a new native window must leave the unit in its
// place: the same control identifier, the same place among its siblings, the focus, and every
// other property as it was.

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/conformance_form.h"
#include "tests/forms/form_harness.h"
#include "tests/forms/picture_files.h"

namespace forms::testing::conformance {
namespace {

using Bytes = std::vector<uint8_t>;
using Value = std::variant<int32_t, std::string, Bytes>;

struct Row {
  int32_t index;
  Value stored;    // read once the window is loaded
  Value written;
  Value readBack;  // read after the write
  std::function<void(HWND)> shows = nullptr;  // what the live window shows after the write
  bool rebuilds = false;
  int32_t alsoChanges = -1;  // a property that follows from this one (a combo's content from its style)
};

std::string Show(const Value& value) {
  if (const auto* n = std::get_if<int32_t>(&value)) return std::to_string(*n);
  if (const auto* t = std::get_if<std::string>(&value)) return "\"" + *t + "\"";
  return std::to_string(std::get<Bytes>(value).size()) + " bytes";
}

Value Read(uint32_t windowId, uint32_t unit, int32_t index, const Value& like) {
  const uint32_t low = static_cast<uint32_t>(Forms().ReadProperty(windowId, unit, index, -1));
  if (std::holds_alternative<int32_t>(like)) return static_cast<int32_t>(low);
  if (std::holds_alternative<std::string>(like)) {
    auto* text = reinterpret_cast<char*>(low);
    std::string copy = text != nullptr ? text : "";
    rt::Free(text);
    return copy;
  }
  auto* bytes = reinterpret_cast<rt::ByteSetHeader*>(low);
  Bytes copy = bytes == nullptr ? Bytes() : Bytes(rt::ByteSetData(bytes), rt::ByteSetData(bytes) + rt::ByteSetLength(bytes));
  rt::Free(bytes);
  return copy;
}

void Write(uint32_t windowId, uint32_t unit, int32_t index, const Value& value) {
  if (const auto* n = std::get_if<int32_t>(&value)) {
    Forms().WriteProperty(windowId, unit, index, -1, static_cast<uint32_t>(*n), 0);
  } else if (const auto* t = std::get_if<std::string>(&value)) {
    rt::Text text = rt::MakeText(t->c_str());
    Forms().WriteProperty(windowId, unit, index, -1, reinterpret_cast<uint32_t>(text), 0);
    rt::Free(text);
  } else {
    const Bytes& b = std::get<Bytes>(value);
    rt::ByteSet bytes = rt::MakeByteSet(b.data(), static_cast<uint32_t>(b.size()));
    Forms().WriteProperty(windowId, unit, index, -1, reinterpret_cast<uint32_t>(bytes), 0);
    rt::Free(bytes);
  }
}

HWND LiveWindow(uint32_t windowId, uint32_t unit) {
  auto* live = static_cast<Component*>(Forms().FindLiveObject(windowId, unit));
  return live != nullptr ? live->Window() : nullptr;
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }
LONG ExStyleOf(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }
std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}
LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

class ConformancePropertyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    ReadIntoRuntime();
  }
  void TearDown() override { ClearWindows(); }

  static void LoadMain() {
    ASSERT_TRUE(LoadWindow(*FindWindowTemplate(Forms().Windows(), kMainWindow), 0, false, nullptr));
  }

  // Runs the rows in order on one unit of the loaded main window.
  static void RunRows(uint32_t unit, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      SCOPED_TRACE("property " + std::to_string(row.index) + ", written " + Show(row.written));
      EXPECT_EQ(Read(kMainWindow, unit, row.index, row.stored), row.stored) << "as stored";
      const HWND before = LiveWindow(kMainWindow, unit);
      const int id = GetDlgCtrlID(before);
      const HWND above = GetWindow(before, GW_HWNDPREV);
      if (row.rebuilds) SetFocus(before);
      std::vector<Value> others;
      for (const Row& other : rows) others.push_back(Read(kMainWindow, unit, other.index, other.stored));

      Write(kMainWindow, unit, row.index, row.written);
      EXPECT_EQ(Read(kMainWindow, unit, row.index, row.readBack), row.readBack) << "read back";
      const HWND after = LiveWindow(kMainWindow, unit);
      ASSERT_NE(after, nullptr);
      if (row.shows) row.shows(after);
      if (!row.rebuilds) {
        EXPECT_EQ(after, before) << "the same native window";
        continue;
      }
      EXPECT_NE(after, before) << "a new native window";
      EXPECT_FALSE(IsWindow(before));
      EXPECT_EQ(GetDlgCtrlID(after), id);
      EXPECT_EQ(GetWindow(after, GW_HWNDPREV), above);
      // A combo box passes the focus on to its edit part.
      EXPECT_TRUE(GetFocus() == after || IsChild(after, GetFocus()));
      for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].index == row.index || rows[i].index == row.alsoChanges) continue;
        EXPECT_EQ(Read(kMainWindow, unit, rows[i].index, rows[i].stored), others[i])
            << "property " << rows[i].index << " kept through the rebuild";
      }
    }
  }
};

TEST_F(ConformancePropertyTest, CommonPropertiesReadFromTheRecordBeforeLoadAndFromTheWindowAfter) {
  for (const auto& window : Description().windows)
    for (const auto& unit : window.units) {
      const uint32_t id = &unit == &window.units[0] ? 0 : unit.id;
      SCOPED_TRACE(unit.name);
      EXPECT_EQ(Read(window.windowId, id, 0, 0), Value(unit.left));
      EXPECT_EQ(Read(window.windowId, id, 1, 0), Value(unit.top));
      EXPECT_EQ(Read(window.windowId, id, 2, 0), Value(unit.width));
      EXPECT_EQ(Read(window.windowId, id, 3, 0), Value(unit.height));
      EXPECT_EQ(Read(window.windowId, id, 4, std::string()), Value(unit.tag));
      EXPECT_EQ(Read(window.windowId, id, 5, 0), Value(static_cast<int32_t>(unit.flags & 1)));
      EXPECT_EQ(Read(window.windowId, id, 6, 0), Value(static_cast<int32_t>((unit.flags >> 1) & 1)));
      EXPECT_EQ(Read(window.windowId, id, 7, Bytes()), Value(unit.cursor));
    }

  LoadMain();
  const auto& main = Description().windows[0];
  for (const auto& unit : main.units) {
    if (&unit == &main.units[0]) continue;
    SCOPED_TRACE(unit.name);
    const HWND live = LiveWindow(kMainWindow, unit.id);
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(Read(kMainWindow, unit.id, 0, 0), Value(unit.left));
    EXPECT_EQ(Read(kMainWindow, unit.id, 1, 0), Value(unit.top));
    EXPECT_EQ(Read(kMainWindow, unit.id, 2, 0), Value(unit.width));
    const bool neverVisible = unit.typeCode == app::stored_form::type_code::Timer ||
                              unit.typeCode == app::stored_form::type_code::CommonDialog;
    EXPECT_EQ(Read(kMainWindow, unit.id, 5, 0), Value(neverVisible ? 0 : static_cast<int32_t>(unit.flags & 1)));
    EXPECT_EQ(Read(kMainWindow, unit.id, 6, 0), Value(static_cast<int32_t>((unit.flags >> 1) & 1)));
    EXPECT_EQ(IsWindowEnabled(live) == FALSE, (unit.flags & 2) != 0);
  }
}

TEST_F(ConformancePropertyTest, CommonPropertyWritesClampAndMoveTheLiveWindow) {
  LoadMain();
  const HWND button = LiveWindow(kMainWindow, kIconButton);
  const struct {
    int32_t index, written, readBack;
  } cases[] = {{0, 30, 30}, {1, -40000, -32627}, {0, 40000, 32627}, {1, 25, 25},
               {2, -5, 0}, {2, 70, 70}, {3, 40000, 32627}, {3, 33, 33}};
  for (const auto& c : cases) {
    Write(kMainWindow, kIconButton, c.index, c.written);
    EXPECT_EQ(Read(kMainWindow, kIconButton, c.index, 0), Value(c.readBack)) << c.index << " " << c.written;
  }
  RECT rect;
  GetWindowRect(button, &rect);
  MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 32627);
  EXPECT_EQ(rect.top, 25);
  EXPECT_EQ(rect.right - rect.left, 70);
  EXPECT_EQ(rect.bottom - rect.top, 33);

  Write(kMainWindow, kIconButton, 4, std::string("新标记"));
  EXPECT_EQ(Read(kMainWindow, kIconButton, 4, std::string()), Value(std::string("新标记")));
  Write(kMainWindow, kIconButton, 5, 0);
  EXPECT_FALSE(IsWindowVisible(button));
  EXPECT_EQ(Read(kMainWindow, kIconButton, 5, 0), Value(0));
  Write(kMainWindow, kIconButton, 5, 7);
  EXPECT_TRUE(IsWindowVisible(button));
  EXPECT_EQ(Read(kMainWindow, kIconButton, 5, 0), Value(1));
  Write(kMainWindow, kCursorButton, 6, 0);
  EXPECT_TRUE(IsWindowEnabled(LiveWindow(kMainWindow, kCursorButton)));
  Write(kMainWindow, kCursorButton, 6, -1);
  EXPECT_FALSE(IsWindowEnabled(LiveWindow(kMainWindow, kCursorButton)));
  EXPECT_EQ(Read(kMainWindow, kCursorButton, 6, 0), Value(1));
}

TEST_F(ConformancePropertyTest, Button) {
  LoadMain();
  const Bytes font = FontData("Courier New", -20, FW_NORMAL);
  RunRows(kIconButton, {
      {10, std::string("图标按钮"), std::string("新标题"), std::string("新标题"),
       [](HWND w) { EXPECT_EQ(TextOf(w), L"新标题"); }},
      {13, FontData("Tahoma", -12, FW_BOLD), font, font,
       [](HWND w) { EXPECT_STREQ(FontOf(w).lfFaceName, L"Courier New"); EXPECT_EQ(FontOf(w).lfHeight, -20); }},
      // The focused push button draws as the default whatever its kind: with the focus on the
      // edit box, only a button of kind 1 does.
      {9, 1, 0, 0, [](HWND w) {
         SetFocus(LiveWindow(kMainWindow, kEdit));
         EXPECT_EQ(StyleOf(w) & BS_TYPEMASK, BS_PUSHBUTTON);
         SetFocus(w);  // where the rebuild left it, as the rows check next
       }, true},
      {11, 0, 2, 2, [](HWND w) { EXPECT_EQ(StyleOf(w) & BS_CENTER, BS_RIGHT); }, true},
      {12, 2, 0, 0, [](HWND w) { EXPECT_EQ(StyleOf(w) & BS_VCENTER, BS_TOP); }, true},
      {8, IconOrCursorFile(1), BitmapFile({}), BitmapFile({}),
       [](HWND w) {
         EXPECT_TRUE(StyleOf(w) & BS_BITMAP);
         EXPECT_NE(SendMessageW(w, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
       }, true},
      {8, BitmapFile({}), Bytes{1, 2, 3}, Bytes(),
       [](HWND w) { EXPECT_FALSE(StyleOf(w) & (BS_BITMAP | BS_ICON)); }, true},
  });
}

TEST_F(ConformancePropertyTest, TransparentLabel) {
  LoadMain();
  RunRows(kLabel, {
      {8, std::string("标签文字"), std::string(""), std::string(""), [](HWND w) { EXPECT_EQ(TextOf(w), L""); }},
      {9, 2, 7, 3},
      {9, 3, -1, 0},
      {10, FontData("Tahoma", -13, FW_NORMAL), FontData("Courier New", -20, FW_BOLD),
       FontData("Courier New", -20, FW_BOLD)},
      {11, 0x0000FF, 0x00FF00, 0x00FF00},
      {12, 2, 5, 2},
      {12, 2, -3, 0},
      {13, 1, 0, 0},
      {14, 2, 9, 2},
      {14, 2, 1, 1},
  });
}

TEST_F(ConformancePropertyTest, EditBox) {
  LoadMain();
  using Selection = std::pair<DWORD, DWORD>;
  const auto selection = [](HWND w) {
    DWORD start = 0, end = 0;
    SendMessageW(w, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return Selection(start, end);
  };
  RunRows(kEdit, {
      // Bytes of "编辑内容"; the box selects characters.
      {24, 2, 4, 4, [=](HWND w) { EXPECT_EQ(selection(w), Selection(2, 4)); }},
      {25, 4, 2, 2, [=](HWND w) { EXPECT_EQ(selection(w), Selection(2, 3)); }},
      {9, 3, 1, 1, [](HWND w) { EXPECT_TRUE(ExStyleOf(w) & WS_EX_CLIENTEDGE); EXPECT_FALSE(ExStyleOf(w) & WS_EX_STATICEDGE); }},
      {10, 0x0000FF, 0x00FF00, 0x00FF00},
      {11, 0xE0FFE0, static_cast<int32_t>(0xFF000000), static_cast<int32_t>(0xFF000000)},
      {12, FontData("Tahoma", -15, FW_BOLD), FontData("Courier New", -18, FW_NORMAL),
       FontData("Courier New", -18, FW_NORMAL), [](HWND w) { EXPECT_STREQ(FontOf(w).lfFaceName, L"Courier New"); }},
      {13, 0, 1, 1, [](HWND w) { EXPECT_FALSE(StyleOf(w) & ES_NOHIDESEL); }, true},
      {14, 40, 3, 3, [](HWND w) { EXPECT_EQ(SendMessageW(w, EM_GETLIMITTEXT, 0, 0), 3); }},
      {15, 1, 0, 0, [](HWND w) { EXPECT_FALSE(StyleOf(w) & ES_MULTILINE); }, true},
      {16, 2, 3, 3, nullptr, true},
      {17, 1, 2, 2, [](HWND w) { EXPECT_TRUE(StyleOf(w) & ES_RIGHT); }, true},
      {17, 2, -4, 0, [](HWND w) { EXPECT_FALSE(StyleOf(w) & (ES_RIGHT | ES_CENTER)); }, true},
      {18, 1, 2, 2, [](HWND w) { EXPECT_TRUE(StyleOf(w) & ES_PASSWORD); }, true},
      {19, std::string("#"), std::string("*"), std::string("*"),
       [](HWND w) { EXPECT_EQ(SendMessageW(w, EM_GETPASSWORDCHAR, 0, 0), '*'); }},
      {20, 2, 1, 1, [](HWND w) { EXPECT_TRUE(StyleOf(w) & ES_LOWERCASE); }, true},
      {8, std::string("编辑内容"), std::string("ABC"), std::string("abc"),
       [](HWND w) { EXPECT_EQ(TextOf(w), L"abc"); }},
      {21, 0, -3, 0},
      {22, 5, 7, 7},
      {23, 50, 70, 70},
      {27, std::string("二十七"), std::string("x"), std::string("x")},
      {28, std::string("二十八"), std::string(""), std::string("")},
  });
}

TEST_F(ConformancePropertyTest, ComboBox) {
  LoadMain();
  const auto selected = [](HWND w) { return static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0)); };
  const auto editSelection = [](HWND w) {
    const LRESULT both = SendMessageW(w, CB_GETEDITSEL, 0, 0);
    return std::make_pair(static_cast<int>(LOWORD(both)), static_cast<int>(HIWORD(both)));
  };
  // Items in the same order in every locale's collation, so that sorting them changes nothing.
  RunRows(kCombo, {
      {20, std::string("第一项\r\n第二项\r\n第三项"), std::string("alpha\r\nbeta"), std::string("alpha\r\nbeta"),
       [](HWND w) { EXPECT_EQ(SendMessageW(w, CB_GETCOUNT, 0, 0), 2); }},
      {21, Bytes(8, 0), Bytes{5, 0, 0, 0, 6, 0, 0, 0}, Bytes{5, 0, 0, 0, 6, 0, 0, 0},
       [](HWND w) { EXPECT_EQ(SendMessageW(w, CB_GETITEMDATA, 1, 0), 6); }},
      {19, -1, 1, 1, [=](HWND w) { EXPECT_EQ(selected(w), 1); }},
      {19, 1, 9, 1, [=](HWND w) { EXPECT_EQ(selected(w), 1); }},
      {19, 1, -5, -1, [=](HWND w) { EXPECT_EQ(selected(w), -1); }},
      {9, std::string(""), std::string("自由文字"), std::string("自由文字"),
       [](HWND w) { EXPECT_EQ(TextOf(w), L"自由文字"); }},
      {10, 20, 4, 4},
      // Bytes of "自由文字"; the edit part selects characters.
      {11, 2, 0, 0, [=](HWND w) { EXPECT_EQ(editSelection(w), std::make_pair(0, 2)); }},
      {12, 4, 2, 2, [=](HWND w) { EXPECT_EQ(editSelection(w), std::make_pair(0, 1)); }},
      {15, 4, 6, 6},
      {16, 0x800000, 0x000080, 0x000080},
      {17, 0xF0F0C0, 0xFFFFFF, 0xFFFFFF},
      {18, FontData("Tahoma", -14, FW_NORMAL), FontData("Courier New", -16, FW_BOLD),
       FontData("Courier New", -16, FW_BOLD), [](HWND w) { EXPECT_STREQ(FontOf(w).lfFaceName, L"Courier New"); }},
      {22, std::string("二十二"), std::string("x"), std::string("x")},
      {23, std::string("二十三"), std::string("y"), std::string("y")},
      {24, 24, 42, 42},
      {14, 0, 1, 1, [](HWND w) { EXPECT_TRUE(StyleOf(w) & CBS_SORT); }, true},
      {8, 1, 2, 2, [](HWND w) { EXPECT_EQ(StyleOf(w) & 3, CBS_DROPDOWNLIST); }, true, 9},
      {8, 2, -1, 0, [](HWND w) { EXPECT_EQ(StyleOf(w) & 3, CBS_SIMPLE); }, true},
  });
}

TEST_F(ConformancePropertyTest, TimerAndDialogs) {
  LoadMain();
  RunRows(kTimer, {{8, 60000, -5, 0}, {8, 0, 250, 250}});
  const std::vector<Row> dialogRows = {
      {9, std::string("对话框标题"), std::string("t"), std::string("t")},
      {10, std::string("默认.txt"), std::string(""), std::string("")},
      {11, std::string("文本文件|*.txt|所有文件|*.*"), std::string("a|b"), std::string("a|b")},
      {12, 1, -3, -3},
      {13, std::string("C:\\"), std::string("D:\\"), std::string("D:\\")},
      {14, std::string("txt"), std::string("doc"), std::string("doc")},
      {15, 1, 9, 1}, {16, 0, 1, 1}, {17, 0, 1, 1}, {18, 0, 1, 1}, {19, 1, 0, 0},
      {20, 0x204060, 0x0, 0x0}, {21, 1, 0, 0}, {22, 1, 0, 0}, {23, 1, 0, 0}, {24, 1, 0, 0},
      {25, std::string("宋体"), std::string("黑体"), std::string("黑体")},
      {26, 14, 9, 9},
      {27, std::string("帮助.hlp"), std::string(""), std::string("")},
      {28, 2, -2, 0}, {29, 77, 5, 5},
  };
  const struct {
    uint32_t unit;
    int32_t kind;
  } dialogs[] = {{kOpenDialog, 0}, {kSaveDialog, 1}, {kFontDialog, 2}, {kHelpDialog, 3}};
  for (const auto& dialog : dialogs) {
    SCOPED_TRACE(dialog.kind);
    std::vector<Row> rows = dialogRows;
    rows.insert(rows.begin(), {{8, dialog.kind, 8, 3}, {8, 3, -1, 0}, {8, 0, dialog.kind, dialog.kind}});
    RunRows(dialog.unit, rows);
  }
}

TEST_F(ConformancePropertyTest, Window) {
  LoadMain();
  RunRows(0, {
      {8, std::string("一致性窗口"), std::string("新窗口标题"), std::string("新窗口标题"),
       [](HWND w) { EXPECT_EQ(TextOf(w), L"新窗口标题"); }},
      {9, 1, 2, 2, [](HWND w) { EXPECT_FALSE(StyleOf(w) & WS_THICKFRAME); }},
      {9, 2, -1, 0, [](HWND w) { EXPECT_FALSE(StyleOf(w) & WS_CAPTION); }},
      {9, 0, 1, 1, [](HWND w) { EXPECT_TRUE(StyleOf(w) & WS_THICKFRAME); }},
      {10, 0x336699, 0x00FF00, 0x00FF00, [](HWND w) {
         UpdateWindow(w);
         RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
         HDC dc = GetDC(w);
         EXPECT_EQ(GetPixel(dc, 380, 250) & 0xFFFFFF, 0x00FF00u);
         ReleaseDC(w, dc);
       }},
      {11, BitmapFile({.width = 16, .height = 16}), Bytes(), Bytes()},
      {12, 2, -1, 0},
      {13, Bytes{1, 2, 3}, Bytes{4}, Bytes{4}},
      {14, 3, 4, 4},
      {15, 1, 0, 0, [](HWND w) { EXPECT_FALSE(StyleOf(w) & WS_SYSMENU); }},
      {16, 1, 0, 0, [](HWND w) { EXPECT_FALSE(StyleOf(w) & WS_MAXIMIZEBOX); }},
      {17, 0, 1, 1, [](HWND w) { EXPECT_TRUE(StyleOf(w) & WS_MINIMIZEBOX); }},
      {20, IconOrCursorFile(1), Bytes(), Bytes()},
      {20, Bytes(), IconOrCursorFile(1), IconOrCursorFile(1),
       [](HWND w) { EXPECT_NE(SendMessageW(w, WM_GETICON, ICON_BIG, 0), 0); }},
      {21, 1, 0, 0}, {22, 0, 1, 1}, {23, 1, 0, 0},
      {24, std::string("二十四"), std::string("z"), std::string("z")},
      {25, 25, -25, -25}, {26, 0, 1, 1}, {27, 1, 0, 0}, {28, 2, -7, 0}, {30, 1, 0, 0},
      {31, std::string("ConformanceWindow"), std::string("Other"), std::string("Other")},
      {19, 0, 5, 1}, {19, 1, 0, 0},
      {29, 0, 3, 1, [](HWND w) { EXPECT_TRUE(ExStyleOf(w) & WS_EX_TOPMOST); }},
      {29, 1, 0, 0, [](HWND w) { EXPECT_FALSE(ExStyleOf(w) & WS_EX_TOPMOST); }},
      // Read back as the window is: neither minimized nor maximized, whatever was stored.
      {18, 0, 0, 0, [](HWND w) { EXPECT_FALSE(IsIconic(w)); }},
      {18, 0, 2, 2, [](HWND w) { EXPECT_TRUE(IsIconic(w)); }},
  });
}

}  // namespace
}  // namespace forms::testing::conformance
