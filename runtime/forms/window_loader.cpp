#include "runtime/forms/window_loader.h"

#include <vector>

#include "runtime/core/runtime_request.h"
#include "runtime/forms/component.h"
#include "runtime/forms/component_type.h"
#include "runtime/forms/display_scale.h"
#include "runtime/forms/event_record.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/keyboard_focus.h"
#include "runtime/forms/mouse_pointer.h"
#include "runtime/forms/window_component.h"

namespace forms {
namespace {

const ComponentTypeRecord* TypeOf(const Unit& unit) {
  return reinterpret_cast<const ComponentTypeRecord*>(
      rt::LibraryRequest(rt::request::FindComponentType, unit.typeCode));
}

// True while the window's own unit still has its native window.
bool Alive(const WindowTemplate& window) { return LiveObject(window.units[0]) != nullptr; }

void RaiseWindowEvent(const WindowTemplate& window, int32_t number) {
  EventRecord record = {};
  record.windowId = window.windowId;
  record.unitId = 0;
  record.number = number;
  rt::LibraryRequest(rt::request::RaiseEvent, reinterpret_cast<uint32_t>(&record));
}

// Creates one unit; false when its type, its create entry or the creation fails.
bool CreateUnit(WindowTemplate& window, Unit& unit, bool isWindow, int32_t mode, bool modal,
                HWND parent, UINT controlId, bool& visible) {
  const ComponentTypeRecord* type = TypeOf(unit);
  const auto create = type == nullptr ? nullptr
                      : reinterpret_cast<CreateFunction>(type->unitInterface(unit_code::Create));
  if (create == nullptr) return false;

  uint32_t style = 0;
  if (type->typeFlags & type_flag::NeverVisible) {
    visible = false;
  } else {
    visible = (unit.flags & unit_flag::Visible) != 0 || (isWindow && mode != 0);
    if (unit.flags & unit_flag::Disabled) style |= WS_DISABLED;
    if (unit.flags & unit_flag::TabStop) style |= WS_TABSTOP;
  }
  // The window shows itself only once loading is over; components appear with it.
  if (visible && !isWindow) style |= WS_VISIBLE;

  CreateArguments args = {};
  args.typeData = unit.typeData.data();
  args.typeDataLength = static_cast<uint32_t>(unit.typeData.size());
  args.baseStyle = style;
  args.parent = parent;
  args.controlId = controlId;
  args.left = ToDisplayFormCoordinate(unit.left);
  args.top = ToDisplayFormCoordinate(unit.top);
  args.width = ToDisplayFormCoordinate(unit.width);
  args.height = ToDisplayFormCoordinate(unit.height);
  args.windowId = window.windowId;
  args.unitId = unit.id;
  args.extra1 = isWindow && modal ? 1 : 0;  // a modal window is owned by the hidden owner
  Component* object = create(args);
  unit.object = object;
  return object != nullptr && object->IsLive();
}

// Components stand in record order among those of the same container, the first on top.
void ArrangeZOrder(WindowTemplate& window) {
  for (size_t i = 1; i < window.units.size(); ++i) {
    const Unit& unit = window.units[i];
    if (unit.menuItem || unit.object == nullptr) continue;
    HWND above = HWND_TOP;
    for (size_t j = i - 1; j >= 1; --j) {
      const Unit& earlier = window.units[j];
      if (!earlier.menuItem && earlier.object != nullptr && earlier.parentUnit == unit.parentUnit) {
        above = earlier.object->Window();
        break;
      }
    }
    SetWindowPos(unit.object->Window(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// Each component moves into its container, or stays on the window.
void AttachToContainers(WindowTemplate& window) {
  const HWND top = window.units[0].object->Window();
  for (size_t i = 1; i < window.units.size(); ++i) {
    Unit& unit = window.units[i];
    if (unit.menuItem || unit.object == nullptr) continue;
    Unit* container = unit.parentUnit == 0 ? nullptr : FindUnit(window, unit.parentUnit);
    const HWND parent = container != nullptr && container->object != nullptr
                            ? container->object->Window() : top;
    if (GetParent(unit.object->Window()) != parent) SetParent(unit.object->Window(), parent);
  }
}

}  // namespace

bool LoadWindow(WindowTemplate& window, int32_t mode, bool modal, HWND parent) {
  if (window.units.empty()) return false;
  Unit& own = window.units[0];

  if (mode == 0 && window.loaded && Alive(window)) {
    const HWND existing = own.object->Window();
    if (IsIconic(existing)) ShowWindow(existing, SW_RESTORE);
    else SetForegroundWindow(existing);
    return true;
  }
  if (modal) parent = nullptr;
  else if (parent != nullptr && !IsWindow(parent)) return false;

  rt::LibraryRequest(rt::request::SuspendEvents);
  // No handler may run until every unit exists. A failed load leaves nothing behind: the
  // window goes, and its components with it.
  auto fail = [&own] {
    if (Component* created = LiveObject(own)) DestroyWindow(created->Window());
    rt::LibraryRequest(rt::request::ResumeEvents);
    return false;
  };

  // The window first, then the components from the last record to the first.
  std::vector<bool> visible(window.units.size(), false);
  bool shown = false;
  if (own.menuItem || !CreateUnit(window, own, true, mode, modal, parent, 0, shown)) return fail();
  visible[0] = shown;
  const HWND top = own.object->Window();
  UINT controlId = kFirstControlId;
  for (size_t i = window.units.size(); i-- > 1;) {
    Unit& unit = window.units[i];
    if (unit.menuItem) continue;
    bool unitVisible = false;
    if (!CreateUnit(window, unit, false, mode, modal, top, controlId, unitVisible)) return fail();
    visible[i] = unitVisible;
    controlId += kControlIdStep;
  }

  ArrangeZOrder(window);
  AttachToContainers(window);
  for (Unit& unit : window.units)
    if (!unit.menuItem) unit.cursor = PointerFromData(unit.cursorData);
  // The component types here take no part in the unit-created and all-units-created moments;
  // what remains of them is showing each component as its flag says.
  for (size_t i = 1; i < window.units.size(); ++i)
    if (!window.units[i].menuItem && window.units[i].object != nullptr)
      ShowWindow(window.units[i].object->Window(), visible[i] ? SW_SHOWNOACTIVATE : SW_HIDE);

  rt::LibraryRequest(rt::request::ResumeEvents);

  RaiseWindowEvent(window, 0);  // load complete
  if (Alive(window)) RaiseWindowEvent(window, 3);
  if (Alive(window)) RaiseWindowEvent(window, 4);

  if (Alive(window) && visible[0]) {
    const auto* windowUnit = dynamic_cast<const WindowComponent*>(own.object);
    InitializeKeyboardCues(top);
    // Activation gives the focus to the first tab stop; the unit that has it hears -9 then -7.
    ShowWindow(top, windowUnit != nullptr ? windowUnit->ShowCommand() : SW_SHOWNORMAL);
    // The focus may sit in an inner window of the unit (the edit part of a combo box).
    const HWND focus = GetFocus();
    for (HWND at = focus; at != nullptr && at != top && IsChild(top, at); at = GetParent(at))
      if (Component* owner = Component::FromWindow(at)) {
        EventRecord record = {};
        record.windowId = window.windowId;
        record.unitId = owner->UnitId();
        record.number = -7;
        rt::LibraryRequest(rt::request::RaiseEvent, reinterpret_cast<uint32_t>(&record));
        break;
      }
  }

  if (modal && Alive(window)) {
    window.modal = true;
    window.disabledByModal.clear();
    for (const auto& other : Forms().Windows()) {
      if (other.get() == &window || other->units.empty()) continue;
      if (Component* live = LiveObject(other->units[0]); live && IsWindowEnabled(live->Window())) {
        EnableWindow(live->Window(), FALSE);
        window.disabledByModal.push_back(live->Window());
      }
    }
  }

  window.loaded = true;
  return true;
}

}  // namespace forms
