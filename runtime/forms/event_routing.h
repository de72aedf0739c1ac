#pragma once
// Event dispatch: from a raised event to the application handler that the stored form binds to
// it, and the call of that handler.

#include <cstdint>

#include "runtime/forms/event_record.h"
#include "runtime/forms/form_model.h"

namespace forms {

// The handler bound to the event, or null when there is none or dispatch is suspended. A window
// or unit that cannot be found, or a unit whose type raises no events, is a runtime error.
EventHandler FindHandler(WindowList& windows, const EventRecord& record);

// Finds and calls the handler; stores its result in the record. 1 when a handler ran, else 0.
int32_t DispatchEvent(WindowList& windows, EventRecord& record);

// The component whose event is being handled: set while a handler runs, else both 0.
struct EventSource {
  uint32_t windowId;
  uint32_t unitId;
};
EventSource CurrentEventSource();

}  // namespace forms
