#include "runtime/forms/form_reader.h"

#include <gtest/gtest.h>

#include <optional>

#include "list_with_a_window.h"
#include "runtime/forms/archive.h"

namespace forms {
namespace {

HandlerResult HandlerA(const uint32_t*, uint32_t) { return {1, true}; }
HandlerResult HandlerB(const uint32_t*, uint32_t) { return {2, true}; }

const HandlerEntry kEntries[] = {{0x100, HandlerA}, {0x200, HandlerB}};
const HandlerTable kHandlers = {2, kEntries};

using Bytes = std::vector<uint8_t>;

// A unit record as the stored format lays it out; the stored counts can be made to lie.
struct FixtureRecord {
  uint32_t typeCode = 0x00010001;
  uint32_t sharedEventsUnit = 0;
  std::string name = {};
  std::string secondText = {};
  int32_t left = 1, top = 2, width = 3, height = 4;
  uint32_t parentUnit = 0;
  std::vector<uint32_t> children = {};
  Bytes cursor = {0, 0, 0, 0};
  std::string tag = {};
  uint32_t flags = 1;
  std::vector<std::pair<int32_t, uint32_t>> events = {};
  Bytes typeData = {};
  std::optional<uint32_t> storedChildCount = {}, storedEventCount = {};

  Bytes Write() const {
    ArchiveWriter out;
    out.U32(typeCode);
    out.U32(sharedEventsUnit);
    out.Zeros(16);
    out.ZText(name);
    out.ZText(secondText);
    out.U32(0xDEADBEEF);  // object slot: whatever is stored is ignored
    for (int32_t v : {left, top, width, height}) out.I32(v);
    out.U32(0xDEADBEEF);  // pointer-handle slot
    out.U32(parentUnit);
    out.U32(storedChildCount.value_or(static_cast<uint32_t>(children.size())));
    for (uint32_t child : children) out.U32(child);
    out.LenBytes(cursor);
    out.ZText(tag);
    out.U32(0);
    out.U32(flags);
    out.U32(0);
    out.U32(storedEventCount.value_or(static_cast<uint32_t>(events.size())));
    for (auto [number, offset] : events) {
      out.I32(number);
      out.U32(offset);
    }
    out.Zeros(20);
    out.Bytes(typeData);
    return std::move(out.Data());
  }
};

struct FixtureUnit {
  uint32_t id;
  Bytes record;
  std::optional<uint32_t> storedLength = {};  // what the unit block says the record's length is
};

struct FixtureWindow {
  uint32_t id;
  std::vector<FixtureUnit> units;
  std::optional<uint32_t> storedUnitCount = {}, storedFirstOffset = {};
};

Bytes Block(const std::vector<FixtureWindow>& windows, std::optional<uint32_t> tableLength = {}) {
  ArchiveWriter table;
  for (const FixtureWindow& w : windows) table.U32(w.id);
  for (size_t i = 0; i < windows.size(); ++i) table.U32(0x0E058E80);
  ArchiveWriter out;
  out.U32(tableLength.value_or(static_cast<uint32_t>(table.Data().size())));
  out.Bytes(table.Data());
  for (const FixtureWindow& w : windows) {
    out.U32(0xA);
    out.U32(0xB);
    out.LenText("模板");
    out.LenText("second");
    out.U32(w.storedUnitCount.value_or(static_cast<uint32_t>(w.units.size())));
    ArchiveWriter block;
    for (const FixtureUnit& u : w.units) block.U32(u.id);
    uint32_t offset = 0;
    for (size_t i = 0; i < w.units.size(); ++i) {
      block.U32(i == 0 ? w.storedFirstOffset.value_or(0) : offset);
      offset += 4 + static_cast<uint32_t>(w.units[i].record.size());
    }
    for (const FixtureUnit& u : w.units) {
      block.U32(u.storedLength.value_or(static_cast<uint32_t>(u.record.size())));
      block.Bytes(u.record);
    }
    out.LenBytes(block.Data());
  }
  return std::move(out.Data());
}

// Read with this file's handler table unless another is given.
struct Windows : testing::ListWithAWindow {
  bool Read(const Bytes& block, const HandlerTable* handlers = &kHandlers) {
    return ListWithAWindow::Read(block, handlers);
  }
};

TEST(FormReader, ReadsEveryStoredValueAndAppendsTheWindows) {
  FixtureRecord window{.name = "", .left = 50, .top = -7, .width = 315, .height = 316,
                       .events = {{0, 0x100}}, .typeData = {6, 0, 0, 0}};
  FixtureRecord button{.typeCode = 0x0001000B,
                       .sharedEventsUnit = 0x16000009,
                       .name = "按钮1",
                       .secondText = "附注",
                       .parentUnit = 0x16000003,
                       .children = {0x16000004, 0x16000005},
                       .cursor = {1, 2, 3, 4, 5},
                       .tag = "标签",
                       .flags = 7,
                       .events = {{-3, kNoHandlerOffset}, {0, 0x200}}};
  const Bytes block = Block({{0x52010001, {{0x06010000, window.Write()}}},
                             {0x52010002, {{0x06010000, window.Write()},
                                           {0x16000002, button.Write()}}}});
  Windows windows;
  ASSERT_TRUE(windows.Read(block));
  ASSERT_EQ(windows.list.size(), 3u);
  EXPECT_EQ(windows.list[0].get(), windows.existing);

  const WindowTemplate& first = *windows.list[1];
  EXPECT_EQ(first.windowId, 0x52010001u);
  EXPECT_EQ(first.wordA, 0xAu);
  EXPECT_EQ(first.wordB, 0xBu);
  EXPECT_EQ(first.name, "模板");
  EXPECT_EQ(first.secondText, "second");
  ASSERT_EQ(first.units.size(), 1u);
  const Unit& own = first.units[0];
  EXPECT_EQ(own.id, 0x06010000u);
  EXPECT_EQ(own.typeCode, 0x00010001u);
  EXPECT_EQ((std::vector<int32_t>{own.left, own.top, own.width, own.height}),
            (std::vector<int32_t>{50, -7, 315, 316}));
  EXPECT_EQ(own.object, nullptr);
  EXPECT_EQ(own.cursor, nullptr);
  ASSERT_EQ(own.events.size(), 1u);
  EXPECT_EQ(own.events[0].handler, HandlerA);
  EXPECT_EQ(own.typeData, (Bytes{6, 0, 0, 0}));

  const WindowTemplate& second = *windows.list[2];
  EXPECT_EQ(second.windowId, 0x52010002u);
  ASSERT_EQ(second.units.size(), 2u);
  const Unit& unit = second.units[1];
  EXPECT_EQ(unit.id, 0x16000002u);
  EXPECT_FALSE(unit.menuItem);
  EXPECT_EQ(unit.typeCode, 0x0001000Bu);
  EXPECT_EQ(unit.sharedEventsUnit, 0x16000009u);
  EXPECT_EQ(unit.name, "按钮1");
  EXPECT_EQ(unit.secondText, "附注");
  EXPECT_EQ(unit.parentUnit, 0x16000003u);
  EXPECT_EQ(unit.children, (std::vector<uint32_t>{0x16000004, 0x16000005}));
  EXPECT_EQ(unit.cursorData, (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(unit.tag, "标签");
  EXPECT_EQ(unit.flags, 7u);
  ASSERT_EQ(unit.events.size(), 2u);
  EXPECT_EQ(unit.events[0].number, -3);
  EXPECT_EQ(unit.events[0].handler, nullptr);
  EXPECT_EQ(unit.events[1].number, 0);
  EXPECT_EQ(unit.events[1].handler, HandlerB);
  EXPECT_TRUE(unit.typeData.empty());
}

TEST(FormReader, StoredOffsetsBindOnlyThroughTheHandlerTable) {
  const struct {
    uint32_t offset;
    const HandlerTable* table;
    bool read;
    EventHandler handler;
  } cases[] = {
      {0x100, &kHandlers, true, HandlerA},
      {0x200, &kHandlers, true, HandlerB},
      {kNoHandlerOffset, &kHandlers, true, nullptr},
      {kNoHandlerOffset, nullptr, true, nullptr},
      {0x300, &kHandlers, false, nullptr},  // an offset the table does not know: damaged
      {0x000, &kHandlers, false, nullptr},
      {0x100, nullptr, false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << "offset 0x" << c.offset);
    FixtureRecord record{.events = {{0, c.offset}}};
    Windows windows;
    ASSERT_EQ(windows.Read(Block({{0x52010001, {{0x06010000, record.Write()}}}}), c.table),
              c.read);
    if (!c.read) {
      EXPECT_TRUE(windows.Unchanged());
      continue;
    }
    EXPECT_EQ(windows.list[1]->units[0].events[0].handler, c.handler);
  }
}

TEST(FormReader, ARecordWhoseWalkRunsPastItsLengthFails) {
  // The walk ends after the last binding; the 20 reserved bytes and the type data may be cut.
  FixtureRecord record{.name = "时钟1", .children = {0x16000001}, .tag = "t",
                       .events = {{0, 0x100}}, .typeData = {1, 0, 0, 0, 0xE8, 3, 0, 0}};
  const Bytes bytes = record.Write();
  const uint32_t walked = static_cast<uint32_t>(bytes.size() - record.typeData.size() - 20);
  for (uint32_t length = 0; length <= bytes.size(); ++length) {
    SCOPED_TRACE(::testing::Message() << "record length " << length);
    // The bytes stay in the block: only the record's own length ends the walk.
    Windows windows;
    const bool read =
        windows.Read(Block({{0x52010001, {{0x06010000, bytes, length}}}}));
    ASSERT_EQ(read, length >= walked);
    if (!read) {
      EXPECT_TRUE(windows.Unchanged());
      continue;
    }
    const Unit& unit = windows.list[1]->units[0];
    EXPECT_EQ(unit.events[0].handler, HandlerA);
    const uint32_t typeDataLength = length > walked + 20 ? length - walked - 20 : 0;
    EXPECT_EQ(unit.typeData, Bytes(bytes.begin() + walked + 20,
                                   bytes.begin() + walked + 20 + typeDataLength));
  }
}

TEST(FormReader, DamagedCountsAndOffsetsFailWithoutReserving) {
  const Bytes good = FixtureRecord{.events = {{0, 0x100}}}.Write();
  FixtureRecord manyChildren{.storedChildCount = 0xFFFFFFFF};
  FixtureRecord manyEvents{.storedEventCount = 0x20000000};
  const struct {
    const char* what;
    Bytes block;
  } cases[] = {
      {"child count", Block({{0x52010001, {{0x06010000, manyChildren.Write()}}}})},
      {"event count", Block({{0x52010001, {{0x06010000, manyEvents.Write()}}}})},
      {"no unit at all", Block({{0x52010001, {{0x06010000, good}}, 0}})},
      {"unit count", Block({{0x52010001, {{0x06010000, good}}, 0x1FFFFFFF}})},
      {"record offset", Block({{0x52010001, {{0x06010000, good}}, {}, 0xFFFFFFFC}})},
      {"record length", Block({{0x52010001, {{0x06010000, good, 0xFFFFFFF0}}}})},
      {"window table", Block({{0x52010001, {{0x06010000, good}}}}, 0xFFFFFFF8)},
      {"second window missing", Block({{0x52010001, {{0x06010000, good}}}}, 16)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Windows windows;
    EXPECT_FALSE(windows.Read(c.block));
    EXPECT_TRUE(windows.Unchanged());
  }
}

TEST(FormReader, AMenuItemKeepsItsRecordWhole) {
  // Not a component record at all: taken apart, it would run past its end.
  const Bytes menuRecord = {0xAA, 0xBB, 0xCC};
  const Bytes block = Block({{0x52010001, {{0x06010000, FixtureRecord{}.Write()},
                                           {0x26000001, menuRecord}}}});
  Windows windows;
  ASSERT_TRUE(windows.Read(block));
  const Unit& item = windows.list[1]->units[1];
  EXPECT_TRUE(item.menuItem);
  EXPECT_EQ(item.id, 0x26000001u);
  EXPECT_EQ(item.menuRecord, menuRecord);
  EXPECT_TRUE(item.events.empty());
}

TEST(FormReader, DamagedUnitIdentifiersAreRefused) {
  const Bytes record = FixtureRecord{}.Write();
  const struct {
    const char* what;
    std::vector<uint32_t> ids;
  } cases[] = {
      {"bits 24-27 zero", {0x06010000, 0x10000002}},
      {"bits 0-23 zero", {0x06010000, 0x16000000}},
      {"zero", {0x06010000, 0}},
      {"two components alike", {0x06010000, 0x16016C54, 0x16016C54}},
      {"a component like the window", {0x06010000, 0x06010000}},
      {"the window's own invalid", {0x00010000, 0x16016C54}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FixtureWindow window{0x52010001, {}};
    for (uint32_t id : c.ids) window.units.push_back({id, record});
    Windows windows;
    EXPECT_FALSE(windows.Read(Block({window})));
    EXPECT_TRUE(windows.Unchanged());
  }
  // The same identifiers, each once and valid, read whole.
  Windows windows;
  EXPECT_TRUE(windows.Read(Block({{0x52010001, {{0x06010000, record}, {0x16016C54, record},
                                                {0x16016C55, record}}}})));
}

TEST(FormReader, LookUpsFindValidIdentifiersOnly) {
  // The reader refuses invalid identifiers; a description that holds some anyway is made here.
  WindowList list;
  list.push_back(std::make_unique<WindowTemplate>());
  list[0]->windowId = 0x52010001;
  for (uint32_t id : {0x06010000u, 0x16000001u, 0x10000002u, 0x16000000u}) {
    list[0]->units.emplace_back();
    list[0]->units.back().id = id;
  }
  EXPECT_EQ(FindWindowTemplate(list, 0x52010002), nullptr);
  WindowTemplate* window = FindWindowTemplate(list, 0x52010001);
  ASSERT_NE(window, nullptr);

  const struct {
    uint32_t id;
    Unit* unit;
    uint32_t index;
  } cases[] = {
      {0x06010000, &window->units[0], 0},
      {0x16000001, &window->units[1], 1},
      {0x10000002, nullptr, 0},
      {0x16000000, nullptr, 0},
      {0x00000000, nullptr, 0},
      {0x16000003, nullptr, 0},  // valid, not stored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << "id 0x" << c.id);
    const FoundUnit found = UnitRecordById(*window, c.id);
    EXPECT_EQ(found.unit, c.unit);
    EXPECT_EQ(found.index, c.index);
  }
  EXPECT_EQ(UnitIdAt(*window, 2), 0x10000002u);
  EXPECT_EQ(UnitIdAt(*window, 4), 0u);
  EXPECT_EQ(UnitRecordAt(*window, 3), &window->units[3]);
  EXPECT_EQ(UnitRecordAt(*window, 4), nullptr);
}

}  // namespace
}  // namespace forms
