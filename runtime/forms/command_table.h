#pragma once
// The built-in commands in the fixed order by which application code names them.

#include <cstdint>

#include "runtime/core/records.h"

namespace forms {

enum class CommandIndex : uint32_t {
  GetFileLength, ReadBytes, MoveFilePosition, GetByteSetLength, ToHexText, GetTextLength, ToText,
  MakeBlankByteSet, BitOr, MoveToFileStart, ReplaceBytes, WriteBytes, ToInteger, MidText,
  RemoveAllSpaces, IntegerPart, Remainder, ToByteSet, LeftBytes, ToLowerCase, GetCharCode,
  ToNumber, Power, OpenDialog, OpenFile, AddItem, GetExecutableName, RightText, ToFullWidth,
};

inline constexpr uint32_t kCommandCount = 29;
extern const rt::Command kCommandTable[kCommandCount];

inline rt::Command CommandAt(CommandIndex index) {
  return kCommandTable[static_cast<uint32_t>(index)];
}

}  // namespace forms
