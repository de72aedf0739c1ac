#include <gtest/gtest.h>

#include <optional>

#include "app/conversions.h"
#include "app/runtime_calls.h"
#include "app_process.h"

namespace app::testing {
namespace {

// A variable holding a heap copy of the text, as application code's variables do.
struct Variable {
  explicit Variable(const std::string& text) : value(rt::ConcatTexts({text.c_str()})) {}
  ~Variable() { Release(value); }
  rt::Text value;
};

Bytes TakeBytes(rt::ByteSet bytes) {
  Bytes copy(rt::ByteSetData(bytes), rt::ByteSetData(bytes) + rt::ByteSetLength(bytes));
  Release(bytes);
  return copy;
}

TEST(HexTextToInt, ReadsHexDigitsAndLeavesThePrefixedTextInTheVariable) {
  const struct {
    const char* text;
    int32_t value;
  } rows[] = {
      {"3ac220", 3850784},
      {"4A1474", 4854900},
      {"4a1478", 4854904},
      {"ffffffff", -1},
      {"80000000", INT32_MIN},
      {"656972440102030405060708090A0B", 0x08090A0B},  // 15 bytes: the last eight digits count
      {"", 0},                                         // "0x" alone is refused: 0
  };
  for (const auto& row : rows) {
    Variable variable(row.text);
    EXPECT_EQ(HexTextToInt(&variable.value), row.value) << row.text;
    EXPECT_EQ(std::string(variable.value), std::string("0x") + row.text);
  }
}

TEST(ReadLittleEndianValue, IsTheSignedValueOfTheFirstFourBytesAtTheOffset) {
  const struct {
    const char* what;
    Bytes at;        // the file's bytes from offset 0x20 on
    const char* value;
  } rows[] = {
      {"the signature, then 11 more bytes",
       {0x44, 0x69, 0x72, 0x65, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9}, "1701996868"},
      {"four 0xFF bytes", {0xFF, 0xFF, 0xFF, 0xFF, 0x12}, "-1"},
      {"two bytes at the end of the file", {0x01, 0x02}, "513"},
      {"nothing at the offset", {}, "0"},
      {"0x80000000", {0x00, 0x00, 0x00, 0x80}, "-2147483648"},
  };
  for (const auto& row : rows) {
    Bytes content(0x20, 0xEE);
    content.insert(content.end(), row.at.begin(), row.at.end());
    const int32_t file = OpenForReadWrite(MakeFile("value.bin", content));
    ASSERT_NE(file, 0) << row.what;
    Variable offset("20");
    EXPECT_EQ(TakeText(ReadLittleEndianValue(file, &offset.value, 15)), row.value) << row.what;
    EXPECT_STREQ(offset.value, "0x20");
  }

  Variable offset("3ac220");
  EXPECT_EQ(TakeText(ReadLittleEndianValue(0, &offset.value, 15)), "0");
  EXPECT_STREQ(offset.value, "3ac220") << "no file: the variable is not touched";
}

TEST(IntToHexText, GivesUpperCaseDigitsWithoutLeadingZeros) {
  const struct {
    int32_t value;
    const char* text;
  } rows[] = {{1440, "5A0"}, {0, "0"}, {255, "FF"}, {-1, "FFFFFFFF"}, {70000, "11170"}};
  for (const auto& row : rows) EXPECT_EQ(TakeText(IntToHexText(row.value)), row.text);
}

TEST(NumberTextToLittleEndianHex, GivesTwoDigitsPerByteLowByteFirst) {
  const struct {
    const char* value;
    int32_t count;
    const char* hex;
  } rows[] = {
      {"1440", 2, "A005"}, {"900", 2, "8403"}, {"1080", 2, "3804"}, {"1920", 2, "8007"},
      {"70000", 2, "7011"},  // only the low bytes of a larger value
      {"255", 2, "FF00"}, {"255", 1, "FF"}, {"256", 1, "00"}, {"0", 2, "0000"},
      {"12abc", 2, "0C00"},  // leading digits only, as ToInteger reads them
      {"", 2, ""},
  };
  for (const auto& row : rows) {
    Variable value(row.value);
    EXPECT_EQ(TakeText(NumberTextToLittleEndianHex(&value.value, row.count)), row.hex)
        << row.value << " in " << row.count;
    EXPECT_STREQ(value.value, row.value) << "the value variable is never changed";
  }
}

TEST(HexTextToByteSet, GivesOneBytePerDigitPair) {
  const struct {
    const char* hex;
    Bytes bytes;
  } rows[] = {
      {"8403", {0x84, 0x03}}, {"A005", {0xA0, 0x05}}, {"a0B5", {0xA0, 0xB5}},
      {"F", {0x0F}},          {"123", {0x12, 0x03}},  {"", {}},
      {"zz", {0x00}},  // not digits: counted as 0
  };
  for (const auto& row : rows) {
    Variable hex(row.hex);
    EXPECT_EQ(TakeBytes(HexTextToByteSet(&hex.value)), row.bytes) << row.hex;
  }
}

TEST(ConcatByteSets, JoinsInArgumentOrderAndGivesNullWhenAllAreEmpty) {
  const Bytes a = {1, 2}, b = {3};
  rt::ByteSet first = rt::MakeByteSet(a.data(), 2), second = rt::MakeByteSet(b.data(), 1);
  rt::ByteSet joined = ConcatByteSets({first, nullptr, second, first});
  ASSERT_NE(joined, nullptr);
  EXPECT_EQ(joined->dimensions, 1u);
  EXPECT_EQ(TakeBytes(joined), (Bytes{1, 2, 3, 1, 2}));
  EXPECT_EQ(ConcatByteSets({nullptr, nullptr}), nullptr);
  Release(first);
  Release(second);
}

}  // namespace
}  // namespace app::testing
