// Commands on GBK texts. Lengths and positions count bytes; scans that go character by character
// step over both bytes of a double-byte character, whose lead byte is 0x80 or above.

#include <string>

#include "runtime/core/command_arguments.h"
#include "runtime/core/commands.h"
#include "runtime/core/text_width.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

}  // namespace

void GetTextLength(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnInt(result, static_cast<int32_t>(TextLength(args.Text(0))));
}

void MidText(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  const char* text = args.Text(0);
  const int64_t length = TextLength(text);
  const int64_t start = args.Int(1);
  const int64_t wanted = args.Int(2);
  ReturnText(result, nullptr);
  if (start < 1 || start - 1 >= length || wanted < 1) return;
  const int64_t left = length - (start - 1);
  const int64_t n = wanted < left ? wanted : left;
  ReturnText(result, MakeTextFromBytes(text + start - 1, static_cast<int32_t>(n)));
}

void RemoveAllSpaces(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  std::string kept;
  for (const char* p = args.Text(0); *p != '\0'; ++p) {
    if (IsLeadByte(*p) && p[1] != '\0') {
      const bool fullWidthSpace = p[0] == '\xA1' && p[1] == '\xA1';
      if (!fullWidthSpace) kept.append(p, 2);
      ++p;
    } else if (*p != ' ') {
      kept += *p;
    }
  }
  ReturnTextCopy(result, kept);
}

void ToLowerCase(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  std::string lower = args.Text(0);
  for (size_t i = 0; i < lower.size(); ++i) {
    if (IsLeadByte(lower[i]))
      ++i;  // the second byte of a double-byte character may look like a capital letter
    else if (lower[i] >= 'A' && lower[i] <= 'Z')
      lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
  }
  ReturnTextCopy(result, lower);
}

void GetCharCode(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  const char* text = args.Text(0);
  const int32_t position = args.Int(1, 1);
  const bool inside = position >= 1 && static_cast<uint32_t>(position) <= TextLength(text);
  ReturnInt(result, inside ? static_cast<signed char>(text[position - 1]) : 0);
}

void RightText(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  const char* text = args.Text(0);
  const int32_t length = static_cast<int32_t>(TextLength(text));
  const int32_t wanted = args.Int(1);
  ReturnText(result, nullptr);
  if (wanted < 1) return;
  const int32_t n = wanted < length ? wanted : length;
  ReturnText(result, MakeTextFromBytes(text + length - n, n));
}

void ToFullWidth(ResultRecord* result, int32_t count, ArgumentRecord* records) {
  const Arguments args(count, records);
  ReturnTextCopy(result, FullWidthOf(args.Text(0)));
}

}  // namespace rt
