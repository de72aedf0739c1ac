#pragma once
// The component type that a type code names among the application's support libraries: the
// library by its number in the high half (counted from 1 in the program's library order), the
// type by its 1-based row in the low half.

#include <cstdint>
#include <span>

#include "runtime/core/support_library.h"
#include "runtime/forms/component_type.h"

namespace forms {

// Null when the library or the row does not exist.
const ComponentTypeRecord* FindComponentType(std::span<const rt::SupportLibrary* const> libraries,
                                             uint32_t typeCode);

}  // namespace forms
