#include <gtest/gtest.h>

#include <climits>

#include "command_calls.h"

namespace rt::command_test {
namespace {

using ByteSetCommands = CommandTest;

const Bytes kTen = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST_F(ByteSetCommands, GetByteSetLength) {
  const ByteSetValue empty({});
  const ByteSetValue ten(kTen);
  EXPECT_EQ(IntResult(Call(GetByteSetLength, {empty.Arg()})), 0);
  EXPECT_EQ(IntResult(Call(GetByteSetLength, {ten.Arg()})), 10);
  EXPECT_EQ(IntResult(Call(GetByteSetLength, {{0, 0, tag::ByteSet}})), 0);  // null
}

TEST_F(ByteSetCommands, MakeBlankByteSetClearsItsBytes) {
  // Leave a dirty block of the same size behind for the heap to hand out again.
  void* dirty = Allocate(64 + 8);
  std::memset(dirty, 0xCC, 64 + 8);
  Free(dirty);
  EXPECT_EQ(TakeBytes(Call(MakeBlankByteSet, {IntArg(64)})), Bytes(64, 0));
  EXPECT_EQ(TakeBytes(Call(MakeBlankByteSet, {IntArg(1)})), Bytes{0});
  EXPECT_EQ(TakeBytes(Call(MakeBlankByteSet, {IntArg(0)})), std::nullopt);
  EXPECT_EQ(TakeBytes(Call(MakeBlankByteSet, {IntArg(-1)})), std::nullopt);
}

TEST_F(ByteSetCommands, ReplaceBytesReplacesAClampedRun) {
  const ByteSetValue ten(kTen);
  const ByteSetValue empty({});
  const ByteSetValue ab({0xA, 0xB});
  const ByteSetValue abcd({0xA, 0xB, 0xC, 0xD});
  const struct {
    const char* what;
    const ByteSetValue& data;
    int32_t start;
    int32_t length;
    ArgumentRecord replacement;
    std::optional<Bytes> expected;
  } rows[] = {
      {"same length", ten, 4, 2, ab.Arg(), Bytes{0, 1, 2, 0xA, 0xB, 5, 6, 7, 8, 9}},
      {"start beyond the end appends", ten, 20, 2, ab.Arg(),
       Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xA, 0xB}},
      {"omitted replacement deletes", ten, 4, 2, Omitted(), Bytes{0, 1, 2, 5, 6, 7, 8, 9}},
      {"empty replacement deletes", ten, 4, 2, empty.Arg(), Bytes{0, 1, 2, 5, 6, 7, 8, 9}},
      {"longer replacement", ten, 9, 1, abcd.Arg(),
       Bytes{0, 1, 2, 3, 4, 5, 6, 7, 0xA, 0xB, 0xC, 0xD, 9}},
      {"start below 1 is the first byte", ten, 0, 2, ab.Arg(),
       Bytes{0xA, 0xB, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"start far below", ten, INT_MIN, 1, ab.Arg(), Bytes{0xA, 0xB, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"length clamped to the end", ten, 4, 100, Omitted(), Bytes{0, 1, 2}},
      {"length far beyond", ten, 4, INT_MAX, ab.Arg(), Bytes{0, 1, 2, 0xA, 0xB}},
      {"negative length inserts", ten, 4, -1, ab.Arg(),
       Bytes{0, 1, 2, 0xA, 0xB, 3, 4, 5, 6, 7, 8, 9}},
      {"everything deleted", ten, 1, 10, Omitted(), std::nullopt},
      {"empty data", empty, 1, 1, ab.Arg(), Bytes{0xA, 0xB}},
      {"empty data, nothing added", empty, 1, 1, Omitted(), std::nullopt},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeBytes(Call(ReplaceBytes, {row.data.Arg(), IntArg(row.start), IntArg(row.length),
                                            row.replacement})),
              row.expected)
        << row.what;
  // The data is copied, never changed in place.
  EXPECT_EQ(TakeBytes(Call(ToByteSet, {ten.Arg()})), kTen);
}

TEST_F(ByteSetCommands, LeftBytes) {
  const ByteSetValue three({1, 2, 3});
  const ByteSetValue empty({});
  const struct {
    const ByteSetValue& data;
    int32_t count;
    std::optional<Bytes> expected;
  } rows[] = {
      {three, 2, Bytes{1, 2}},
      {three, 3, Bytes{1, 2, 3}},
      {three, 5, Bytes{1, 2, 3}},
      {three, INT_MAX, Bytes{1, 2, 3}},
      {three, 0, std::nullopt},
      {three, -1, std::nullopt},
      {empty, 3, std::nullopt},
  };
  for (const auto& row : rows)
    EXPECT_EQ(TakeBytes(Call(LeftBytes, {row.data.Arg(), IntArg(row.count)})), row.expected)
        << row.count;
}

}  // namespace
}  // namespace rt::command_test
