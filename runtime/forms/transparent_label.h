#pragma once
// The transparent label: a caption drawn straight onto its parent, with no background of its
// own, in a chosen colour, alignment, font and shadow effect.

#include "runtime/forms/component_type.h"

namespace forms {

extern const ComponentTypeRecord kTransparentLabelType;

}  // namespace forms
