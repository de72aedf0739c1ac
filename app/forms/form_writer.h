#pragma once
// Writes a form description in the runtime's stored format, the block that the runtime reads at
// start-up.

#include <cstdint>
#include <vector>

#include "app/forms/form_description.h"

namespace app::stored_form {

std::vector<uint8_t> WriteFormData(const FormDescription& form);
// One unit's record, without the length that precedes it in the unit block.
std::vector<uint8_t> WriteUnitRecord(const UnitDescription& unit);
// A window's unit block: identifiers, record offsets, then each record behind its length.
std::vector<uint8_t> WriteUnitBlock(const WindowDescription& window);

}  // namespace app::stored_form
