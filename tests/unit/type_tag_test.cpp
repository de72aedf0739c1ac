#include "runtime/core/type_tag.h"

#include <gtest/gtest.h>

namespace rt {
namespace {

TEST(TypeTag, ClassifiesByTheTopTwoBits) {
  const struct {
    uint32_t word;
    TagClass expected;
  } rows[] = {
      {0, TagClass::None},
      {tag::Int, TagClass::BuiltIn},
      {tag::Text, TagClass::BuiltIn},
      {0xA0000101, TagClass::BuiltIn},  // array of bytes: still a built-in tag
      {0x52010001, TagClass::WindowLike},
      {0x16016C59, TagClass::UnitLike},
      {0xC0000000, TagClass::UnitLike},
      {0x00000001, TagClass::UnitLike},
  };
  for (const auto& row : rows) EXPECT_EQ(ClassifyTag(row.word), row.expected) << std::hex << row.word;
}

TEST(TypeTag, NumericTagsAndTheirWidths) {
  const struct {
    TypeTag tag;
    bool numeric;
    uint32_t width;
  } rows[] = {
      {tag::Byte, true, 1},        {tag::Short, true, 2},    {tag::Int, true, 4},
      {tag::Int64, true, 8},       {tag::Float, true, 4},    {tag::Double, true, 8},
      {0xA0000301, true, 4},       // array of Int: the flag is cleared first
      {0x80000701, true, 0},       // numeric by the rule, but no known kind
      {tag::Bool, false, 0},       {tag::Text, false, 0},    {tag::ByteSet, false, 0},
      {tag::DateTime, false, 0},   {0x40000301, false, 0},   {0, false, 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(IsNumericTag(row.tag), row.numeric) << std::hex << row.tag;
    EXPECT_EQ(NumericElementWidth(row.tag), row.width) << std::hex << row.tag;
  }
}

TEST(TypeTag, ArrayFlagIsKeptApart) {
  EXPECT_TRUE(IsArrayTag(0xA0000101));
  EXPECT_FALSE(IsArrayTag(tag::Byte));
  EXPECT_EQ(ElementTag(0xA0000004), tag::Text);
}

}  // namespace
}  // namespace rt
