#include "runtime/forms/timer.h"

#include "live_component_fixture.h"
#include "runtime/forms/archive.h"

namespace forms::testing {
namespace {

constexpr int32_t kInterval = 0;  // the timer's own property index

std::vector<uint8_t> TimerData(std::initializer_list<uint32_t> words) {
  ArchiveWriter writer;
  for (uint32_t word : words) writer.U32(word);
  return writer.Data();
}

class TimerTest : public LiveComponentTest {
 protected:
  Component* Create(int32_t interval) {
    const std::vector<uint8_t> data = TimerData({1, static_cast<uint32_t>(interval)});
    return timer.create(ArgumentsFor(data));
  }
  void Write(Component* object, int32_t interval) {
    const RawValue value{static_cast<uint32_t>(interval), 0};
    EXPECT_EQ(timer.write(object, kInterval, &value, nullptr), 0) << "no rebuild needed";
  }
  int32_t Read(Component* object) {
    RawValue value{};
    EXPECT_EQ(timer.read(object, kInterval, &value), 1);
    return static_cast<int32_t>(value.low);
  }
  bool TickArrives(DWORD timeoutMs) {
    return PumpUntil([] { return !RequestLog::Events().empty(); }, timeoutMs);
  }

  TypeEntries timer{kTimerType};
};

TEST_F(TimerTest, TicksRaiseEventZeroUntilStoppedOrDestroyed) {
  Component* object = Create(20);
  ASSERT_NE(object, nullptr);
  HWND window = object->Window();
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  EXPECT_STREQ(className, L"_Kw_Timer");
  EXPECT_FALSE(IsWindowVisible(window)) << "created from a visible unit, still hidden";

  ASSERT_TRUE(PumpUntil([] { return RequestLog::Events().size() >= 2; }, 5000));
  for (const EventRecord& tick : RequestLog::Events()) {
    EXPECT_EQ(tick.windowId, kTestWindowId);
    EXPECT_EQ(tick.unitId, 0x16016C5Bu);
    EXPECT_EQ(tick.number, 0);
    EXPECT_EQ(tick.argumentCount, 0u);
  }

  Write(object, -5);
  EXPECT_EQ(Read(object), 0);
  PumpFor(0);  // a tick already queued
  RequestLog::Events().clear();
  EXPECT_FALSE(TickArrives(200)) << "a negative interval stops the timer";

  Write(object, 20);
  EXPECT_EQ(Read(object), 20);
  EXPECT_TRUE(TickArrives(5000)) << "a positive interval starts it again";

  DestroyWindow(window);
  ASSERT_EQ(RequestLog::Ends().size(), 1u);
  EXPECT_EQ(RequestLog::Ends()[0].windowId, kTestWindowId);
  EXPECT_EQ(RequestLog::Ends()[0].unitId, 0x16016C5Bu);
  PumpFor(0);
  RequestLog::Events().clear();
  EXPECT_FALSE(TickArrives(200)) << "no tick after the window is gone";
}

bool referenceTicked = false;
void CALLBACK OnReferenceTick(HWND, UINT, UINT_PTR, DWORD) { referenceTicked = true; }

TEST_F(TimerTest, WritingTheCurrentIntervalKeepsThePeriodRunning) {
  // The first tick is due 1600 ms after creation, before a 2000 ms reference timer started with
  // it. Writing 1600 again at about 800 ms must leave it so; writing another interval starts
  // the period again, and the reference then comes first. The order is what is checked, with
  // 400 ms on either side, not a time.
  struct Case {
    int32_t rewritten;
    bool restarts;
  };
  for (const Case& c : {Case{1600, false}, Case{1601, true}}) {
    SCOPED_TRACE(c.rewritten);
    Component* object = Create(1600);
    ASSERT_NE(object, nullptr);
    referenceTicked = false;
    const UINT_PTR reference = SetTimer(nullptr, 0, 2000, OnReferenceTick);
    ASSERT_NE(reference, 0u);
    PumpFor(800);
    ASSERT_TRUE(RequestLog::Events().empty()) << "the first tick came before the write";
    Write(object, c.rewritten);
    ASSERT_TRUE(TickArrives(10000));
    EXPECT_EQ(referenceTicked, c.restarts)
        << (c.restarts ? "the period did not start again" : "the period started again");
    KillTimer(nullptr, reference);
    DestroyWindow(object->Window());
    RequestLog::Events().clear();
  }
}

TEST_F(TimerTest, TypeDataVersionsAndCurrentData) {
  struct Case {
    const char* name;
    std::vector<uint8_t> data;
    bool created;
    int32_t interval;
  };
  const Case cases[] = {
      {"empty: defaults", {}, true, 0},
      {"version 1", TimerData({1, 250}), true, 250},
      {"version 2", TimerData({2, 250}), false, 0},
      {"no interval", TimerData({1}), false, 0},
      {"cut interval", {1, 0, 0, 0, 0xFA, 0}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Component* object = timer.create(ArgumentsFor(c.data));
    if (!c.created) {
      EXPECT_EQ(object, nullptr);
      EXPECT_EQ(ChildCount(), 0) << "no window left behind";
      continue;
    }
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(Read(object), c.interval);
    EXPECT_EQ(BytesOf(timer.currentData(object)),
              TimerData({1, static_cast<uint32_t>(c.interval)}));
    DestroyWindow(object->Window());
  }
}

TEST_F(TimerTest, TypeRecord) {
  EXPECT_STREQ(kTimerType.name, "时钟");
  EXPECT_STREQ(kTimerType.englishName, "Timer");
  EXPECT_EQ(kTimerType.typeFlags, 0x80008040u);
  ASSERT_EQ(kTimerType.propertyCount, 9u);
  EXPECT_EQ(kTimerType.properties[8].kindAndFlags, 0x80000000u | kind::Integer);
  RawValue value{};
  Component* object = Create(0);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(timer.read(object, 1, &value), 0) << "no second own property";
}

}  // namespace
}  // namespace forms::testing
