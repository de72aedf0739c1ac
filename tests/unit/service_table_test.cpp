#include "runtime/core/service_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/core/memory.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

struct Seen {
  ResultRecord resultOnEntry;
  int32_t count;
  ArgumentRecord* args;
  ArgumentRecord second;
};
Seen seen;

void Recording(ResultRecord* result, int32_t count, ArgumentRecord* args) {
  seen.resultOnEntry = *result;
  seen.count = count;
  seen.args = args;
  if (count >= 2) seen.second = args[1];
}
void WritesNothing(ResultRecord*, int32_t, ArgumentRecord*) {}
void WritesInt(ResultRecord* result, int32_t, ArgumentRecord* args) { result->low = args[0].low + 1; }

TEST(CallCommand, ZeroesTheResultAndLendsTheRecordsInPlace) {
  ArgumentRecord none[1] = {{0xDEAD, 0xBEEF, 0xFFFF}};
  const ResultRecord result = RuntimeServices.CallCommand(Recording, 0, none);
  EXPECT_EQ(seen.count, 0);
  EXPECT_EQ(seen.args, none);  // nothing copied
  EXPECT_EQ(seen.resultOnEntry.low | seen.resultOnEntry.high | seen.resultOnEntry.tag, 0u);
  EXPECT_EQ(result.low | result.high | result.tag, 0u);

  const ResultRecord nothing = RuntimeServices.CallCommand(WritesNothing, 0, nullptr);
  EXPECT_EQ(nothing.low | nothing.high | nothing.tag, 0u);

  ArgumentRecord one[] = {{41, 0, tag::Int}};
  const ResultRecord answer = RuntimeServices.CallCommand(WritesInt, 1, one);
  EXPECT_EQ(answer.low, 42u);
  EXPECT_EQ(answer.high, 0u);
  EXPECT_EQ(answer.tag, 0u);

  const ResultRecord variant = RuntimeServices.CallCommandVariant(WritesInt, 1, one);
  EXPECT_EQ(variant.low, 42u);
}

TEST(CallCommand, AnOmittedArgumentArrivesAsZeroWords) {
  ArgumentRecord args[] = {{reinterpret_cast<uint32_t>("x"), 0, tag::Text}, {0, 0, 0}};
  RuntimeServices.CallCommand(Recording, 2, args);
  EXPECT_TRUE(IsOmitted(seen.second));
  EXPECT_EQ(seen.second.low | seen.second.high, 0u);
}

TEST(MeasureArgument, CountsWhatTheRuntimeCounts) {
  const char text[] = "abc";
  const uint32_t byteSet[] = {1, 3, 0x00030201};
  const struct {
    ArgumentRecord arg;
    int32_t size;
  } rows[] = {
      {{1, 0, tag::Bool}, 4},         {{1, 0, tag::CodeAddress}, 4},
      {{1, 0, tag::Int}, 4},          {{1, 0, tag::Float}, 4},
      {{1, 2, tag::DateTime}, 8},     {{1, 2, tag::Unnamed8}, 8},
      {{1, 2, tag::Int64}, 8},        {{1, 2, tag::Double}, 8},
      {{1, 0, tag::Byte}, 1},         {{1, 0, tag::Short}, 2},
      {{reinterpret_cast<uint32_t>(text), 0, tag::Text}, 4},
      {{reinterpret_cast<uint32_t>(byteSet), 0, tag::ByteSet}, 3},
      {{0, 0, 0x52010001}, -1},
  };
  for (const auto& row : rows) EXPECT_EQ(MeasureArgument(row.arg).size, row.size) << std::hex << row.arg.tag;
  EXPECT_EQ(MeasureArgument(rows[11].arg).data, byteSet + 2);  // behind the header
}

void CleanupA() {}
void CleanupB() {}

TEST(OtherService, RegistersACleanupRoutineOnce) {
  CleanupList& list = Runtime().Cleanup();
  list.ForgetAll();
  RuntimeServices.OtherService(other::RegisterCleanup, &CleanupA);
  RuntimeServices.OtherService(other::RegisterCleanup, &CleanupA);
  RuntimeServices.OtherService(other::RegisterCleanup, &CleanupB);
  EXPECT_EQ(list.Size(), 2u);
  list.ForgetAll();
}

TEST(OtherService, MakesAConstantArrayWritable) {
  static const uint32_t constant[] = {1, 2, 5, 6};
  SetConstantRegion(constant, sizeof constant);
  void* variable = const_cast<uint32_t*>(constant);
  RuntimeServices.OtherService(other::MakeArrayWritable, 4u, &variable);
  EXPECT_NE(variable, constant);
  EXPECT_EQ(std::memcmp(variable, constant, sizeof constant), 0);
  RuntimeServices.Free(variable);
  ForgetConstantRegion();
}

TEST(ServiceTable, MemoryRowsWorkTogether) {
  auto* block = static_cast<char*>(RuntimeServices.Allocate(4));
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(RuntimeServices.Reallocate(block, 64));
  EXPECT_STREQ(block, "abc");
  RuntimeServices.Free(block);
  RuntimeServices.Free(nullptr);
}

}  // namespace
}  // namespace rt
