#pragma once
// Built-in commands that are methods of a component: their first argument names the component
// by its WindowId (low word) and UnitId (high word), with the component's type code as its tag.

#include "runtime/core/records.h"

namespace forms {

// Shows the common dialog modally; Bool: the user confirmed it.
void OpenDialog(rt::ResultRecord* result, int32_t count, rt::ArgumentRecord* args);
// Appends a text to the combo box's list with an item value (0 when omitted); Int: the new
// item's index, or -1 when the system refuses it.
void AddItem(rt::ResultRecord* result, int32_t count, rt::ArgumentRecord* args);

}  // namespace forms
