#include "runtime/forms/command_table.h"

#include "runtime/core/commands.h"
#include "runtime/forms/component_methods.h"

namespace forms {

const rt::Command kCommandTable[kCommandCount] = {
    &rt::GetFileLength,     // 0
    &rt::ReadBytes,         // 1
    &rt::MoveFilePosition,  // 2
    &rt::GetByteSetLength,  // 3
    &rt::ToHexText,         // 4
    &rt::GetTextLength,     // 5
    &rt::ToText,            // 6
    &rt::MakeBlankByteSet,  // 7
    &rt::BitOr,             // 8
    &rt::MoveToFileStart,   // 9
    &rt::ReplaceBytes,      // 10
    &rt::WriteBytes,        // 11
    &rt::ToInteger,         // 12
    &rt::MidText,           // 13
    &rt::RemoveAllSpaces,   // 14
    &rt::IntegerPart,       // 15
    &rt::Remainder,         // 16
    &rt::ToByteSet,         // 17
    &rt::LeftBytes,         // 18
    &rt::ToLowerCase,       // 19
    &rt::GetCharCode,       // 20
    &rt::ToNumber,          // 21
    &rt::Power,             // 22
    &OpenDialog,            // 23
    &rt::OpenFile,          // 24
    &AddItem,               // 25
    &rt::GetExecutableName, // 26
    &rt::RightText,         // 27
    &rt::ToFullWidth,       // 28
};

}  // namespace forms
