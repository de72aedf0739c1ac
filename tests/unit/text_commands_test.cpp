#include <gtest/gtest.h>

#include <climits>

#include "command_calls.h"

namespace rt::command_test {
namespace {

using TextCommands = CommandTest;

TEST_F(TextCommands, GetTextLengthCountsBytes) {
  const struct {
    const char* text;
    int32_t expected;
  } rows[] = {{"", 0}, {"1440", 4}, {"修改", 4}, {"a\xB0\xA1", 3}};
  for (const auto& row : rows)
    EXPECT_EQ(IntResult(Call(GetTextLength, {TextArg(row.text)})), row.expected) << row.text;
}

TEST_F(TextCommands, MidTextTakesBytesFromAOneBasedStart) {
  const struct {
    const char* text;
    int32_t start;
    int32_t length;
    const char* expected;  // null: the null text
  } rows[] = {
      {"1440", 3, 2, "40"},
      {"1440", 4, 2, "0"},
      {"1440", 5, 2, nullptr},
      {"1440", 1, 4, "1440"},
      {"1440", 2, 100, "440"},
      {"1440", 2, INT_MAX, "440"},
      {"1440", 0, 2, nullptr},
      {"1440", INT_MIN, 2, nullptr},
      {"1440", 1, 0, nullptr},
      {"1440", 1, -1, nullptr},
      {"", 1, 1, nullptr},
      {"修改", 3, 2, "改"},
      {"3ac220", 5, 2, "20"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeText(Call(MidText, {TextArg(row.text), IntArg(row.start), IntArg(row.length)})),
              Opt(row.expected))
        << row.text << " from " << row.start << " length " << row.length;
}

TEST_F(TextCommands, RightTextTakesTheLastBytes) {
  const struct {
    const char* text;
    int32_t count;
    const char* expected;
  } rows[] = {
      {"quenmire-res.tmp", 4, ".tmp"},
      {"a.TMP", 4, ".TMP"},
      {"abc", 4, "abc"},
      {"abc", INT_MAX, "abc"},
      {"abc", 0, nullptr},
      {"abc", -1, nullptr},
      {"", 3, nullptr},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeText(Call(RightText, {TextArg(row.text), IntArg(row.count)})), Opt(row.expected))
        << row.text << " " << row.count;
}

TEST_F(TextCommands, ToLowerCaseStepsOverDoubleByteCharacters) {
  const struct {
    const char* text;
    const char* expected;
  } rows[] = {
      {"ABC.Tmp", "abc.tmp"},
      {"修改XY", "修改xy"},
      {"\x81\x41" "B", "\x81\x41" "b"},  // the second byte of 0x81 0x41 looks like "A" and stays
      {"Z\xB0", "z\xB0"},                // a lead byte at the end is kept
      {"09-_~", "09-_~"},
      {"", nullptr},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeText(Call(ToLowerCase, {TextArg(row.text)})), Opt(row.expected)) << row.text;
}

TEST_F(TextCommands, GetCharCodeGivesTheSignedByte) {
  const struct {
    const char* text;
    ArgumentRecord position;
    int32_t expected;
  } rows[] = {
      {"\xB0\xA1", IntArg(1), -80},
      {"\xB0\xA1", IntArg(2), -95},
      {"A", Omitted(), 65},
      {"AB", IntArg(2), 66},
      {"\xFF", IntArg(1), -1},
      {"AB", IntArg(3), 0},
      {"AB", IntArg(0), 0},
      {"AB", IntArg(-1), 0},
      {"", IntArg(1), 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(IntResult(Call(GetCharCode, {TextArg(row.text), row.position})), row.expected)
        << row.text << " at " << row.position.low;
  // A call that passes no position record at all takes position 1 as well.
  EXPECT_EQ(IntResult(Call(GetCharCode, {TextArg("\xB0")})), -80);
}

TEST_F(TextCommands, RemoveAllSpacesKeepsDoubleByteCharactersWhole) {
  const struct {
    const char* text;
    const char* expected;
  } rows[] = {
      {" a b ", "ab"},
      {"a\xA1\xA1" "b", "ab"},                  // the full-width space
      {"修 改", "修改"},
      {"\xB0\xA1\xA1\xB0", "\xB0\xA1\xA1\xB0"},  // 0xA1 0xA1 across two characters is no space
      {"\t\r\n", "\t\r\n"},                     // only spaces go
      {"  \xA1\xA1 ", nullptr},
      {"", nullptr},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeText(Call(RemoveAllSpaces, {TextArg(row.text)})), Opt(row.expected)) << row.text;
}

TEST_F(TextCommands, ToFullWidthMakesGbkFullWidthForms) {
  const struct {
    const char* text;
    const char* expected;
  } rows[] = {
      // The launcher's section name.
      {"Nexar-QV", "\xA3\xCE\xA3\xE5\xA3\xF8\xA3\xE1\xA3\xF2\xA3\xAD\xA3\xD1\xA3\xD6"},
      {"!}", "\xA3\xA1\xA3\xFD"},
      {"09", "\xA3\xB0\xA3\xB9"},
      {" ", "\xA1\xA1"},
      {"~", "\xA1\xAB"},
      {"修a", "修\xA3\xE1"},
      {"\t\x7F", "\t\x7F"},        // control bytes stay
      {"a\xB0", "\xA3\xE1"},       // a lead byte at the end ends the conversion
      {"", nullptr},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeText(Call(ToFullWidth, {TextArg(row.text)})), Opt(row.expected)) << row.text;
}

TEST_F(TextCommands, ArgumentsAreLentNotChanged) {
  char text[] = "ABC DEF";
  TakeText(Call(ToLowerCase, {TextArg(text)}));
  TakeText(Call(RemoveAllSpaces, {TextArg(text)}));
  TakeText(Call(ToFullWidth, {TextArg(text)}));
  EXPECT_STREQ(text, "ABC DEF");
}

}  // namespace
}  // namespace rt::command_test
