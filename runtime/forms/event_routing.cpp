#include "runtime/forms/event_routing.h"

#include <algorithm>

#include "runtime/core/error_reporter.h"
#include "runtime/core/event_suspension.h"
#include "runtime/core/runtime_request.h"
#include "runtime/forms/component_type.h"
#include "runtime/forms/form_runtime.h"

namespace forms {
namespace {

EventSource currentSource = {0, 0};

const ComponentTypeRecord* TypeOf(const Unit& unit) {
  return reinterpret_cast<const ComponentTypeRecord*>(
      rt::LibraryRequest(rt::request::FindComponentType, unit.typeCode));
}

}  // namespace

EventHandler FindHandler(WindowList& windows, const EventRecord& record) {
  if (rt::EventsSuspended()) return nullptr;

  WindowTemplate* window = FindWindowTemplate(windows, record.windowId);
  if (window == nullptr) rt::Report("未找到引发事件的窗口", 0);
  const Unit* unit = FindUnit(*window, record.unitId);
  if (unit == nullptr) rt::Report("未找到引发事件的窗口组件", 0);

  // A unit may use the bindings of another unit of its type; a chain longer than the window has
  // units can only be a loop, and ends where it is.
  for (size_t steps = 0; unit->sharedEventsUnit != 0 && steps < window->units.size(); ++steps) {
    const Unit* shared = FindUnit(*window, unit->sharedEventsUnit);
    if (shared == nullptr || shared->typeCode != unit->typeCode) break;
    unit = shared;
  }

  const ComponentTypeRecord* type = TypeOf(*unit);
  if (type == nullptr || (type->typeFlags & type_flag::RaisesEvents) == 0)
    rt::Report("引发事件的窗口组件无效", 0);

  // A menu item's own handler is not taken from its record: this runtime keeps menu items whole.
  if (unit->menuItem) return nullptr;
  const auto binding = std::find_if(unit->events.begin(), unit->events.end(),
                                    [&](const EventBinding& b) { return b.number == record.number; });
  return binding == unit->events.end() ? nullptr : binding->handler;
}

int32_t DispatchEvent(WindowList& windows, EventRecord& record) {
  const EventHandler handler = FindHandler(windows, record);
  if (handler == nullptr) return 0;

  // Restored, not cleared, afterwards: a handler that raises another event in its midst (a
  // property write, a sent click) still reads its own window and unit once that one returns.
  const EventSource outer = currentSource;
  currentSource = {record.windowId, record.unitId};
  const HandlerResult result =
      handler(record.arguments, std::min(record.argumentCount, kMaxEventArguments));
  currentSource = outer;
  if (result.returned) {
    record.resultPresent = 1;
    record.result = result.value;
  }
  return 1;
}

EventSource CurrentEventSource() { return currentSource; }

}  // namespace forms
