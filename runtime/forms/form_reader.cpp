#include "runtime/forms/form_reader.h"

#include <algorithm>
#include <span>
#include <utility>

#include "runtime/forms/archive.h"

namespace forms {
namespace {

// The stored handler offsets of one window, per unit in record order, kept until every window
// is read: only then are they bound.
using StoredOffsets = std::vector<std::vector<uint32_t>>;

bool ReadUnitRecord(std::span<const uint8_t> record, Unit& unit, std::vector<uint32_t>& offsets) {
  ArchiveReader in(record);
  // The object and pointer slots are filled in at run time; whatever is stored there means nothing.
  uint32_t objectSlot = 0, cursorSlot = 0, childCount = 0, reserved = 0, eventCount = 0;
  in.U32(unit.typeCode);
  in.U32(unit.sharedEventsUnit);
  in.Skip(16);
  in.ZText(unit.name);
  in.ZText(unit.secondText);
  in.U32(objectSlot);
  in.I32(unit.left);
  in.I32(unit.top);
  in.I32(unit.width);
  in.I32(unit.height);
  in.U32(cursorSlot);
  in.U32(unit.parentUnit);
  in.U32(childCount);
  // Every count is checked against what is left of the record before anything is reserved for it.
  if (in.Failed() || childCount > in.Remaining() / 4) return false;
  unit.children.resize(childCount);
  for (uint32_t& child : unit.children) in.U32(child);
  in.LenBytes(unit.cursorData);
  in.ZText(unit.tag);
  in.U32(reserved);
  in.U32(unit.flags);
  in.U32(reserved);
  in.U32(eventCount);
  if (in.Failed() || eventCount > in.Remaining() / 8) return false;
  unit.events.resize(eventCount);
  offsets.resize(eventCount);
  for (uint32_t i = 0; i < eventCount; ++i) {
    in.I32(unit.events[i].number);
    in.U32(offsets[i]);
  }
  if (in.Failed()) return false;

  // The type data stands 20 reserved bytes after the last binding; a record that ends within
  // them has none, and every property of the unit keeps its default.
  std::span<const uint8_t> typeData;
  if (in.Skip(20)) in.Take(in.Remaining(), typeData);
  unit.typeData.assign(typeData.begin(), typeData.end());
  return true;
}

// Every look-up and every event names a unit by its identifier: one that is invalid or that two
// units share would find no unit or the wrong one.
bool IdentifiersValidAndUnique(const std::vector<Unit>& units) {
  std::vector<uint32_t> ids;
  ids.reserve(units.size());
  for (const Unit& unit : units) {
    if (!IsValidUnitId(unit.id)) return false;
    ids.push_back(unit.id);
  }
  std::sort(ids.begin(), ids.end());
  return std::adjacent_find(ids.begin(), ids.end()) == ids.end();
}

// The unit block: m identifiers, m record offsets, then the records. Offset i counts from the
// first byte after the offsets; there stand the record's length and its bytes.
bool ReadUnitBlock(std::span<const uint8_t> block, uint32_t unitCount, WindowTemplate& window,
                   StoredOffsets& offsets) {
  // Unit 0 is the window's own record, so a window has at least one. Each unit takes 8 bytes of
  // the two arrays: a count beyond that is damage, not a size to reserve.
  if (unitCount == 0 || unitCount > block.size() / 8) return false;
  ArchiveReader in(block);
  window.units.resize(unitCount);
  for (Unit& unit : window.units) in.U32(unit.id);
  std::vector<uint32_t> recordOffsets(unitCount);
  for (uint32_t& offset : recordOffsets) in.U32(offset);
  if (in.Failed() || !IdentifiersValidAndUnique(window.units)) return false;

  const std::span<const uint8_t> records = block.subspan(in.Position());
  offsets.assign(unitCount, {});
  for (uint32_t i = 0; i < unitCount; ++i) {
    ArchiveReader at(records);
    uint32_t length = 0;
    std::span<const uint8_t> record;
    if (!at.Skip(recordOffsets[i]) || !at.U32(length) || !at.Take(length, record)) return false;
    Unit& unit = window.units[i];
    if (IsMenuItem(unit.id)) {
      unit.menuItem = true;
      unit.menuRecord.assign(record.begin(), record.end());
    } else if (!ReadUnitRecord(record, unit, offsets[i])) {
      return false;
    }
  }
  return true;
}

bool ReadWindowTemplate(ArchiveReader& in, WindowTemplate& window, StoredOffsets& offsets) {
  uint32_t unitCount = 0, blockLength = 0;
  std::span<const uint8_t> unitBlock;
  return in.U32(window.wordA) && in.U32(window.wordB) && in.LenText(window.name) &&
         in.LenText(window.secondText) && in.U32(unitCount) && in.U32(blockLength) &&
         in.Take(blockLength, unitBlock) && ReadUnitBlock(unitBlock, unitCount, window, offsets);
}

// The stored offset names its handler only through the application's table; an offset the
// table does not know is a damaged form, never an address to call.
bool FindHandler(const HandlerTable* handlers, uint32_t offset, EventHandler& handler) {
  if (offset == kNoHandlerOffset) {
    handler = nullptr;
    return true;
  }
  if (handlers == nullptr) return false;
  for (uint32_t i = 0; i < handlers->count; ++i) {
    if (handlers->entries[i].offset == offset) {
      handler = handlers->entries[i].handler;
      return true;
    }
  }
  return false;
}

bool BindHandlers(WindowTemplate& window, const StoredOffsets& offsets,
                  const HandlerTable* handlers) {
  for (size_t i = 0; i < window.units.size(); ++i) {
    // A menu item's record is kept whole; its handler is bound by whoever takes it apart.
    if (window.units[i].menuItem) continue;
    std::vector<EventBinding>& events = window.units[i].events;
    for (size_t e = 0; e < events.size(); ++e)
      if (!FindHandler(handlers, offsets[i][e], events[e].handler)) return false;
  }
  return true;
}

}  // namespace

bool ReadFormData(const uint8_t* block, uint32_t length, const HandlerTable* handlers,
                  WindowList& windows) {
  if (block == nullptr) return false;
  ArchiveReader in(std::span<const uint8_t>(block, length));
  uint32_t tableLength = 0;
  std::span<const uint8_t> table;
  if (!in.U32(tableLength) || !in.Take(tableLength, table)) return false;

  // The table holds n window identifiers, then n placeholders that only matter in memory.
  const uint32_t windowCount = tableLength / 8;
  ArchiveReader ids(table);
  WindowList read;
  std::vector<StoredOffsets> offsets;
  for (uint32_t w = 0; w < windowCount; ++w) {
    auto window = std::make_unique<WindowTemplate>();
    ids.U32(window->windowId);
    offsets.emplace_back();
    if (!ReadWindowTemplate(in, *window, offsets.back())) return false;
    read.push_back(std::move(window));
  }

  for (size_t w = 0; w < read.size(); ++w)
    if (!BindHandlers(*read[w], offsets[w], handlers)) return false;

  for (std::unique_ptr<WindowTemplate>& window : read) windows.push_back(std::move(window));
  return true;
}

}  // namespace forms
