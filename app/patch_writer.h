#pragma once
// Writing the chosen resolution into the loaded executable.

#include <cstdint>

#include "runtime/core/values.h"

namespace app {

// Writes the variable's decimal value as byteCount little-endian bytes at the offset variable's
// hex offset, by reading the whole file and writing it back in place. True when the write
// succeeded. The file never changes length and nothing but those bytes changes: a file too
// short to hold them, or one that reads back shorter than its length, is not written.
bool PatchField(int32_t fileNumber, rt::Text* offsetVariable, rt::Text* valueVariable,
                int32_t byteCount);

}  // namespace app
