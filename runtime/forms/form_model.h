#pragma once
// The stored form descriptions as the runtime holds them once read: one WindowTemplate per
// window, one Unit per stored unit record, in record order. The runtime writes into them at run
// time (live objects, pointer handles, common property values) and reads the stored values of
// units whose window is not loaded straight from them.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace forms {

class Component;

// What an application event handler gives back: a value, and whether it returned one at all.
struct HandlerResult {
  uint32_t value;
  bool returned;
};
// An application event handler; it receives the event's argument words, first argument first.
using EventHandler = HandlerResult (*)(const uint32_t* args, uint32_t count);

// The application's code base as the runtime sees it: the handler that each stored handler
// offset names. The stored offset 0xFFFFFFFF names no handler.
struct HandlerEntry {
  uint32_t offset;
  EventHandler handler;
};
struct HandlerTable {
  uint32_t count;
  const HandlerEntry* entries;
};
inline constexpr uint32_t kNoHandlerOffset = 0xFFFFFFFF;

namespace unit_flag {
inline constexpr uint32_t Visible = 1;
inline constexpr uint32_t Disabled = 2;
inline constexpr uint32_t TabStop = 4;
}  // namespace unit_flag

struct EventBinding {
  int32_t number;        // type-specific events from 0; events common to all visual types below 0
  EventHandler handler;  // null: bound to nothing
};

struct Unit {
  uint32_t id = 0;
  // A menu item's record has a layout of its own; it is kept whole and not taken apart.
  bool menuItem = false;
  std::vector<uint8_t> menuRecord;

  uint32_t typeCode = 0;  // library number in the high half, 1-based type row in the low half
  uint32_t sharedEventsUnit = 0;
  std::string name;        // GBK
  std::string secondText;  // carried, never used
  Component* object = nullptr;  // the live component; null before creation and once it is gone
  int32_t left = 0, top = 0, width = 0, height = 0;
  void* cursor = nullptr;  // pointer handle made from cursorData when the window is loaded
  uint32_t parentUnit = 0;  // 0: the window
  std::vector<uint32_t> children;
  std::vector<uint8_t> cursorData;
  std::string tag;  // GBK
  uint32_t flags = 0;  // unit_flag bits
  std::vector<EventBinding> events;
  std::vector<uint8_t> typeData;  // empty: every property keeps its default
};

struct WindowTemplate {
  uint32_t windowId = 0;
  uint32_t wordA = 0, wordB = 0;  // carried with the template, not interpreted
  std::string name, secondText;
  std::vector<Unit> units;  // record order; units[0] is the window's own record

  // Load state.
  bool loaded = false;
  bool modal = false;
  std::vector<void*> disabledByModal;  // top-level windows to enable again when it closes
};

using WindowList = std::vector<std::unique_ptr<WindowTemplate>>;

// Bits 0-23 and bits 24-27 must both be non-zero.
constexpr bool IsValidUnitId(uint32_t id) {
  return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0;
}
constexpr bool IsMenuItem(uint32_t id) {
  return ((id >> 24) & 0xF) == 6 && (id >> 28) == 2;
}

WindowTemplate* FindWindowTemplate(WindowList& windows, uint32_t windowId);
// Null when index is beyond the unit count.
Unit* UnitRecordAt(WindowTemplate& window, uint32_t index);
struct FoundUnit {
  Unit* unit;  // null: none
  uint32_t index;
};
FoundUnit UnitRecordById(WindowTemplate& window, uint32_t unitId);
// 0 when index is beyond the unit count.
uint32_t UnitIdAt(const WindowTemplate& window, uint32_t index);
// Empty: no stored type data.
inline std::span<const uint8_t> TypeDataOf(const Unit& unit) { return unit.typeData; }

}  // namespace forms
