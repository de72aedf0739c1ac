#pragma once
// The button type: a push button of class "BUTTON" that raises event 0 when clicked.

#include "runtime/forms/component_type.h"

namespace forms {

extern const ComponentTypeRecord kButtonType;

}  // namespace forms
