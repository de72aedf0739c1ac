#include "runtime/forms/type_lookup.h"

namespace forms {

const ComponentTypeRecord* FindComponentType(std::span<const rt::SupportLibrary* const> libraries,
                                             uint32_t typeCode) {
  const uint32_t library = typeCode >> 16;
  const uint32_t row = typeCode & 0xFFFF;
  if (library < 1 || library > libraries.size()) return nullptr;
  const rt::SupportLibrary* owner = libraries[library - 1];
  if (row < 1 || row > owner->typeCount || owner->types == nullptr) return nullptr;
  return owner->types[row - 1];
}

}  // namespace forms
