#pragma once
// Rebuilding a unit: a new live object made from the unit's current data, put in the old one's
// place, for a property write that the existing native window cannot take.

#include "runtime/forms/component_type.h"
#include "runtime/forms/form_model.h"

namespace forms {

// Handles the waiting messages first, then rebuilds whatever is the unit's live object by then;
// nothing when a handler that ran there destroyed it.
void RebuildUnit(Unit& unit, const ComponentTypeRecord* type);

}  // namespace forms
