#pragma once
// A component type's own properties as one table: a row per property, in index order, that says
// where the live object stores the value and of what kind it is, and what a write does once the
// value is stored (nothing, an apply function, or a rebuild of the unit). One read and one write
// path serve every type.

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "runtime/forms/component_type.h"

namespace forms {

class Component;

// Called after a write has stored its value, to bring the live window in line.
using ApplyFunction = void (*)(Component* object);
// The value of a property that the live window knows better than the stored field.
using LiveReadFunction = RawValue (*)(Component* object);

struct PropertyRow {
  uint8_t index;          // the own index (the property index less 8)
  bool rebuilds;          // the write answers 1: the unit must be rebuilt to show the change
  uint16_t kind;          // how the value crosses the service boundary
  uint16_t field;         // offset of the stored value in the type's values
  uint16_t highest;       // a choice written above this is stored as this; 0: no limit
  ApplyFunction apply;    // null: nothing after the store
  LiveReadFunction read;  // null: a read returns the stored value

  constexpr PropertyRow Rebuilds() const {
    PropertyRow row = *this;
    row.rebuilds = true;
    return row;
  }
  constexpr PropertyRow Clamped(uint16_t limit) const {
    PropertyRow row = *this;
    row.highest = limit;
    return row;
  }
  constexpr PropertyRow ReadsLive(LiveReadFunction live) const {
    PropertyRow row = *this;
    row.read = live;
    return row;
  }
};

// A write stores the value at field (a 32-bit word, a text or bytes, as the kind says), then
// calls apply; a read returns the stored value.
constexpr PropertyRow Stored(uint8_t index, uint16_t k, size_t field,
                             ApplyFunction apply = nullptr) {
  return {index, false, k, static_cast<uint16_t>(field), 0, apply, nullptr};
}

// A type's own properties: its rows in index order, and what brings the stored values up to
// date with the live window before a read (null when they always are). Each live object names
// its type's table and where it keeps the stored values (Component::UsePropertyTable).
struct OwnProperties {
  const PropertyRow* rows;
  uint32_t count;
  ApplyFunction refresh;
};

// The read and write entry points of every type's unit interface.
int32_t ReadByTable(Component* object, int32_t ownIndex, RawValue* result);
int32_t WriteByTable(Component* object, int32_t ownIndex, const RawValue* value, uint32_t* out);

// Never defined: a table that calls it cannot be evaluated at compile time.
void PropertyRowsOutOfIndexOrder();

// The descriptor table of a type whose own properties are these rows; rows out of index order
// do not compile.
template <size_t Own>
consteval std::array<PropertyDescriptor, kCommonPropertyCount + Own> PropertyTable(
    uint16_t ownFlags, const PropertyRow (&rows)[Own]) {
  uint16_t kinds[Own] = {};
  for (size_t i = 0; i < Own; ++i) {
    if (rows[i].index != i) PropertyRowsOutOfIndexOrder();
    kinds[i] = rows[i].kind;
  }
  return PropertyTable(ownFlags, kinds);
}

// A member of the component's own class as the table calls it. Internal to each file that
// names it, so that no copy is shared between files.
template <typename Member>
struct MemberClass;
template <typename C, typename T>  // T a function type
struct MemberClass<T C::*> {
  using type = C;
};
template <auto method>
static void Apply(Component* object) {
  (static_cast<typename MemberClass<decltype(method)>::type*>(object)->*method)();
}
template <auto method>
static RawValue ReadLive(Component* object) {
  return (static_cast<typename MemberClass<decltype(method)>::type*>(object)->*method)();
}

}  // namespace forms
