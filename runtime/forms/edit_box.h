#pragma once
// The edit box type: a text box of class "EDIT" that raises event 0 for each change of its
// content.

#include "runtime/forms/component_type.h"

namespace forms {

extern const ComponentTypeRecord kEditBoxType;

}  // namespace forms
