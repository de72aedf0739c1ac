#include "runtime/forms/property_table.h"

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/forms/component.h"

namespace forms {
namespace {

// How a row's field holds its value, by the value's kind.
enum class Storage { Word, Text, Bytes };

Storage StorageOf(uint16_t k) {
  switch (k) {
    case kind::Text:
    case kind::Text2: return Storage::Text;
    case kind::Picture:
    case kind::Icon:
    case kind::Cursor:
    case kind::Binary:
    case kind::Font:
    case kind::Binary23:
    case kind::Binary24: return Storage::Bytes;
    default: return Storage::Word;
  }
}

// A word as the row's kind takes it, whoever calls: logical values 0 or 1, choices from 0 up to
// the row's limit.
uint32_t Normalised(const PropertyRow& row, uint32_t word) {
  const int32_t number = static_cast<int32_t>(word);
  if (row.kind == kind::Logical) return number != 0 ? 1 : 0;
  if (row.kind != kind::Choice) return word;
  return static_cast<uint32_t>(row.highest != 0 ? std::clamp<int32_t>(number, 0, row.highest)
                                                : std::max(number, 0));
}

const PropertyRow* RowAt(const OwnProperties& own, int32_t ownIndex) {
  if (ownIndex < 0 || static_cast<uint32_t>(ownIndex) >= own.count) return nullptr;
  return &own.rows[ownIndex];
}

}  // namespace

int32_t ReadByTable(Component* object, int32_t ownIndex, RawValue* result) {
  const OwnProperties& own = *object->OwnPropertyTable();
  if (own.refresh != nullptr) own.refresh(object);
  const PropertyRow* row = RowAt(own, ownIndex);
  if (row == nullptr) return 0;
  if (row->read != nullptr) {
    *result = row->read(object);
    return 1;
  }
  const char* field = static_cast<const char*>(object->PropertyValues()) + row->field;
  switch (StorageOf(row->kind)) {
    case Storage::Text: *result = RawText(*reinterpret_cast<const std::string*>(field)); break;
    case Storage::Bytes:
      *result = RawBytes(*reinterpret_cast<const std::vector<uint8_t>*>(field));
      break;
    default: *result = {*reinterpret_cast<const uint32_t*>(field), 0}; break;
  }
  return 1;
}

int32_t WriteByTable(Component* object, int32_t ownIndex, const RawValue* written, uint32_t*) {
  const RawValue& value = *written;
  const PropertyRow* row = RowAt(*object->OwnPropertyTable(), ownIndex);
  if (row == nullptr) return 0;
  char* field = static_cast<char*>(object->PropertyValues()) + row->field;
  switch (StorageOf(row->kind)) {
    case Storage::Text: *reinterpret_cast<std::string*>(field) = TextOf(value); break;
    case Storage::Bytes: *reinterpret_cast<std::vector<uint8_t>*>(field) = BytesOf(value); break;
    default: *reinterpret_cast<uint32_t*>(field) = Normalised(*row, value.low); break;
  }
  if (row->apply != nullptr) row->apply(object);
  return row->rebuilds ? 1 : 0;
}

}  // namespace forms
