#include "runtime/core/runtime_request.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "heap_blocks.h"
#include "runtime/core/event_suspension.h"
#include "runtime/core/object_registry.h"
#include "runtime/core/values.h"

namespace rt {
namespace {

template <typename T>
uint32_t W(T* p) {
  return reinterpret_cast<uint32_t>(p);
}

TEST(RuntimeRequest, CodesOutsideTheRangesAnswerZero) {
  EXPECT_EQ(RuntimeRequest(3000, 1, 2), 0);
  EXPECT_EQ(RuntimeRequest(0, 1, 2), 0);
  EXPECT_EQ(RuntimeRequest(-1, 1, 2), 0);
}

TEST(RuntimeRequest, AllocatesFreesAndReallocates) {
  const size_t before = BusyHeapBlocks();
  EXPECT_EQ(RuntimeRequest(request::Allocate, 0xFFFFFFF0u, 1), 0);  // null, the caller goes on
  auto* block = reinterpret_cast<char*>(RuntimeRequest(request::Allocate, 8, 0));
  ASSERT_NE(block, nullptr);
  std::strcpy(block, "abcdefg");
  block = reinterpret_cast<char*>(RuntimeRequest(request::Reallocate, W(block), 100));
  EXPECT_STREQ(block, "abcdefg");
  RuntimeRequest(request::Free, W(block), 0);
  EXPECT_EQ(BusyHeapBlocks(), before);
}

TEST(RuntimeRequest, FreesAnArrayOfTexts) {
  const size_t before = BusyHeapBlocks();
  auto* array = reinterpret_cast<uint32_t*>(RuntimeRequest(request::Allocate, 12, 0));
  array[0] = 1;
  array[1] = 1;
  array[2] = W(MakeText("abc"));
  RuntimeRequest(request::FreeArray, tag::Text, W(array));
  EXPECT_EQ(BusyHeapBlocks(), before);
}

struct Listed : RuntimeObject {};

TEST(RuntimeRequest, KeepsTheObjectList) {
  auto* object = new Listed;
  EXPECT_EQ(RuntimeRequest(request::ObjectKind, W(object), 0), -1);
  RuntimeRequest(request::AddObject, W(object), 1);
  EXPECT_EQ(RuntimeRequest(request::ObjectKind, W(object), 0), 1);
  RuntimeRequest(request::RemoveObject, W(object), 0);
  EXPECT_EQ(RuntimeRequest(request::ObjectKind, W(object), 0), -1);
  delete object;
}

TEST(RuntimeRequest, SuspendsAndResumesEventDispatch) {
  const int32_t start = SuspensionCount();
  RuntimeRequest(request::SuspendEvents, 0, 0);
  RuntimeRequest(request::SuspendEvents, 0, 0);
  EXPECT_EQ(SuspensionCount(), start + 2);
  EXPECT_TRUE(EventsSuspended());
  RuntimeRequest(request::ResumeEvents, 0, 0);
  RuntimeRequest(request::ResumeEvents, 0, 0);
  RuntimeRequest(request::ResumeEvents, 0, 0);  // never below 0
  EXPECT_EQ(SuspensionCount(), start > 0 ? start - 1 : 0);
}

// A report on another thread raises the counter while the GUI thread raises and lowers it: no
// change may be lost, or dispatch would stay suspended (or resume) for good.
TEST(EventSuspension, KeepsEveryChangeMadeFromTwoThreadsAtOnce) {
  const int32_t start = SuspensionCount();
  SuspendEvents();  // the lowering thread never takes the counter below this
  const auto raiseAndLower = [] {
    for (int i = 0; i < 100000; ++i) {
      SuspendEvents();
      ResumeEvents();
    }
  };
  std::thread other(raiseAndLower);
  raiseAndLower();
  other.join();
  EXPECT_EQ(SuspensionCount(), start + 1);
  ResumeEvents();
}

TEST(RuntimeRequest, HandlingMessagesLeavesAQuitQueued) {
  PostQuitMessage(3);
  RuntimeRequest(request::HandleMessages, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST(RuntimeRequest, WithoutWindowDescriptionsNothingIsFound) {
  EXPECT_EQ(RuntimeRequest(request::FindLiveObject, 0x52010001, 0), 0);
  EXPECT_EQ(RuntimeRequest(request::WindowCount, 0, 0), 0);
}

ArgumentRecord Eight(TypeTag tag, const void* value) {
  uint32_t words[2];
  std::memcpy(words, value, sizeof words);
  return {words[0], words[1], tag};
}

TEST(RuntimeRequest, ConvertsEveryNumericTypeToANumber) {
  const float quarter = 2.75f;
  const double negative = -7.9;
  const int64_t large = 0x100000005;
  uint32_t floatWord = 0;
  std::memcpy(&floatWord, &quarter, sizeof floatWord);
  const struct {
    const char* what;
    ArgumentRecord value;
    int32_t integer;
    double number;
  } cases[] = {
      {"byte", {0xFFFFFF90, 0, tag::Byte}, 0x90, 144},
      {"short", {0xFFFB, 0, tag::Short}, -5, -5},
      {"int", {0xFFFFFFF9, 0, tag::Int}, -7, -7},
      {"int64", Eight(tag::Int64, &large), 5, 4294967301.0},
      {"float", {floatWord, 0, tag::Float}, 2, 2.75},
      {"double", Eight(tag::Double, &negative), -7, -7.9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    double number = 0;
    EXPECT_EQ(RuntimeRequest(request::ToNumber, W(&c.value), W(&number)), c.integer);
    EXPECT_DOUBLE_EQ(number, c.number);
    EXPECT_EQ(RuntimeRequest(request::ToNumber, W(&c.value), 0), c.integer) << "without a double";
  }
}

int32_t Echo(int32_t code, uint32_t value1, uint32_t value2) {
  return code + static_cast<int32_t>(value1 + value2);
}

TEST(LibraryRequest, AnswersZeroUntilTheRuntimeHandsOverItsFunction) {
  KeepRequestFunction(nullptr);
  EXPECT_EQ(LibraryRequest(2030), 0);
  KeepRequestFunction(Echo);
  EXPECT_EQ(LibraryRequest(2000, 1, 2), 2003);
  KeepRequestFunction(nullptr);
}

}  // namespace
}  // namespace rt
