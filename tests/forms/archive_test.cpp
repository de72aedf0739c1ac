#include "runtime/forms/archive.h"

#include <gtest/gtest.h>

namespace forms {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  return std::vector<uint8_t>(values.begin(), values.end());
}

TEST(Archive, WrittenValuesReadBackInOrder) {
  ArchiveWriter writer;
  writer.U32(0x52010001);
  writer.I32(-5);
  writer.U16(0xBEEF);
  writer.LenText("按钮");
  writer.LenBytes(Bytes({1, 2, 3}));
  writer.ZText("时钟1");
  writer.ZText("");
  writer.TextList({"1440 x 900", ""});

  ArchiveReader reader(writer.Data());
  uint32_t u = 0;
  int32_t i = 0;
  uint16_t s = 0;
  std::string text, name, empty;
  std::vector<uint8_t> bytes;
  std::vector<std::string> items;
  ASSERT_TRUE(reader.U32(u) && reader.I32(i) && reader.U16(s) && reader.LenText(text) &&
              reader.LenBytes(bytes) && reader.ZText(name) && reader.ZText(empty) &&
              reader.TextList(items));
  EXPECT_EQ(u, 0x52010001u);
  EXPECT_EQ(i, -5);
  EXPECT_EQ(s, 0xBEEF);
  EXPECT_EQ(text, "按钮");
  EXPECT_EQ(bytes, Bytes({1, 2, 3}));
  EXPECT_EQ(name, "时钟1");
  EXPECT_EQ(empty, "");
  EXPECT_EQ(items, (std::vector<std::string>{"1440 x 900", ""}));
  EXPECT_EQ(reader.Remaining(), 0u);
}

TEST(Archive, LongTextListCarriesItsCountInAWord) {
  ArchiveWriter writer;
  writer.TextList(std::vector<std::string>(0xFFFF, "x"));
  EXPECT_EQ(writer.Data()[0], 0xFF);
  EXPECT_EQ(writer.Data()[1], 0xFF);
  EXPECT_EQ(writer.Data()[2], 0xFF);  // the 32-bit count 0x0000FFFF
  EXPECT_EQ(writer.Data()[4], 0x00);

  ArchiveReader reader(writer.Data());
  std::vector<std::string> items;
  ASSERT_TRUE(reader.TextList(items));
  EXPECT_EQ(items.size(), 0xFFFFu);

  // A short count of 0xFFFF is never taken as the count itself.
  const std::vector<uint8_t> escaped = Bytes({0xFF, 0xFF, 1, 0, 0, 0, 1, 0, 0, 0, 'a'});
  ArchiveReader small(escaped);
  ASSERT_TRUE(small.TextList(items));
  EXPECT_EQ(items, std::vector<std::string>{"a"});
}

TEST(Archive, EveryTruncationFailsAndStaysFailed) {
  ArchiveWriter writer;
  writer.U32(7);
  writer.LenText("abc");
  writer.ZText("name");
  writer.TextList({"one", "two"});
  const std::vector<uint8_t>& full = writer.Data();
  for (size_t length = 0; length < full.size(); ++length) {
    ArchiveReader reader(std::span<const uint8_t>(full.data(), length));
    uint32_t u = 0;
    std::string text, name;
    std::vector<std::string> items;
    const bool read = reader.U32(u) && reader.LenText(text) && reader.ZText(name) &&
                      reader.TextList(items);
    EXPECT_FALSE(read) << "length " << length;
    EXPECT_TRUE(reader.Failed());
    uint16_t more = 0;
    EXPECT_FALSE(reader.U16(more)) << "a failed reader reads on";
  }
}

TEST(Archive, LengthsBeyondTheBlockFailWithoutReserving) {
  const std::vector<uint8_t> hugeText = Bytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'});
  std::string text;
  EXPECT_FALSE(ArchiveReader(hugeText).LenText(text));

  const std::vector<uint8_t> hugeList = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0, 0, 0, 0});
  std::vector<std::string> items;
  EXPECT_FALSE(ArchiveReader(hugeList).TextList(items));
}

}  // namespace
}  // namespace forms
