#pragma once
// Reading and writing a component's properties by index: the eight common properties from the
// unit record or the live window, the type's own through its read and write entry points, and
// the conversion of each value kind across the service boundary.

#include <cstdint>

#include "runtime/forms/display_scale.h"
#include "runtime/forms/form_model.h"

namespace forms {

uint64_t ReadProperty(WindowList& windows, uint32_t windowId, uint32_t unitId, int32_t index,
                      int32_t selector);
void WriteProperty(WindowList& windows, uint32_t windowId, uint32_t unitId, int32_t index,
                   int32_t selector, uint32_t low, uint32_t high);

}  // namespace forms
