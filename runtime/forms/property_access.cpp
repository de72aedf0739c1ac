#include "runtime/forms/property_access.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/error_reporter.h"
#include "runtime/core/event_suspension.h"
#include "runtime/core/runtime_request.h"
#include "runtime/core/values.h"
#include "runtime/forms/component.h"
#include "runtime/forms/component_type.h"
#include "runtime/forms/display_scale.h"
#include "runtime/forms/font_data.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/mouse_pointer.h"
#include "runtime/forms/unit_rebuild.h"

namespace forms {
namespace {

// What reading and writing need of a unit: its record, its type and its live object.
struct Target {
  WindowTemplate* window;
  Unit* unit;
  const ComponentTypeRecord* type;
  Component* live;  // null when the unit is not live
};

Target FindTarget(WindowList& windows, uint32_t windowId, uint32_t unitId) {
  WindowTemplate* window = FindWindowTemplate(windows, windowId);
  if (window == nullptr) rt::Report("未载入欲访问窗口组件所在的窗口", 0);
  Unit* unit = FindUnit(*window, unitId);
  if (unit == nullptr) rt::Report("指定窗口或窗口组件不存在或尚未载入", 0);
  const auto* type = reinterpret_cast<const ComponentTypeRecord*>(
      rt::LibraryRequest(rt::request::FindComponentType, unit->typeCode));
  return {window, unit, type, LiveObject(*unit)};
}

template <typename Entry>
Entry EntryPoint(const ComponentTypeRecord* type, int32_t code) {
  return type == nullptr ? nullptr : reinterpret_cast<Entry>(type->unitInterface(code));
}

uint16_t KindAt(const ComponentTypeRecord* type, int32_t index) {
  if (type == nullptr || index < 0 || static_cast<uint32_t>(index) >= type->propertyCount) return 0;
  return KindOf(type->properties[index]);
}

uint64_t Words(uint32_t low, uint32_t high = 0) { return uint64_t{high} << 32 | low; }
uint64_t Pointer(const void* p) { return Words(reinterpret_cast<uint32_t>(p)); }

bool IsBinaryKind(uint16_t k) {
  return k == kind::Picture || k == kind::Icon || k == kind::Binary || k == kind::Binary23 ||
         k == kind::Binary24 || k == kind::Cursor;
}

std::span<const uint8_t> SpanOf(const RawValue& raw) {
  return {reinterpret_cast<const uint8_t*>(raw.low), raw.low == 0 ? 0 : raw.high};
}

// The unit's own raw value as the type hands it out; {0, 0} when the index is unknown.
RawValue ReadOwn(const Target& target, int32_t ownIndex) {
  RawValue raw = {0, 0};
  if (auto read = EntryPoint<ReadPropertyFunction>(target.type, unit_code::ReadProperty))
    if (read(target.live, ownIndex, &raw) == 0) raw = {0, 0};
  return raw;
}

// A font property is read and written by sub-field: a selector that names none is the caller's
// fault, as a bad index is, and the value that came with it cannot be trusted to be what any
// sub-field takes.
void RequireFontField(uint16_t k, int32_t selector) {
  if (k == kind::Font && !IsFontField(selector)) rt::Report("欲访问的字体属性子字段不存在", 0);
}

uint64_t ConvertRead(uint16_t k, const RawValue& raw, int32_t selector) {
  switch (k) {
    case kind::Wide:
    case kind::Wide2: return Words(raw.low, raw.high);
    case kind::Logical: return raw.low == 1 ? 1 : 0;
    case kind::Value:
    case kind::Integer:
    case kind::Choice:
    case kind::Colour:
    case kind::Colour2:
    case kind::ColourOrDefault: return Words(raw.low);
    case kind::Font: return ReadFontField(SpanOf(raw), selector);
    default:
      if (IsBinaryKind(k)) {
        const std::span<const uint8_t> bytes = SpanOf(raw);
        return Pointer(rt::MakeByteSet(bytes.data(), static_cast<uint32_t>(bytes.size())));
      }
      return Pointer(rt::MakeText(reinterpret_cast<const char*>(raw.low)));
  }
}

uint64_t ReadCommon(const Target& target, int32_t index) {
  const Unit& unit = *target.unit;
  const HWND window = target.live != nullptr ? target.live->Window() : nullptr;
  const RECT rect = window != nullptr ? RectInParent(window) : RECT{};
  // A live window's own place, unless it is where the stored value puts it: a value whose pixels
  // the coordinate limit cut short on a large display reads back as it was stored.
  const auto reading = [&](int32_t stored, int32_t pixels) {
    return Words(static_cast<uint32_t>(
        window == nullptr ? stored : ToDisplayCoordinate(stored) == pixels ? stored : ToStored(pixels)));
  };
  switch (index) {
    case 0: return reading(unit.left, rect.left);
    case 1: return reading(unit.top, rect.top);
    case 2: return reading(unit.width, rect.right - rect.left);
    case 3: return reading(unit.height, rect.bottom - rect.top);
    case 4: return Pointer(rt::MakeText(unit.tag.c_str()));
    case 5:
      return window ? (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE ? 1 : 0)
                    : (unit.flags & unit_flag::Visible ? 1 : 0);
    case 6:
      return window ? (IsWindowEnabled(window) ? 0 : 1) : (unit.flags & unit_flag::Disabled ? 1 : 0);
    default:
      return Pointer(rt::MakeByteSet(unit.cursorData.data(), static_cast<uint32_t>(unit.cursorData.size())));
  }
}

void SetFlag(Unit& unit, uint32_t flag, bool on) {
  unit.flags = on ? unit.flags | flag : unit.flags & ~flag;
}

void WriteCommon(const Target& target, int32_t index, uint32_t low) {
  Unit& unit = *target.unit;
  const HWND window = target.live != nullptr ? target.live->Window() : nullptr;
  const int32_t value = static_cast<int32_t>(low);
  const RECT rect = window != nullptr ? RectInParent(window) : RECT{};
  constexpr UINT kKeep = SWP_NOZORDER | SWP_NOACTIVATE;
  switch (index) {
    case 0:
    case 1: {
      const int32_t position = std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
      (index == 0 ? unit.left : unit.top) = position;
      if (window != nullptr)
        SetWindowPos(window, nullptr, index == 0 ? ToDisplayCoordinate(position) : rect.left,
                     index == 1 ? ToDisplayCoordinate(position) : rect.top, 0, 0, kKeep | SWP_NOSIZE);
      break;
    }
    case 2:
    case 3: {
      const int32_t size = std::clamp(value, 0, kCoordinateLimit);
      (index == 2 ? unit.width : unit.height) = size;
      if (window != nullptr)
        SetWindowPos(window, nullptr, 0, 0, index == 2 ? ToDisplayCoordinate(size) : rect.right - rect.left,
                     index == 3 ? ToDisplayCoordinate(size) : rect.bottom - rect.top, kKeep | SWP_NOMOVE);
      break;
    }
    case 4: unit.tag = low != 0 ? reinterpret_cast<const char*>(low) : ""; break;
    case 5:
      SetFlag(unit, unit_flag::Visible, value != 0);
      if (window != nullptr) ShowWindow(window, value != 0 ? SW_SHOW : SW_HIDE);
      break;
    case 6:
      SetFlag(unit, unit_flag::Disabled, value != 0);
      if (window != nullptr) EnableWindow(window, value == 0);
      break;
    default: {
      const auto* bytes = reinterpret_cast<const rt::ByteSetHeader*>(low);
      const uint8_t* data = rt::ByteSetLength(bytes) > 0 ? rt::ByteSetData(bytes) : nullptr;
      unit.cursorData.assign(data, data + rt::ByteSetLength(bytes));
      if (window != nullptr) unit.cursor = PointerFromData(unit.cursorData);
      POINT at;
      // Moving the pointer where it is makes the system ask for the pointer shape again.
      if (window != nullptr && GetCursorPos(&at)) SetCursorPos(at.x, at.y);
      break;
    }
  }
}

}  // namespace

uint64_t ReadProperty(WindowList& windows, uint32_t windowId, uint32_t unitId, int32_t index,
                      int32_t selector) {
  const Target target = FindTarget(windows, windowId, unitId);
  if (index >= 0 && index < kCommonPropertyCount) return ReadCommon(target, index);
  if (target.live == nullptr) rt::Report("指定窗口尚未载入", 0);
  const uint16_t k = KindAt(target.type, index);
  if (k == 0) return 0;
  RequireFontField(k, selector);
  return ConvertRead(k, ReadOwn(target, index - kCommonPropertyCount), selector);
}

void WriteProperty(WindowList& windows, uint32_t windowId, uint32_t unitId, int32_t index,
                   int32_t selector, uint32_t low, uint32_t high) {
  const Target target = FindTarget(windows, windowId, unitId);
  if (index >= 0 && index < kCommonPropertyCount) return WriteCommon(target, index, low);
  if (target.live == nullptr) rt::Report("指定窗口尚未载入", 0);
  const uint16_t k = KindAt(target.type, index);
  const auto write = EntryPoint<WritePropertyFunction>(target.type, unit_code::WriteProperty);
  if (k == 0 || write == nullptr) return;
  RequireFontField(k, selector);

  const int32_t ownIndex = index - kCommonPropertyCount;
  RawValue value = {low, high};
  LOGFONTA font;
  switch (k) {
    case kind::Wide:
    case kind::Wide2:
    case kind::Value:
    case kind::Integer:
    case kind::Colour:
    case kind::Colour2:
    case kind::ColourOrDefault: break;
    case kind::Logical: value = {low != 0 ? 1u : 0u, 0}; break;
    case kind::Choice: value = {static_cast<int32_t>(low) < 0 ? 0u : low, 0}; break;
    case kind::Font:
      font = WithFontField(SpanOf(ReadOwn(target, ownIndex)), selector, low);
      value = {reinterpret_cast<uint32_t>(&font), sizeof font};
      break;
    default:
      if (IsBinaryKind(k)) {
        const auto* bytes = reinterpret_cast<const rt::ByteSetHeader*>(low);
        value = {rt::ByteSetLength(bytes) > 0 ? reinterpret_cast<uint32_t>(rt::ByteSetData(bytes)) : 0,
                 rt::ByteSetLength(bytes)};
      } else {
        value = {low != 0 ? low : reinterpret_cast<uint32_t>(""), 0};
      }
      break;
  }

  uint32_t out = 0;
  // The write may have run a handler that destroyed the object: only the unit's slot still
  // says whether it lives.
  if (write(target.live, ownIndex, &value, &out) == 1 && LiveObject(*target.unit) != nullptr)
    RebuildUnit(*target.unit, target.type);
}

}  // namespace forms
