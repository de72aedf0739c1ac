// MainForm as the executable stores it: read back by the runtime's reader, every value checked
// against the layout the tool is designed with.

#include <windows.h>

#include <gtest/gtest.h>

#include <span>
#include <stdexcept>

#include "app/forms/app_icon.h"
#include "app/forms/form_data.h"
#include "app/forms/form_writer.h"
#include "app/forms/main_form.h"
#include "app/handler_table.h"
#include "app/handlers.h"
#include "list_with_a_window.h"
#include "runtime/forms/archive.h"
#include "runtime/forms/form_reader.h"

namespace forms {
namespace {

using Bytes = std::vector<uint8_t>;

std::span<const uint8_t> Stored() { return {app::kMainFormData, app::kMainFormDataLength}; }

WindowTemplate& MainForm() {
  static WindowList windows = [] {
    WindowList read;
    EXPECT_TRUE(ReadFormData(app::kMainFormData, app::kMainFormDataLength, &app::kHandlerTable,
                             read));
    return read;
  }();
  if (windows.size() != 1) throw std::runtime_error("MainForm's stored description unread");
  return *windows[0];
}

TEST(MainForm, TheExecutableCarriesWhatTheDescriptionWrites) {
  const Bytes written = app::stored_form::WriteFormData(app::stored_form::MainForm());
  EXPECT_EQ(Bytes(Stored().begin(), Stored().end()), written);
}

TEST(MainForm, StoredSizesMatchTheirSelfCheck) {
  const app::stored_form::FormDescription form = app::stored_form::MainForm();
  ASSERT_EQ(form.windows.size(), 1u);
  const size_t recordSizes[] = {2484, 124, 110, 144, 148, 154, 190, 158, 114};
  ASSERT_EQ(form.windows[0].units.size(), std::size(recordSizes));
  for (size_t i = 0; i < std::size(recordSizes); ++i)
    EXPECT_EQ(app::stored_form::WriteUnitRecord(form.windows[0].units[i]).size(), recordSizes[i])
        << "record " << i;
  EXPECT_EQ(app::stored_form::WriteUnitBlock(form.windows[0]).size(), 3734u);
  EXPECT_EQ(app::kMainFormDataLength, 3770u);
}

TEST(MainForm, WindowUnitsAndBindingsReadBack) {
  const WindowTemplate& window = MainForm();
  EXPECT_EQ(window.windowId, 0x52010001u);
  EXPECT_EQ(window.wordA, 0x021D3620u);
  EXPECT_EQ(window.wordB, 0x19010002u);
  EXPECT_EQ(window.name, "");
  EXPECT_EQ(window.secondText, "");

  const struct {
    const char* name;
    uint32_t id;
    uint32_t typeCode;
    int32_t left, top, width, height;
    uint32_t flags;
    EventHandler handler;  // bound to event 0; null: no binding at all
  } units[] = {
      {"", 0x06010000, 0x00010001, 50, 50, 315, 316, 1, app::InitialiseMainForm},
      {"时钟1", 0x16016C5B, 0x00010020, 40, 16, 32, 32, 0, app::CheckSignatureTick},
      {"编辑框1", 0x16016C5A, 0x00010005, 48, 144, 88, 16, 4, nullptr},
      {"透明标签1", 0x16016C59, 0x00020005, 48, 176, 96, 16, 1, nullptr},
      {"按钮2", 0x16016C58, 0x0001000B, 156, 160, 80, 32, 5, app::ApplyResolution},
      {"按钮6", 0x16016C56, 0x0001000B, 156, 120, 80, 32, 5, app::ReadSignature},
      {"组合框1", 0x16016C54, 0x0001000E, 48, 88, 96, 20, 7, nullptr},
      {"按钮1", 0x16016BD6, 0x0001000B, 156, 80, 80, 32, 5, app::OpenExecutable},
      {"通用对话框1", 0x16012415, 0x0001001F, 176, 16, 64, 32, 0, nullptr},
  };
  ASSERT_EQ(window.units.size(), std::size(units));
  for (size_t i = 0; i < std::size(units); ++i) {
    const auto& expected = units[i];
    const Unit& unit = window.units[i];
    SCOPED_TRACE(::testing::Message() << "unit " << i);
    EXPECT_EQ(unit.id, expected.id);
    EXPECT_FALSE(unit.menuItem);
    EXPECT_EQ(unit.name, expected.name);
    EXPECT_EQ(unit.typeCode, expected.typeCode);
    EXPECT_EQ((std::vector<int32_t>{unit.left, unit.top, unit.width, unit.height}),
              (std::vector<int32_t>{expected.left, expected.top, expected.width,
                                    expected.height}));
    EXPECT_EQ(unit.flags, expected.flags);
    if (expected.handler == nullptr) {
      EXPECT_TRUE(unit.events.empty());
    } else {
      ASSERT_EQ(unit.events.size(), 1u);
      EXPECT_EQ(unit.events[0].number, 0);
      EXPECT_EQ(unit.events[0].handler, expected.handler);
    }
    // The same in every record.
    EXPECT_EQ(unit.sharedEventsUnit, 0u);
    EXPECT_EQ(unit.secondText, "");
    EXPECT_EQ(unit.parentUnit, 0u);
    EXPECT_TRUE(unit.children.empty());
    EXPECT_EQ(unit.cursorData, (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(unit.tag, "");
  }
  EXPECT_EQ(UnitRecordById(MainForm(), 0x16016C54).index, 6u);
}

// One stored type-data field, decoded the way the unit's type reads it.
struct Field {
  enum Kind { Word, Text, Binary, List } kind;
  uint32_t word = 0;
  std::string text = {};
  Bytes binary = {};
  std::vector<std::string> list = {};
};
Field W(uint32_t value) { return {Field::Word, value}; }
Field T(std::string text) { return {Field::Text, 0, std::move(text)}; }
Field B(Bytes binary = {}) { return {Field::Binary, 0, {}, std::move(binary)}; }
Field L(std::vector<std::string> list) { return {Field::List, 0, {}, {}, std::move(list)}; }

void ExpectFields(std::span<const uint8_t> typeData, const std::vector<Field>& fields) {
  ArchiveReader in(typeData);
  for (size_t i = 0; i < fields.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "field " << i);
    const Field& f = fields[i];
    uint32_t word = 0;
    std::string text;
    Bytes binary;
    std::vector<std::string> list;
    switch (f.kind) {
      case Field::Word:
        ASSERT_TRUE(in.U32(word));
        EXPECT_EQ(word, f.word);
        break;
      case Field::Text:
        ASSERT_TRUE(in.LenText(text));
        EXPECT_EQ(text, f.text);
        break;
      case Field::Binary:
        ASSERT_TRUE(in.LenBytes(binary));
        EXPECT_EQ(binary, f.binary);
        break;
      case Field::List:
        ASSERT_TRUE(in.TextList(list));
        EXPECT_EQ(list, f.list);
        break;
    }
  }
  EXPECT_EQ(in.Remaining(), 0u) << "bytes after the last field";
}

TEST(MainForm, TypeDataHoldsTheDesignedValues) {
  const std::vector<Field> button = {W(1), W(0), W(1), W(1), B(), B()};  // then the caption
  auto Button = [&button](const char* caption) {
    std::vector<Field> fields = button;
    fields.push_back(T(caption));
    return fields;
  };
  const std::vector<Field> fields[] = {
      // window: version; border style, picture mode, background colour, maximize, minimize,
      // control box, start position, close box; properties 14, 21, 22, 23, 25; task bar;
      // properties 27, 28; always on top; property 30; class name; background picture, icon,
      // property 13; title; property 24
      {W(6), W(2), W(1), W(0xFF000000), W(0), W(1), W(1), W(1), W(1), W(0), W(0), W(1), W(0),
       W(0), W(1), W(0), W(0), W(0), W(0), T(""), B(), B(app::stored_form::AppIcon()), B(),
       T("Quenmire导演剪辑PC版分辨率修改器 v1"), T("")},
      // 时钟1: version, interval
      {W(1), W(1000)},
      // 编辑框1: every property at its default
      {},
      // 透明标签1: version, text effect, text colour, alignments, word wrap, font, caption
      {W(1), W(0), W(0x00FF00), W(0), W(1), W(0), B(), T("")},
      Button("修改"),
      Button("读取分辨率"),
      // 组合框1: version, style, maximum length, selection start and length, sorted, extra row
      // height, text and background colour, current selection, font, item values, content,
      // items, properties 22, 23 and 24
      {W(3), W(2), W(0), W(0), W(0), W(0), W(1), W(0), W(0xFFFFFF), W(0), B(), B(), T(""),
       L({"1440 x 900"}), T(""), T(""), W(0)},
      Button("加载tovrex.exe"),
      // 通用对话框1: every property at its default
      {},
  };
  const WindowTemplate& window = MainForm();
  ASSERT_EQ(window.units.size(), std::size(fields));
  for (size_t i = 0; i < std::size(fields); ++i) {
    SCOPED_TRACE(::testing::Message() << "unit " << i);
    ExpectFields(TypeDataOf(window.units[i]), fields[i]);
  }
}

using testing::ListWithAWindow;

TEST(MainForm, EveryTruncationFailsAndLeavesTheListAlone) {
  for (uint32_t length = 0; length < app::kMainFormDataLength; ++length) {
    ListWithAWindow windows;
    ASSERT_FALSE(ReadFormData(app::kMainFormData, length, &app::kHandlerTable, windows.list))
        << "length " << length;
    ASSERT_TRUE(windows.Unchanged()) << "length " << length;
  }
}

TEST(MainForm, SingleByteChangesEitherReadOrLeaveTheListAlone) {
  Bytes block(Stored().begin(), Stored().end());
  for (size_t i = 0; i < block.size(); ++i) {
    const uint8_t original = block[i];
    for (uint8_t changed : {uint8_t(0x00), uint8_t(0xFF), uint8_t(original ^ 0x80)}) {
      if (changed == original) continue;
      block[i] = changed;
      ListWithAWindow windows;
      const bool read = ReadFormData(block.data(), static_cast<uint32_t>(block.size()),
                                     &app::kHandlerTable, windows.list);
      ASSERT_EQ(windows.list[0].get(), windows.existing) << "byte " << i;
      if (!read) {
        ASSERT_TRUE(windows.Unchanged()) << "byte " << i;
      }
    }
    block[i] = original;
  }
}

uint32_t Word(std::span<const uint8_t> bytes, size_t at, size_t size = 4) {
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) value |= uint32_t{bytes[at + i]} << (8 * i);
  return value;
}

// The stored bytes walked by hand, with the offsets and sizes worked out from the format and
// the design's record sizes rather than taken from the writer that made them: a writer that
// frames records wrongly fails here even though it agrees with itself.
TEST(MainForm, StoredBytesLieAtTheWorkedOutOffsets) {
  const std::span<const uint8_t> stored = Stored();
  ASSERT_EQ(stored.size(), 3770u);
  // The window table: its length, then the window's id and its placeholder.
  EXPECT_EQ(Word(stored, 0), 8u);
  EXPECT_EQ(Word(stored, 4), 0x52010001u);
  // The window: two words, two empty texts (length 0), the unit count, the unit block's length.
  EXPECT_EQ(Word(stored, 12), 0x021D3620u);
  EXPECT_EQ(Word(stored, 16), 0x19010002u);
  EXPECT_EQ(Word(stored, 20), 0u);
  EXPECT_EQ(Word(stored, 24), 0u);
  const uint32_t recordSizes[] = {2484, 124, 110, 144, 148, 154, 190, 158, 114};
  constexpr uint32_t kUnits = 9, kBlock = 32;
  EXPECT_EQ(Word(stored, 28), kUnits);
  EXPECT_EQ(Word(stored, kBlock), 3734u);
  // The unit block: nine ids, nine offsets counted from the first record, then each record
  // behind its own length.
  const uint32_t offsets = kBlock + 4 + 4 * kUnits, records = offsets + 4 * kUnits;
  uint32_t relative = 0;
  for (uint32_t i = 0; i < kUnits; ++i) {
    EXPECT_EQ(Word(stored, offsets + 4 * i), relative) << "offset of record " << i;
    EXPECT_EQ(Word(stored, records + relative), recordSizes[i]) << "length of record " << i;
    relative += 4 + recordSizes[i];
  }
  EXPECT_EQ(records + relative, stored.size()) << "the last record ends the data";
}

TEST(AppIcon, IsOne32By32ImageOf256Colours) {
  const Bytes icon = app::stored_form::AppIcon();
  ASSERT_EQ(icon.size(), 2238u);
  const struct {
    const char* what;
    size_t at, size;
    uint32_t value;
  } fields[] = {
      {"reserved", 0, 2, 0}, {"type: icon", 2, 2, 1}, {"image count", 4, 2, 1},
      {"width", 6, 1, 32}, {"height", 7, 1, 32}, {"colour count: 256", 8, 1, 0},
      {"planes", 10, 2, 1}, {"bits per pixel", 12, 2, 8}, {"image size", 14, 4, 2216},
      {"image offset", 18, 4, 22},
      // The image's bitmap header; its height counts colour rows and mask rows.
      {"header size", 22, 4, 40}, {"bitmap width", 26, 4, 32}, {"bitmap height", 30, 4, 64},
      {"bitmap planes", 34, 2, 1}, {"bitmap bits", 36, 2, 8}, {"compression", 38, 4, 0},
  };
  for (const auto& f : fields) EXPECT_EQ(Word(icon, f.at, f.size), f.value) << f.what;

  // The mask, bottom row first, one bit per pixel, set where the picture is clear: the
  // corners are clear, the screen's middle is drawn.
  const size_t mask = 22 + 40 + 1024 + 1024;
  auto clear = [&](int x, int y) {
    return (icon[mask + (31 - y) * 4 + x / 8] >> (7 - x % 8)) & 1;
  };
  EXPECT_TRUE(clear(0, 0) && clear(31, 0) && clear(0, 31) && clear(31, 31));
  EXPECT_FALSE(clear(16, 12));
}

TEST(AppIcon, IsTheExecutablesOwnIcon) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe = path;
  exe = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"..\\..\\app\\quenmire-res.exe";
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  auto ResourceBytes = [module](LPCSTR name, LPCSTR type) -> std::span<const uint8_t> {
    HRSRC found = FindResourceA(module, name, type);
    if (found == nullptr) return {};
    return {static_cast<const uint8_t*>(LockResource(LoadResource(module, found))),
            SizeofResource(module, found)};
  };
  // The icon group (6-byte header, then 14-byte entries) names the image by its resource id.
  const std::span<const uint8_t> group = ResourceBytes(MAKEINTRESOURCEA(1), RT_GROUP_ICON);
  ASSERT_EQ(group.size(), 6u + 14u);
  EXPECT_EQ(Word(group, 4, 2), 1u);
  const std::span<const uint8_t> image =
      ResourceBytes(MAKEINTRESOURCEA(Word(group, 6 + 12, 2)), RT_ICON);
  const Bytes icon = app::stored_form::AppIcon();
  EXPECT_EQ(Bytes(image.begin(), image.end()), Bytes(icon.begin() + 22, icon.end()));
  FreeLibrary(module);
}

}  // namespace
}  // namespace forms
