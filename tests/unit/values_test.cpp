#include "runtime/core/values.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "heap_blocks.h"
#include "runtime/core/memory.h"

namespace rt {
namespace {

TEST(CompareTexts, FollowsTheRulesForNullEmptyAndUnsignedBytes) {
  const struct {
    const char* a;
    const char* b;
    int32_t expected;
  } rows[] = {
      {nullptr, nullptr, 0},
      {nullptr, "", 0},
      {"", nullptr, 0},
      {nullptr, "a", -1},
      {"a", nullptr, 1},
      {"a", "b", -1},
      {"b", "a", 1},
      {"abc", "abc", 0},
      {"ab", "abc", -1},
      {"abc", "ab", 1},
      {"A", "a", -1},              // case-sensitive
      {"\xB0\xA1", "z", 1},        // a GBK character sorts above every ASCII letter
      {"1701996868", "1701996868", 0},
      {"通过！", "通过！", 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CompareTexts(row.a, row.b), row.expected)
        << (row.a ? row.a : "(null)") << " vs " << (row.b ? row.b : "(null)");
}

TEST(ConcatTexts, AlwaysMakesABlock) {
  Text both = ConcatTexts({nullptr, nullptr});
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(both[0], '\0');
  Free(both);

  Text joined = ConcatTexts({"0x", "3ac220", nullptr, ""});
  EXPECT_STREQ(joined, "0x3ac220");
  Free(joined);
}

TEST(MakeText, EmptyIsNullAndCopiesAreFresh) {
  EXPECT_EQ(MakeText(""), nullptr);
  EXPECT_EQ(MakeText(nullptr), nullptr);
  const char source[] = "修改";
  Text copy = MakeText(source);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, source);
  EXPECT_STREQ(copy, source);
  Free(copy);

  EXPECT_EQ(MakeTextFromBytes("abc", 0), nullptr);
  EXPECT_EQ(MakeTextFromBytes("abc", -1), nullptr);
  Text cut = MakeTextFromBytes("ab\0cd", 5);  // a zero among the bytes ends the text
  EXPECT_STREQ(cut, "ab");
  Free(cut);
  Text two = MakeTextFromBytes("abcdef", 2);
  EXPECT_STREQ(two, "ab");
  Free(two);
}

TEST(MakeByteSet, HasTheHeaderAndTheBytes) {
  EXPECT_EQ(MakeByteSet("x", 0), nullptr);
  const uint8_t source[] = {0xA0, 0x05, 0x00};
  ByteSet bytes = MakeByteSet(source, 3);
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes->dimensions, 1u);
  EXPECT_EQ(bytes->length, 3u);
  EXPECT_EQ(std::memcmp(ByteSetData(bytes), source, 3), 0);
  EXPECT_EQ(ByteSetLength(bytes), 3u);
  EXPECT_EQ(ByteSetLength(nullptr), 0u);
  Free(bytes);
}

TEST(TextLength, CountsBytes) {
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength(""), 0u);
  EXPECT_EQ(TextLength("通过！"), 6u);  // three double-byte characters
}

TEST(ElementCount, MultipliesTheDimensions) {
  const uint32_t empty[] = {1, 0};
  const uint32_t oneDim[] = {1, 3, 10, 20, 30};
  const uint32_t twoDim[] = {2, 2, 3, 0, 0, 0, 0, 0, 0};
  const uint32_t noDim[] = {0};
  EXPECT_EQ(ElementCount(nullptr).count, 0u);
  EXPECT_EQ(ElementCount(empty).count, 0u);
  EXPECT_EQ(ElementCount(noDim).count, 0u);
  EXPECT_EQ(ElementCount(twoDim).count, 6u);
  EXPECT_EQ(ElementCount(twoDim).first, reinterpret_cast<const uint8_t*>(twoDim + 3));
  const ElementSpan span = ElementCount(oneDim);
  EXPECT_EQ(span.count, 3u);
  EXPECT_EQ(*reinterpret_cast<const uint32_t*>(span.first), 10u);
}

TEST(ElementAt, IsOneBased) {
  const uint32_t array[] = {1, 3, 10, 20, 30};
  EXPECT_EQ(*reinterpret_cast<uint32_t*>(ElementAt(array, 1, 4)), 10u);
  EXPECT_EQ(*reinterpret_cast<uint32_t*>(ElementAt(array, 3, 4)), 30u);
  const uint8_t raw[] = {0x44, 0x69};
  ByteSet bytes = MakeByteSet(raw, 2);
  EXPECT_EQ(ByteAt(bytes, 1), 0x44);
  EXPECT_EQ(ByteAt(bytes, 2), 0x69);
  Free(bytes);
}

TEST(FreeArray, FreesNonNullTextElementsThenTheBlock) {
  const size_t before = BusyHeapBlocks();
  auto* array = static_cast<uint32_t*>(Allocate(4 * 5));
  array[0] = 1;
  array[1] = 3;
  array[2] = reinterpret_cast<uint32_t>(MakeText("a"));
  array[3] = 0;
  array[4] = reinterpret_cast<uint32_t>(MakeText("b"));
  EXPECT_EQ(BusyHeapBlocks(), before + 3);
  FreeArray(tag::Text | tag::ArrayFlag, array);
  EXPECT_EQ(BusyHeapBlocks(), before);
}

TEST(FreeArray, FreesOnlyTheBlockOfANumberArray) {
  const size_t before = BusyHeapBlocks();
  auto* array = static_cast<uint32_t*>(Allocate(4 * 3));
  array[0] = 1;
  array[1] = 1;
  array[2] = reinterpret_cast<uint32_t>(Allocate(16));  // a number, not an owned block
  EXPECT_EQ(BusyHeapBlocks(), before + 2);
  void* stillOwned = reinterpret_cast<void*>(array[2]);
  FreeArray(tag::Int, array);
  EXPECT_EQ(BusyHeapBlocks(), before + 1);
  Free(stillOwned);
  FreeArray(tag::Text, nullptr);  // null does nothing
  EXPECT_EQ(BusyHeapBlocks(), before);
}

struct ConstantArray {
  uint32_t words[4] = {1, 2, 7, 9};
};
const ConstantArray kConstantArray;

TEST(MakeArrayWritable, CopiesAConstantArrayOnly) {
  SetConstantRegion(&kConstantArray, sizeof kConstantArray);
  void* variable = const_cast<ConstantArray*>(&kConstantArray);
  MakeArrayWritable(4, &variable);
  EXPECT_NE(variable, &kConstantArray);
  EXPECT_EQ(std::memcmp(variable, &kConstantArray, sizeof kConstantArray), 0);

  void* heapArray = variable;
  MakeArrayWritable(4, &variable);
  EXPECT_EQ(variable, heapArray);
  Free(heapArray);
  ForgetConstantRegion();
}

TEST(TruncateToInt64, CutsTowardZero) {
  const struct {
    double x;
    int64_t expected;
  } rows[] = {
      {-1.5, -1},
      {2.999, 2},
      {0.0, 0},
      {-0.999, 0},
      {3850785.0, 3850785},
      {-2.9999999999999, -2},
      {9007199254740993.0, 9007199254740992},
      {1e300, INT64_MIN},  // out of range: the integer indefinite value, never a crash
  };
  for (const auto& row : rows) EXPECT_EQ(TruncateToInt64(row.x), row.expected) << row.x;
}

}  // namespace
}  // namespace rt
