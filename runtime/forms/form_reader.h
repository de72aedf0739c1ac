#pragma once
// Reading the stored form descriptions: the window table, then one window template per window
// with its unit block, then the binding of every stored handler offset to its handler.

#include <cstdint>

#include "runtime/forms/form_model.h"

namespace forms {

// Appends every window of the block to windows. False, with windows left as they were, when a
// read goes past the end of the block or of a record, a window has no unit (not even its own),
// or a stored handler offset names no handler of the table.
bool ReadFormData(const uint8_t* block, uint32_t length, const HandlerTable* handlers,
                  WindowList& windows);

}  // namespace forms
