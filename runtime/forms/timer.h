#pragma once
// The timer component: a hidden child window whose system timer raises event 0 on every expiry.

#include "runtime/forms/component_type.h"

namespace forms {

extern const ComponentTypeRecord kTimerType;

}  // namespace forms
