#pragma once
// The two support libraries of the runtime: the standard library (the standard component types
// and the built-in commands) and the transparent-label library.

#include "runtime/core/support_library.h"

namespace forms {

extern const rt::SupportLibrary kStandardLibrary;
extern const rt::SupportLibrary kTransparentLabelLibrary;

}  // namespace forms
