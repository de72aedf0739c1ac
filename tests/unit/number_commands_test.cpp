#include <gtest/gtest.h>

#include <climits>

#include "command_calls.h"

namespace rt::command_test {
namespace {

using NumberCommands = CommandTest;

TEST_F(NumberCommands, BitOrCombinesEveryArgument) {
  const struct {
    std::vector<ArgumentRecord> args;
    int32_t expected;
  } rows[] = {
      {{IntArg(1), IntArg(2), IntArg(4)}, 7},
      {{IntArg(INT_MIN), IntArg(1)}, INT_MIN | 1},
      {{IntArg(0x00CF0000), IntArg(0x10000000), IntArg(0)}, 0x10CF0000},
      {{IntArg(5)}, 5},
      {{IntArg(3), Omitted(), IntArg(8)}, 11},
  };
  for (const auto& row : rows) EXPECT_EQ(IntResult(Call(BitOr, row.args)), row.expected);
}

TEST_F(NumberCommands, IntegerPartFloorsAfterTakingNearIntegersForIntegers) {
  const struct {
    double value;
    int32_t expected;
  } rows[] = {
      {2.9999999999999, 3},
      {-2.9999999999999, -3},
      {-2.5, -3},
      {2.5, 2},
      {2.999, 2},
      {0.9999999999999, 1},
      {-0.9999999999999, -1},
      {-0.5, -1},
      {0, 0},
      {7, 7},
      {-7, -7},
      {1e10, static_cast<int32_t>(10000000000LL)},  // the low word of the 64-bit result
  };
  for (const auto& row : rows)
    EXPECT_EQ(IntResult(Call(IntegerPart, {DoubleArg(row.value)})), row.expected) << row.value;
}

TEST_F(NumberCommands, RemainderKeepsTheSignOfTheDividend) {
  const struct {
    std::vector<ArgumentRecord> args;
    double expected;
  } rows[] = {
      {{DoubleArg(7), DoubleArg(3)}, 1},
      {{DoubleArg(-7), DoubleArg(3)}, -1},
      {{DoubleArg(7), DoubleArg(-3)}, 1},
      {{DoubleArg(7.5), DoubleArg(2)}, 1.5},
      {{DoubleArg(100), DoubleArg(7), DoubleArg(3)}, 2},  // (100 mod 7) mod 3
      {{DoubleArg(5.5)}, 5.5},
      {{IntArg(9), IntArg(4)}, 1},
  };
  for (const auto& row : rows) EXPECT_EQ(DoubleResult(Call(Remainder, row.args)), row.expected);
}

TEST_F(NumberCommands, PowerInDoublePrecision) {
  const struct {
    double base;
    double exponent;
    double expected;
  } rows[] = {
      {2, 10, 1024}, {2, -1, 0.5}, {9, 0.5, 3}, {0, 0, 1}, {16, 5, 1048576}, {-2, 3, -8},
  };
  for (const auto& row : rows)
    EXPECT_EQ(DoubleResult(Call(Power, {DoubleArg(row.base), DoubleArg(row.exponent)})),
              row.expected)
        << row.base << " ^ " << row.exponent;
}

}  // namespace
}  // namespace rt::command_test
