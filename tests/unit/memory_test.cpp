#include "runtime/core/memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "heap_blocks.h"

namespace rt {
namespace {

struct Literals {
  char offset[7] = "3ac220";
  char after[4] = "xyz";
};
const Literals kLiterals;

class ConstantRegionTest : public ::testing::Test {
 protected:
  void SetUp() override { SetConstantRegion(&kLiterals, sizeof kLiterals); }
  void TearDown() override { ForgetConstantRegion(); }
};

TEST_F(ConstantRegionTest, BoundsAreHalfOpen) {
  const char* text = kLiterals.offset;
  SetConstantRegion(text + 1, 4);  // "ac22"
  EXPECT_FALSE(InConstantRegion(text));
  EXPECT_TRUE(InConstantRegion(text + 1));
  EXPECT_TRUE(InConstantRegion(text + 4));
  EXPECT_FALSE(InConstantRegion(text + 5));
  EXPECT_FALSE(InConstantRegion(nullptr));
  ForgetConstantRegion();
  EXPECT_FALSE(InConstantRegion(text + 1));
}

TEST_F(ConstantRegionTest, FreeIgnoresNullAndLiterals) {
  const size_t before = BusyHeapBlocks();
  Free(nullptr);
  Free(const_cast<char*>(kLiterals.offset));
  EXPECT_STREQ(kLiterals.offset, "3ac220");
  EXPECT_EQ(BusyHeapBlocks(), before);
}

TEST_F(ConstantRegionTest, ReallocateOfALiteralCopiesItToANewBlock) {
  auto* grown = static_cast<char*>(Reallocate(const_cast<char*>(kLiterals.offset), 100));
  ASSERT_NE(grown, nullptr);
  EXPECT_FALSE(InConstantRegion(grown));
  EXPECT_EQ(std::memcmp(grown, "3ac220", 7), 0);
  EXPECT_STREQ(kLiterals.offset, "3ac220");
  Free(grown);

  // Never more than the region holds from the literal onwards, never past its end.
  auto* small = static_cast<char*>(Reallocate(const_cast<char*>(kLiterals.after), 3));
  EXPECT_EQ(std::memcmp(small, "xyz", 3), 0);
  Free(small);
}

TEST(Memory, ReallocateKeepsTheContentOfAHeapBlock) {
  auto* block = static_cast<char*>(Reallocate(nullptr, 4));  // null behaves as Allocate
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(Reallocate(block, 4096));
  EXPECT_STREQ(block, "abc");
  Free(block);
}

TEST(Memory, AllocateOrNullYieldsNullForAnImpossibleSize) {
  EXPECT_EQ(AllocateOrNull(0xFFFFFFF0u), nullptr);
}

}  // namespace
}  // namespace rt
