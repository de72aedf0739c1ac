#pragma once
// The combo box type: a list of texts of class "COMBOBOX", as a simple, drop-down or drop-down
// list box.

#include <cstdint>

#include "runtime/forms/component_type.h"

namespace forms {

class Component;

extern const ComponentTypeRecord kComboBoxType;

// Adds an item and sets its value (0 when there is none); the new item's index, or -1 when the
// system refuses the item or the component is no combo box. Selection and content stay as they
// are.
int32_t AddComboItem(Component* combo, const char* text, bool hasValue, uint32_t value);

}  // namespace forms
