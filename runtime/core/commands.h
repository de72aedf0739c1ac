#pragma once
// The runtime's built-in commands that application code calls through CallCommand. Each answers
// in its result record: Int results carry tag::Int, Bool results tag::Bool with 1 or 0, Double
// results tag::Double, text and byte-set results tag::Text or tag::ByteSet with a fresh heap block
// that the caller frees (null meaning empty). Failures are results (0, -1, false, null), never
// messages; only a zero divisor of Remainder and exhausted memory end the process.
//
// Listed in the order of the application's command table; the comment gives the row.

#include "runtime/core/records.h"

namespace rt {

void GetFileLength(ResultRecord* result, int32_t count, ArgumentRecord* args);     // 0
void ReadBytes(ResultRecord* result, int32_t count, ArgumentRecord* args);         // 1
void MoveFilePosition(ResultRecord* result, int32_t count, ArgumentRecord* args);  // 2
void GetByteSetLength(ResultRecord* result, int32_t count, ArgumentRecord* args);  // 3
void ToHexText(ResultRecord* result, int32_t count, ArgumentRecord* args);         // 4
void GetTextLength(ResultRecord* result, int32_t count, ArgumentRecord* args);     // 5
void ToText(ResultRecord* result, int32_t count, ArgumentRecord* args);            // 6
void MakeBlankByteSet(ResultRecord* result, int32_t count, ArgumentRecord* args);  // 7
void BitOr(ResultRecord* result, int32_t count, ArgumentRecord* args);             // 8
void MoveToFileStart(ResultRecord* result, int32_t count, ArgumentRecord* args);   // 9
void ReplaceBytes(ResultRecord* result, int32_t count, ArgumentRecord* args);      // 10
void WriteBytes(ResultRecord* result, int32_t count, ArgumentRecord* args);        // 11
void ToInteger(ResultRecord* result, int32_t count, ArgumentRecord* args);         // 12
void MidText(ResultRecord* result, int32_t count, ArgumentRecord* args);           // 13
void RemoveAllSpaces(ResultRecord* result, int32_t count, ArgumentRecord* args);   // 14
void IntegerPart(ResultRecord* result, int32_t count, ArgumentRecord* args);       // 15
void Remainder(ResultRecord* result, int32_t count, ArgumentRecord* args);         // 16
void ToByteSet(ResultRecord* result, int32_t count, ArgumentRecord* args);         // 17
void LeftBytes(ResultRecord* result, int32_t count, ArgumentRecord* args);         // 18
void ToLowerCase(ResultRecord* result, int32_t count, ArgumentRecord* args);       // 19
void GetCharCode(ResultRecord* result, int32_t count, ArgumentRecord* args);       // 20
void ToNumber(ResultRecord* result, int32_t count, ArgumentRecord* args);          // 21
void Power(ResultRecord* result, int32_t count, ArgumentRecord* args);             // 22
// 23 OpenDialog: a component method, kept with the common dialog.
void OpenFile(ResultRecord* result, int32_t count, ArgumentRecord* args);          // 24
// 25 AddItem: a component method, kept with the combo box.
void GetExecutableName(ResultRecord* result, int32_t count, ArgumentRecord* args); // 26
void RightText(ResultRecord* result, int32_t count, ArgumentRecord* args);         // 27
void ToFullWidth(ResultRecord* result, int32_t count, ArgumentRecord* args);       // 28

}  // namespace rt
