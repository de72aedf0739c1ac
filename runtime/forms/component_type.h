#pragma once
// Component types: the 14-word record each support library keeps per type, the property
// descriptors, and the entry points a type hands out through its unit interface.

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace forms {

class Component;

// How a property's value crosses the service boundary.
namespace kind {
inline constexpr uint16_t Value = 1000;
inline constexpr uint16_t Integer = 1001;
inline constexpr uint16_t Wide = 1002;  // two words
inline constexpr uint16_t Logical = 1003;
inline constexpr uint16_t Wide2 = 1004;  // two words
inline constexpr uint16_t Text = 1005;
inline constexpr uint16_t Choice = 1006;  // a negative value becomes 0
inline constexpr uint16_t Picture = 1009;
inline constexpr uint16_t Icon = 1010;
inline constexpr uint16_t Cursor = 1011;
inline constexpr uint16_t Binary = 1012;
inline constexpr uint16_t Font = 1013;
inline constexpr uint16_t Colour = 1014;
inline constexpr uint16_t Colour2 = 1015;
inline constexpr uint16_t Text2 = 1016;
inline constexpr uint16_t ColourOrDefault = 1017;  // 0xFF000000: the system's colour
inline constexpr uint16_t Binary23 = 1023;
inline constexpr uint16_t Binary24 = 1024;
}  // namespace kind

struct PropertyDescriptor {
  uint32_t word0, word1, word2;
  uint32_t kindAndFlags;  // kind in the low half, flag bits in the high half
  uint32_t word4;
};
static_assert(sizeof(PropertyDescriptor) == 20);

constexpr uint16_t KindOf(const PropertyDescriptor& d) { return d.kindAndFlags & 0xFFFF; }

inline constexpr int32_t kCommonPropertyCount = 8;  // left, top, width, height, tag, visible,
                                                    // disabled, mouse pointer

// A type's property table: the eight common properties, then the type's own kinds in index
// order, each marked with ownFlags in the high half.
template <size_t Own>
constexpr std::array<PropertyDescriptor, kCommonPropertyCount + Own> PropertyTable(
    uint16_t ownFlags, const uint16_t (&ownKinds)[Own]) {
  constexpr uint16_t common[kCommonPropertyCount] = {kind::Integer, kind::Integer, kind::Integer,
                                                     kind::Integer, kind::Text,    kind::Logical,
                                                     kind::Logical, kind::Cursor};
  std::array<PropertyDescriptor, kCommonPropertyCount + Own> table{};
  for (int32_t i = 0; i < kCommonPropertyCount; ++i)
    table[i].kindAndFlags = 0xE000u << 16 | common[i];
  for (size_t i = 0; i < Own; ++i)
    table[kCommonPropertyCount + i].kindAndFlags = uint32_t{ownFlags} << 16 | ownKinds[i];
  return table;
}

// A type's unit interface maps a code to one of its entry points, or null.
namespace unit_code {
inline constexpr int32_t Create = 1;
inline constexpr int32_t WriteProperty = 4;
inline constexpr int32_t CurrentData = 5;
inline constexpr int32_t ReadProperty = 6;
}  // namespace unit_code
using UnitInterfaceFunction = void* (*)(int32_t code);

namespace type_flag {
inline constexpr uint32_t NeverVisible = 0x8000;
inline constexpr uint32_t RaisesEvents = 0x44;  // either bit will do
}  // namespace type_flag

struct ComponentTypeRecord {
  const char* name;         // GBK
  const char* englishName;
  uint32_t word2, word3, word4;
  uint32_t typeFlags;
  uint32_t word6, word7, word8;
  uint32_t propertyCount;
  const PropertyDescriptor* properties;
  UnitInterfaceFunction unitInterface;
  uint32_t word12, word13;
};
static_assert(sizeof(ComponentTypeRecord) == 14 * 4);

// What a create entry point receives.
struct CreateArguments {
  const uint8_t* typeData;  // may be null with length 0: every property keeps its default
  uint32_t typeDataLength;
  uint32_t baseStyle;  // WS_VISIBLE, WS_DISABLED and WS_TABSTOP as the loader decided
  HWND parent;
  UINT_PTR controlId;  // for the window: its menu
  int32_t left, top, width, height;
  uint32_t windowId, unitId;
  uint32_t extra1;
  uint32_t extra2;  // for the window: created as a child window
};

// A property value in its raw form, two words. Texts are borrowed zero-terminated GBK texts
// (never null on a write; null on a read means empty), binary data a borrowed pointer in the low
// word and its length in the high word (a font is binary data: a 60-byte LOGFONTA, or empty for
// the default font), logical values 0 or 1, choices already clamped at 0 from below.
struct RawValue {
  uint32_t low;
  uint32_t high;
};

inline RawValue RawText(const std::string& text) {
  return {text.empty() ? 0 : reinterpret_cast<uint32_t>(text.c_str()), 0};
}
inline RawValue RawBytes(const std::vector<uint8_t>& bytes) {
  return {bytes.empty() ? 0 : reinterpret_cast<uint32_t>(bytes.data()),
          static_cast<uint32_t>(bytes.size())};
}
inline const char* TextOf(const RawValue& value) {
  return value.low != 0 ? reinterpret_cast<const char*>(value.low) : "";
}
inline std::vector<uint8_t> BytesOf(const RawValue& value) {
  const auto* first = reinterpret_cast<const uint8_t*>(value.low);
  return first != nullptr ? std::vector<uint8_t>(first, first + value.high) : std::vector<uint8_t>();
}

// The entry points behind the unit codes. Indices are the type's own, counted from 0 (the
// property index less 8).
using CreateFunction = Component* (*)(const CreateArguments& args);
// 1 when the unit must be rebuilt for the change to take effect.
using WritePropertyFunction = int32_t (*)(Component* object, int32_t ownIndex,
                                          const RawValue* value, uint32_t* out);
// A movable global memory block holding the unit's current type data.
using CurrentDataFunction = HGLOBAL (*)(Component* object);
// 1 when the index is known. Borrowed pointers stay valid until the object changes.
using ReadPropertyFunction = int32_t (*)(Component* object, int32_t ownIndex, RawValue* result);

// A type's unit interface over its four entry points.
template <CreateFunction create, WritePropertyFunction write, CurrentDataFunction current,
          ReadPropertyFunction read>
void* StandardUnitInterface(int32_t code) {
  switch (code) {
    case unit_code::Create: return reinterpret_cast<void*>(create);
    case unit_code::WriteProperty: return reinterpret_cast<void*>(write);
    case unit_code::CurrentData: return reinterpret_cast<void*>(current);
    case unit_code::ReadProperty: return reinterpret_cast<void*>(read);
    default: return nullptr;
  }
}

}  // namespace forms
