#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "command_calls.h"
#include "runtime/core/number_text.h"

namespace rt::command_test {
namespace {

using ConversionCommands = CommandTest;

ArgumentRecord Tagged(TypeTag t, uint32_t low, uint32_t high = 0) { return {low, high, t}; }
ArgumentRecord Int64Arg(int64_t v) {
  const auto bits = static_cast<uint64_t>(v);
  return Tagged(tag::Int64, static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32));
}
ArgumentRecord FloatArg(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return Tagged(tag::Float, bits);
}
ArgumentRecord DateTimeArg(double oleDate) {
  ArgumentRecord a = DoubleArg(oleDate);
  a.tag = tag::DateTime;
  return a;
}
ArgumentRecord ArrayArg(TypeTag element, const void* block) {
  return Tagged(element | tag::ArrayFlag, reinterpret_cast<uint32_t>(block));
}

// Arrays as application code holds them: dimension count, sizes, elements.
const uint32_t kIntArray[] = {1, 2, 0x00636261, 0x64636261};     // "abc\0abcd"
const uint32_t kShortArray[] = {1, 2, 0x04030201};               // two Shorts
const uint32_t kTwoDimensional[] = {2, 1, 1, 0x41414141};
const uint32_t kEmptyArray[] = {1, 0};

TEST_F(ConversionCommands, ToHexTextIsUnsignedUpperCaseWithoutLeadingZeros) {
  const struct {
    int32_t value;
    const char* expected;
  } rows[] = {
      {-1, "FFFFFFFF"}, {0, "0"}, {0x3AC220, "3AC220"}, {255, "FF"}, {INT_MIN, "80000000"},
      {0x0A0B0C0D, "A0B0C0D"}, {-559038737, "DEADBEEF"}, {0x7FFFFFFF, "7FFFFFFF"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeText(Call(ToHexText, {IntArg(row.value)})), Opt(row.expected)) << row.value;
}

TEST_F(ConversionCommands, ToTextByTypeTag) {
  const ByteSetValue withZero({'a', 'b', 0, 'c'});
  const ByteSetValue leadingZero({0, 'a'});
  const ByteSetValue empty({});
  const struct {
    const char* what;
    ArgumentRecord value;
    const char* expected;
  } rows[] = {
      {"Text", TextArg("1701996868"), "1701996868"},
      {"empty Text", TextArg(""), nullptr},
      {"Int", IntArg(-1701996868), "-1701996868"},
      {"Int max", IntArg(INT_MAX), "2147483647"},
      {"Short", Tagged(tag::Short, 0xFFFF), "-1"},
      {"Byte", Tagged(tag::Byte, 0xFF), "255"},
      {"Int64", Int64Arg(-1234567890123LL), "-1234567890123"},
      {"Int64 min", Int64Arg(LLONG_MIN), "-9223372036854775808"},
      {"Double", DoubleArg(0.1), "0.1"},
      {"Double whole", DoubleArg(3.0), "3"},
      {"Double negative", DoubleArg(-2.5), "-2.5"},
      {"Double large", DoubleArg(1e20), "1e+20"},
      {"Double pi", DoubleArg(3.141592653589793), "3.141592653589793"},
      {"Float", FloatArg(0.1f), "0.1"},
      {"Bool true", Tagged(tag::Bool, 1), "真"},
      {"Bool nonzero", Tagged(tag::Bool, 0xFFFFFFFF), "真"},
      {"Bool false", Tagged(tag::Bool, 0), "假"},
      {"DateTime epoch", DateTimeArg(0), "1899-12-30 00:00:00"},
      {"DateTime", DateTimeArg(45000.5), "2023-03-15 12:00:00"},
      {"DateTime before the epoch", DateTimeArg(-1.25), "1899-12-29 06:00:00"},
      {"DateTime out of range", DateTimeArg(1e9), nullptr},
      {"byte set", withZero.Arg(), "ab"},
      {"byte set starting with zero", leadingZero.Arg(), nullptr},
      {"empty byte set", empty.Arg(), nullptr},
      {"Int array", ArrayArg(tag::Int, kIntArray), "abc"},
      {"empty array", ArrayArg(tag::Int, kEmptyArray), nullptr},
      {"two-dimensional array", ArrayArg(tag::Int, kTwoDimensional), nullptr},
      {"Text array", ArrayArg(tag::Text, kIntArray), nullptr},
      {"code address", Tagged(tag::CodeAddress, 0x401000), nullptr},
      {"8-byte value", Tagged(tag::Unnamed8, 1, 2), nullptr},
      {"component reference", Tagged(0x0001000E, 0x52010001, 0x16016C59), nullptr},
      {"omitted", Omitted(), nullptr},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeText(Call(ToText, {row.value})), Opt(row.expected)) << row.what;
}

TEST_F(ConversionCommands, ToTextOfATextIsAFreshCopy) {
  const char text[] = "abc";
  const ResultRecord result = Call(ToText, {TextArg(text)});
  EXPECT_NE(reinterpret_cast<const char*>(result.low), text);
  EXPECT_EQ(TakeText(result), Opt("abc"));
}

TEST_F(ConversionCommands, ToIntegerByTypeTag) {
  const struct {
    const char* what;
    ArgumentRecord value;
    int32_t expected;
  } rows[] = {
      {"decimal", TextArg("1701996868"), 1701996868},
      {"white space and sign", TextArg(" \t\r\n-42abc"), -42},
      {"plus", TextArg("+7"), 7},
      {"stops at a non-digit", TextArg("1 2"), 1},
      {"no digits", TextArg("abc"), 0},
      {"sign only", TextArg("-"), 0},
      {"empty", TextArg(""), 0},
      {"wraps", TextArg("4294967297"), 1},
      {"Int min", TextArg("-2147483648"), INT_MIN},
      {"full-width digits", TextArg("\xA3\xB1\xA3\xB2\xA3\xB3"), 123},  // １２３
      {"full-width sign", TextArg("\xA3\xAD\xA3\xB5"), -5},              // －５
      {"full-width space", TextArg("\xA1\xA1" "12"), 12},
      {"GBK letter first", TextArg("修12"), 0},
      {"Int", IntArg(-5), -5},
      {"Bool", Tagged(tag::Bool, 1), 1},
      {"Short", Tagged(tag::Short, 0xFFFE), -2},
      {"Byte", Tagged(tag::Byte, 0xFE), 254},
      {"Int64", Int64Arg(0x100000005LL), 5},
      {"Double", DoubleArg(-2.9), -2},
      {"Float", FloatArg(2.9f), 2},
      {"code address", Tagged(tag::CodeAddress, 0x401000), 0x401000},
      {"DateTime", DateTimeArg(45000.5), 0},
      {"omitted", Omitted(), 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(IntResult(Call(ToInteger, {row.value})), row.expected) << row.what;
}

TEST_F(ConversionCommands, ToNumberByTypeTag) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* what;
    ArgumentRecord value;
    double expected;
  } rows[] = {
      {"decimal", TextArg("3.25"), 3.25},
      {"exponent", TextArg(" -1.5e3x"), -1500},
      {"exponent sign", TextArg("25e-1"), 2.5},
      {"leading point", TextArg(".5"), 0.5},
      {"trailing point", TextArg("1."), 1},
      {"exponent without digits", TextArg("1e"), 1},
      {"exponent alone", TextArg("e5"), 0},
      {"point alone", TextArg("."), 0},
      {"letters", TextArg("abc"), 0},
      {"no hexadecimal", TextArg("0x10"), 0},
      {"no words", TextArg("inf"), 0},
      {"full-width", TextArg("\xA3\xB1\xA3\xAE\xA3\xB5"), 1.5},  // １．５
      {"plus", TextArg("+2"), 2},
      {"too large", TextArg("1e400"), inf},
      {"too large negative", TextArg("-1e400"), -inf},
      {"too small", TextArg("1e-400"), 0},
      {"Int", IntArg(-3), -3},
      {"Byte", Tagged(tag::Byte, 0xFF), 255},
      {"Short", Tagged(tag::Short, 0xFFFE), -2},
      {"Int64", Int64Arg(1LL << 40), 1099511627776.0},
      {"Float", FloatArg(0.5f), 0.5},
      {"Double", DoubleArg(-0.1), -0.1},
      {"Bool", Tagged(tag::Bool, 5), 1},
      {"Bool false", Tagged(tag::Bool, 0), 0},
      {"code address", Tagged(tag::CodeAddress, 0xFFFFFFFF), 4294967295.0},
      {"DateTime", DateTimeArg(45000.5), 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(DoubleResult(Call(ToNumber, {row.value})), row.expected) << row.what;
}

TEST_F(ConversionCommands, ToByteSetGivesRawBytesInMemoryOrder) {
  const ByteSetValue three({1, 2, 3});
  const ByteSetValue empty({});
  const struct {
    const char* what;
    ArgumentRecord value;
    std::optional<Bytes> expected;
  } rows[] = {
      {"Int", IntArg(0x04030201), Bytes{1, 2, 3, 4}},
      {"Int negative", IntArg(-2), Bytes{0xFE, 0xFF, 0xFF, 0xFF}},
      {"Byte", Tagged(tag::Byte, 0xFF), Bytes{0xFF}},
      {"Short", Tagged(tag::Short, 0x0201), Bytes{1, 2}},
      {"Int64", Int64Arg(0x0807060504030201LL), Bytes{1, 2, 3, 4, 5, 6, 7, 8}},
      {"Float", FloatArg(1.0f), Bytes{0, 0, 0x80, 0x3F}},
      {"Double", DoubleArg(1.0), Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
      {"Bool", Tagged(tag::Bool, 1), Bytes{1, 0, 0, 0}},
      {"code address", Tagged(tag::CodeAddress, 0x00401000), Bytes{0, 0x10, 0x40, 0}},
      {"DateTime", DateTimeArg(1.0), Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
      {"Text", TextArg("ab"), Bytes{'a', 'b'}},
      {"empty Text", TextArg(""), std::nullopt},
      {"byte set", three.Arg(), Bytes{1, 2, 3}},
      {"empty byte set", empty.Arg(), std::nullopt},
      {"Short array", ArrayArg(tag::Short, kShortArray), Bytes{1, 2, 3, 4}},
      {"two-dimensional array", ArrayArg(tag::Int, kTwoDimensional), std::nullopt},
      {"Text array", ArrayArg(tag::Text, kIntArray), std::nullopt},
      {"8-byte value", Tagged(tag::Unnamed8, 1, 2), std::nullopt},
      {"omitted", Omitted(), std::nullopt},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeBytes(Call(ToByteSet, {row.value})), row.expected) << row.what;

  // A byte set comes back as a copy of its own.
  const ResultRecord copy = Call(ToByteSet, {three.Arg()});
  EXPECT_NE(copy.low, three.Arg().low);
  TakeBytes(copy);
}

TEST(NumberText, DatesRoundToTheSecondWithinTheirRange) {
  EXPECT_EQ(FormatDateTime(2958465.99999), "9999-12-31 23:59:59");
  EXPECT_EQ(FormatDateTime(2958465.9999999), "");  // would round into the year 10000
  EXPECT_EQ(FormatDateTime(-657434.0), "0100-01-01 00:00:00");
  EXPECT_EQ(FormatDateTime(-657435.0), "");
  EXPECT_EQ(FormatDateTime(36526.75), "2000-01-01 18:00:00");
  EXPECT_EQ(FormatDateTime(-328717.99999999), "0999-12-30 00:00:00");
  EXPECT_EQ(FormatDateTime(2958465.0000116), "9999-12-31 00:00:01");
  EXPECT_EQ(FormatDateTime(36891.999994), "2000-12-31 23:59:59");
  EXPECT_EQ(FormatDateTime(100.5), "1900-04-09 12:00:00");
  EXPECT_EQ(FormatDateTime(std::nan("")), "");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity()), "inf");
}

// The fewest digits that read back as the same number, written plain or with an exponent,
// whichever is shorter (plain on a tie).
TEST(NumberText, NumbersTakeTheShortestTextThatReadsBack) {
  struct Row {
    double value;
    const char* text;
  };
  const Row doubles[] = {
      {1.5, "1.5"},
      {-2.5, "-2.5"},
      {100, "100"},
      {0.001, "0.001"},
      {0.0001, "1e-04"},  // "0.0001" is one character longer
      {123456789012.0, "123456789012"},
      {1e15, "1e+15"},
      {1234e10, "1.234e+13"},
      {0.000123, "0.000123"},  // as long as "1.23e-04": plain on a tie
      {0.1 + 0.2, "0.30000000000000004"},
      {5e-324, "5e-324"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
      {-0.0, "-0"},
      {0.0, "0"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      // Where the digits are worked out: the largest and smallest values, denormals, exponents
      // of one to three digits, rounding that carries into a new digit (9007199254740992 is
      // 2^53, 9223372036854776000 is 2^63).
      {0x1p-1022, "2.2250738585072014e-308"},
      {0x0.fffffffffffffp-1022, "2.225073858507201e-308"},
      {0x0.0000000000002p-1022, "1e-323"},
      {0x0.0000000000003p-1022, "1.5e-323"},
      {0x1.1fa182c40c60dp-1022, "2.5e-308"},
      {1e23, "1e+23"},
      {1e21, "1e+21"},
      {1e100, "1e+100"},
      {1.5e-100, "1.5e-100"},
      {1e-05, "1e-05"},
      {0x1p-10, "0.0009765625"},
      {0x1p+53, "9007199254740992"},
      {0x1p+63, "9223372036854776000"},
      {123456789012345678901.0, "123456789012345680000"},
      {123456789012345.6, "123456789012345.6"},
      // Just below a power of two the C library's reader takes a few decimals for the power
      // itself: its answer decides, as it does when the text is read back as a number.
      {0x1p-530, "2.845131199340899e-160"},
      {0x1.fffffffffffffp-531, "2.8451311993408989e-160"},
      {0x1p+594, "6.483618076376551e+178"},
      {0x1.fffffffffffffp+593, "6.4836180763765508e+178"},
  };
  for (const Row& row : doubles) EXPECT_EQ(FormatNumber(row.value), row.text) << row.text;

  struct FloatRow {
    float value;
    const char* text;
  };
  const FloatRow floats[] = {
      {0.1f, "0.1"},
      {16777216.0f, "16777216"},
      {3.4028235e38f, "3.4028235e+38"},
      {1e-45f, "1e-45"},
      {1.0f / 3, "0.33333334"},
      {0x1p-126f, "1.1754944e-38"},
      {0x1.fffffcp-127f, "1.1754942e-38"},
      {0x1p-127f, "5.877472e-39"},
      {0x1p-148f, "3e-45"},
      {16777215.0f, "16777215"},
      {1e10f, "1e+10"},
      {7e22f, "7e+22"},
      {0.3f, "0.3"},
      {123456.79f, "123456.79"},
      {1234567.9f, "1234567.9"},
      {9.999999e-05f, "9.999999e-05"},
  };
  for (const FloatRow& row : floats) EXPECT_EQ(FormatNumber(row.value), row.text) << row.text;
}

}  // namespace
}  // namespace rt::command_test
