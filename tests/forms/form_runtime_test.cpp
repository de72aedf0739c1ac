// The form runtime with live windows in this process: loading, property access and events.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/event_suspension.h"
#include "runtime/core/gbk.h"
#include "runtime/core/memory.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/values.h"
#include "runtime/forms/combo_box.h"
#include "runtime/forms/command_table.h"
#include "runtime/forms/component.h"
#include "runtime/forms/event_record.h"
#include "runtime/forms/event_routing.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/message_loop.h"
#include "runtime/forms/window_loader.h"
#include "tests/forms/form_harness.h"
#include "tests/forms/live_component_fixture.h"

namespace forms::testing {
namespace {

constexpr uint32_t kEdit = 0x16016C5A;
constexpr uint32_t kOk = 0x16016C58;
constexpr uint32_t kCancel = 0x16016C56;
constexpr uint32_t kCombo = 0x16016C54;

std::vector<std::string> calls;

HandlerResult Loaded(const uint32_t*, uint32_t) {
  const HWND window = LiveObject(Forms().Windows()[0]->units[0])->Window();
  calls.push_back(IsWindowVisible(window) ? "loaded while visible" : "loaded while hidden");
  return {0, false};
}
HandlerResult OkClicked(const uint32_t*, uint32_t) {
  calls.push_back("ok");
  return {0, false};
}
HandlerResult EditChanged(const uint32_t*, uint32_t) {
  calls.push_back("edit changed");
  return {0, false};
}
HandlerResult Ticked(const uint32_t*, uint32_t) {
  if (calls.empty() || calls.back() != "tick") calls.push_back("tick");
  return {0, false};
}
HandlerResult KeepsTheWindowOpen(const uint32_t*, uint32_t) {
  calls.push_back("asked to close");
  return {0, true};
}
HandlerResult Answers7(const uint32_t* args, uint32_t count) {
  calls.push_back("answers with " + std::to_string(count) + " arguments, first " +
                  std::to_string(count > 0 ? args[0] : 0));
  return {7, true};
}

// A window with an edit box, two buttons and a combo box, in record order.
std::vector<Unit> SmallForm() {
  std::vector<Unit> units;
  units.push_back(MakeUnit(kWindowUnit, kWindowType, "", {50, 50, 315, 316}, unit_flag::Visible,
                           WindowData("测试窗口 v1"), {{0, &Loaded}}));
  units.push_back(MakeUnit(kEdit, kEditBoxType, "编辑框1", {48, 144, 88, 16}, unit_flag::TabStop,
                           {}, {{0, &EditChanged}}));
  units.push_back(MakeUnit(kOk, kButtonType, "按钮2", {156, 160, 80, 32}, 5, ButtonData("修改"),
                           {{0, &OkClicked}}));
  units.push_back(MakeUnit(kCancel, kButtonType, "按钮6", {156, 120, 80, 32}, 5,
                           ButtonData("读取分辨率")));
  units.push_back(MakeUnit(kCombo, kComboBoxType, "组合框1", {48, 88, 96, 20}, 7,
                           ComboData(2, 0, {"1440 x 900"})));
  return units;
}

uint32_t ReadWord(uint32_t unit, int32_t index) {
  return static_cast<uint32_t>(Forms().ReadProperty(kWindowId, unit, index, -1));
}

std::string ReadText(uint32_t unit, int32_t index) {
  char* text = reinterpret_cast<char*>(static_cast<uint32_t>(Forms().ReadProperty(kWindowId, unit, index, -1)));
  std::string copy = text != nullptr ? text : "";
  rt::Free(text);
  return copy;
}

void WriteWord(uint32_t unit, int32_t index, int32_t value) {
  Forms().WriteProperty(kWindowId, unit, index, -1, static_cast<uint32_t>(value), 0);
}

HWND WindowOf(uint32_t unit) {
  return static_cast<Component*>(Forms().FindLiveObject(kWindowId, unit))->Window();
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

class FormRuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::UseProcessHeap();
    InstallRuntime();
    calls.clear();
  }
  void TearDown() override { ClearWindows(); }

  WindowTemplate& LoadSmallForm() {
    WindowTemplate& window = UseWindow(SmallForm());
    EXPECT_TRUE(LoadWindow(window, 0, false, nullptr));
    return window;
  }
};

TEST_F(FormRuntimeTest, CommonPropertiesComeFromTheRecordBeforeLoading) {
  UseWindow(SmallForm());
  EXPECT_EQ(ReadWord(kCombo, 6), 1u);   // disabled
  EXPECT_EQ(ReadWord(kCombo, 5), 1u);   // visible
  EXPECT_EQ(ReadWord(kCombo, 2), 96u);  // width
  EXPECT_EQ(ReadWord(kEdit, 5), 0u);
  EXPECT_EQ(Forms().FindLiveObject(kWindowId, kCombo), nullptr);

  // Writes before loading land in the record and are what the load then uses.
  WriteWord(kCombo, 2, -20);
  EXPECT_EQ(ReadWord(kCombo, 2), 0u);
  WriteWord(kCombo, 2, 40000);
  EXPECT_EQ(ReadWord(kCombo, 2), 32627u);
  WriteWord(kCombo, 0, -40000);
  EXPECT_EQ(static_cast<int32_t>(ReadWord(kCombo, 0)), -32627);
}

TEST_F(FormRuntimeTest, LoadCreatesEveryUnitInReverseRecordOrderWithTheirIdentifiers) {
  LoadSmallForm();
  const HWND window = WindowOf(0);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  EXPECT_STREQ(className, L"PvWindow");
  EXPECT_EQ(TextOf(window), rt::WideFromGbk("测试窗口 v1"));

  // The window is centred on the screen with its stored outer size.
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 315);
  EXPECT_EQ(rect.bottom - rect.top, 316);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 315) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 316) / 2);

  // Created from the last record to the first: identifiers 100, 110, ...
  EXPECT_EQ(GetDlgCtrlID(WindowOf(kCombo)), 100);
  EXPECT_EQ(GetDlgCtrlID(WindowOf(kCancel)), 110);
  EXPECT_EQ(GetDlgCtrlID(WindowOf(kOk)), 120);
  EXPECT_EQ(GetDlgCtrlID(WindowOf(kEdit)), 130);

  // Z-order is record order.
  std::vector<HWND> order;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    order.push_back(child);
  EXPECT_EQ(order, (std::vector<HWND>{WindowOf(kEdit), WindowOf(kOk), WindowOf(kCancel), WindowOf(kCombo)}));

  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsWindowVisible(WindowOf(kEdit)));
  EXPECT_TRUE(IsWindowVisible(WindowOf(kOk)));
  EXPECT_FALSE(IsWindowEnabled(WindowOf(kCombo)));
  EXPECT_EQ(TextOf(WindowOf(kOk)), rt::WideFromGbk("修改"));
  EXPECT_EQ(TextOf(WindowOf(kCombo)), L"1440 x 900");

  // Stored places are client coordinates of the window.
  EXPECT_EQ(ReadWord(kOk, 0), 156u);
  EXPECT_EQ(ReadWord(kOk, 1), 160u);
  EXPECT_EQ(ReadWord(kOk, 2), 80u);

  // The load-complete handler ran once, before the window was shown.
  EXPECT_EQ(calls, std::vector<std::string>{"loaded while hidden"});
  EXPECT_EQ(rt::SuspensionCount(), 0);
}

TEST_F(FormRuntimeTest, NoHandlerRunsBeforeLoadingIsOverNotEvenAFastTimer) {
  std::vector<Unit> units = SmallForm();
  ArchiveWriter timer;
  timer.U32(1);
  timer.U32(1);  // a tick every millisecond
  units.insert(units.begin() + 1, MakeUnit(0x16016C5B, 0x00010020, "时钟1", {40, 16, 32, 32}, 0,
                                           timer.Data(), {{0, &Ticked}}));
  WindowTemplate& window = UseWindow(std::move(units));
  ASSERT_TRUE(LoadWindow(window, 0, false, nullptr));
  ASSERT_TRUE(PumpUntil([&] { return calls.size() >= 2; }, 5000))
      << "a tick after the load-complete handler";
  EXPECT_EQ(calls[0], "loaded while hidden");
  EXPECT_EQ(calls[1], "tick");
}

TEST_F(FormRuntimeTest, LoadingALoadedWindowAgainCreatesNothing) {
  WindowTemplate& window = LoadSmallForm();
  const HWND first = WindowOf(0);
  EXPECT_TRUE(LoadWindow(window, 0, false, nullptr));
  EXPECT_EQ(WindowOf(0), first);
  EXPECT_EQ(calls.size(), 1u);
}

TEST_F(FormRuntimeTest, LiveCommonPropertiesFollowTheWindow) {
  LoadSmallForm();
  EXPECT_EQ(ReadWord(kCombo, 6), 1u);
  WriteWord(kCombo, 6, 0);
  EXPECT_TRUE(IsWindowEnabled(WindowOf(kCombo)));
  EXPECT_EQ(ReadWord(kCombo, 6), 0u);

  WriteWord(kOk, 2, -3);
  EXPECT_EQ(ReadWord(kOk, 2), 0u);
  WriteWord(kOk, 2, 90);
  WriteWord(kOk, 0, 10);
  RECT rect;
  GetWindowRect(WindowOf(kOk), &rect);
  MapWindowPoints(nullptr, WindowOf(0), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 160);
  EXPECT_EQ(rect.right - rect.left, 90);

  WriteWord(kOk, 5, 0);
  EXPECT_FALSE(IsWindowVisible(WindowOf(kOk)));
  EXPECT_EQ(ReadWord(kOk, 5), 0u);

  // The tag is kept in the record, empty by default.
  EXPECT_EQ(ReadText(kOk, 4), "");
  Forms().WriteProperty(kWindowId, kOk, 4, -1, reinterpret_cast<uint32_t>("标记"), 0);
  EXPECT_EQ(ReadText(kOk, 4), "标记");
}

TEST_F(FormRuntimeTest, OwnPropertiesOfLiveComponents) {
  LoadSmallForm();
  EXPECT_EQ(ReadText(0, 8), "测试窗口 v1");
  EXPECT_EQ(ReadText(kOk, 10), "修改");
  EXPECT_EQ(ReadText(kCombo, 9), "1440 x 900");
  EXPECT_EQ(ReadText(kEdit, 8), "");  // an empty text is no text at all

  Component* combo = static_cast<Component*>(Forms().FindLiveObject(kWindowId, kCombo));
  EXPECT_EQ(AddComboItem(combo, "1600 x 1200", false, 0), 1);
  EXPECT_EQ(ReadText(kCombo, 9), "1440 x 900");  // adding changes no selection
  SendMessageW(combo->Window(), CB_SETCURSEL, 1, 0);
  EXPECT_EQ(ReadText(kCombo, 9), "1600 x 1200");
  EXPECT_EQ(ReadWord(kCombo, 19), 1u);

  Forms().WriteProperty(kWindowId, kOk, 10, -1, reinterpret_cast<uint32_t>("应用"), 0);
  EXPECT_EQ(TextOf(WindowOf(kOk)), rt::WideFromGbk("应用"));
}

TEST_F(FormRuntimeTest, AddItemCommandAppendsWithItsValueAndKeepsTheSelection) {
  LoadSmallForm();
  const HWND combo = WindowOf(kCombo);
  struct Case {
    const char* text;
    bool withValue;
    uint32_t value;
    int32_t index;
  };
  const Case cases[] = {{"1600 x 1200", false, 0, 1}, {"1680 x 1050", true, 77, 2}, {"", false, 0, 3}};
  for (const Case& c : cases) {
    rt::ArgumentRecord args[3] = {{kWindowId, kCombo, kComboBoxType},
                                  {reinterpret_cast<uint32_t>(c.text), 0, rt::tag::Text},
                                  {c.value, 0, c.withValue ? rt::tag::Int : 0u}};
    rt::ResultRecord result = {};
    CommandAt(CommandIndex::AddItem)(&result, 3, args);
    EXPECT_EQ(result.tag, rt::tag::Int);
    EXPECT_EQ(static_cast<int32_t>(result.low), c.index) << c.text;
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, c.index, 0), static_cast<LRESULT>(c.value));
  }
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(ReadText(kCombo, 9), "1440 x 900");

  // A component that is no combo box takes no item.
  rt::ArgumentRecord wrong[2] = {{kWindowId, kOk, kButtonType}, {reinterpret_cast<uint32_t>("x"), 0, rt::tag::Text}};
  rt::ResultRecord result = {};
  CommandAt(CommandIndex::AddItem)(&result, 2, wrong);
  EXPECT_EQ(static_cast<int32_t>(result.low), -1);
}

TEST_F(FormRuntimeTest, AWriteThatNeedsANewWindowRebuildsTheUnitInPlace) {
  LoadSmallForm();
  const HWND old = WindowOf(kCombo);
  const HWND above = GetWindow(old, GW_HWNDPREV);
  // A negative choice becomes 0: a simple combo box, which needs a new native window.
  WriteWord(kCombo, 8, -1);
  EXPECT_EQ(ReadWord(kCombo, 8), 0u);
  const HWND fresh = WindowOf(kCombo);
  EXPECT_NE(fresh, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(GetDlgCtrlID(fresh), 100);
  EXPECT_EQ(GetWindow(fresh, GW_HWNDPREV), above);
  EXPECT_FALSE(IsWindowEnabled(fresh));
  EXPECT_EQ(ReadText(kCombo, 9), "1440 x 900");
  EXPECT_EQ(rt::SuspensionCount(), 0);
}

TEST_F(FormRuntimeTest, EditContentWriteRaisesItsEventExactlyOnce) {
  LoadSmallForm();
  calls.clear();
  Forms().WriteProperty(kWindowId, kEdit, 8, -1, reinterpret_cast<uint32_t>("3850784"), 0);
  EXPECT_EQ(calls, std::vector<std::string>{"edit changed"});
  EXPECT_EQ(ReadText(kEdit, 8), "3850784");
  EXPECT_FALSE(IsWindowVisible(WindowOf(kEdit)));  // a hidden box stays hidden
}

TEST_F(FormRuntimeTest, ClickRunsTheBoundHandlerAndUnboundEventsRunNothing) {
  LoadSmallForm();
  calls.clear();
  SendMessageW(WindowOf(kOk), BM_CLICK, 0, 0);
  EXPECT_EQ(calls, std::vector<std::string>{"ok"});
  SendMessageW(WindowOf(kCancel), BM_CLICK, 0, 0);  // no binding
  EXPECT_EQ(calls.size(), 1u);

  EventRecord record = {kWindowId, kOk, 5, 0, {}, 0, 0};  // a number with no binding
  EXPECT_EQ(DispatchEvent(Forms().Windows(), record), 0);
  EXPECT_EQ(record.resultPresent, 0u);

  rt::SuspendEvents();
  SendMessageW(WindowOf(kOk), BM_CLICK, 0, 0);
  rt::ResumeEvents();
  EXPECT_EQ(calls.size(), 1u) << "no handler runs while dispatch is suspended";
}

TEST_F(FormRuntimeTest, HandlerResultsArgumentsAndSharedBindings) {
  std::vector<Unit> units = SmallForm();
  units[2].events = {{0, &Answers7}};
  units[3].sharedEventsUnit = kOk;       // another button: uses the bindings of 按钮2
  units[4].sharedEventsUnit = kOk;       // a combo box: another type keeps its own (none)
  units[4].events = {{3, &OkClicked}};
  WindowTemplate& window = UseWindow(std::move(units));
  ASSERT_TRUE(LoadWindow(window, 0, false, nullptr));
  calls.clear();

  EventRecord shared = {kWindowId, kCancel, 0, 2, {11, 22}, 0, 0};
  EXPECT_EQ(DispatchEvent(Forms().Windows(), shared), 1);
  EXPECT_EQ(shared.resultPresent, 1u);
  EXPECT_EQ(shared.result, 7u);
  EventRecord own = {kWindowId, kCombo, 3, 0, {}, 0, 0};
  EXPECT_EQ(DispatchEvent(Forms().Windows(), own), 1);
  EXPECT_EQ(calls, (std::vector<std::string>{"answers with 2 arguments, first 11", "ok"}));
  EXPECT_EQ(CurrentEventSource().windowId, 0u) << "no source outside a handler";
}

// The source each handler reads, in order: "<unit> sees <unit>", by the units' names.
std::string NameOf(uint32_t unit) {
  return unit == kEdit ? "edit" : unit == kOk ? "ok" : unit == kCancel ? "cancel" : std::to_string(unit);
}
void NoteSource(const char* who, const char* when) {
  const EventSource source = CurrentEventSource();
  calls.push_back(std::string(who) + " " + when + " sees " +
                  (source.windowId == kWindowId ? NameOf(source.unitId) : "no source"));
}
HandlerResult EditNotes(const uint32_t*, uint32_t) {
  NoteSource("edit", "in its handler");
  return {0, false};
}
HandlerResult CancelNotes(const uint32_t*, uint32_t) {
  NoteSource("cancel", "in its handler");
  return {0, false};
}
// What a handler does in the middle: raise another event synchronously.
void (*nested)() = nullptr;
HandlerResult OkRaisesAnother(const uint32_t*, uint32_t) {
  NoteSource("ok", "before");
  nested();
  NoteSource("ok", "after");
  return {0, false};
}

// A handler that raises another event in its midst reads its own window and unit again once the
// inner handler has returned; outside every handler there is no source.
TEST_F(FormRuntimeTest, AHandlerReadsItsOwnSourceAgainAfterANestedEvent) {
  const struct {
    const char* name;
    void (*raise)();
    const char* inner;
  } rows[] = {
      {"the edit box's content written",
       [] { Forms().WriteProperty(kWindowId, kEdit, 8, -1, reinterpret_cast<uint32_t>("1"), 0); },
       "edit in its handler sees edit"},
      {"a click sent to another button",
       [] { SendMessageW(WindowOf(kCancel), BM_CLICK, 0, 0); }, "cancel in its handler sees cancel"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<Unit> units = SmallForm();
    units[1].events = {{0, &EditNotes}};
    units[2].events = {{0, &OkRaisesAnother}};
    units[3].events = {{0, &CancelNotes}};
    ASSERT_TRUE(LoadWindow(UseWindow(std::move(units)), 0, false, nullptr));
    calls.clear();
    nested = row.raise;
    SendMessageW(WindowOf(kOk), BM_CLICK, 0, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"ok before sees ok", row.inner, "ok after sees ok"}));
    EXPECT_EQ(CurrentEventSource().windowId, 0u) << "no source outside a handler";
    ClearWindows();
  }
}

TEST_F(FormRuntimeTest, ClosingTheWindowEndsTheLoopOnce) {
  WindowTemplate& window = LoadSmallForm();
  const HWND top = WindowOf(0);
  // The loop does its idle work while the queue is empty: here, asking the window to close.
  static int idleRounds = 0;
  idleRounds = 0;
  AddIdleCallback(top, [](HWND w, void*) {
    if (idleRounds++ == 0) PostMessageW(w, WM_CLOSE, 0, 0);
  }, nullptr);
  Forms().RunMessageLoop();  // returns once the quit message arrives
  EXPECT_GE(idleRounds, 1);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(Forms().AnyWindowLoaded());
  EXPECT_FALSE(window.loaded);
  for (const Unit& unit : window.units) EXPECT_EQ(unit.object, nullptr) << unit.name;
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "one quit message only";

  // With no window loaded the loop returns at once.
  Forms().RunMessageLoop();
  ClearIdleCallbacks();
}

TEST_F(FormRuntimeTest, AHandlerOfTheCloseEventsThatAnswersZeroKeepsTheWindow) {
  std::vector<Unit> units = SmallForm();
  units[0].events.push_back({1, &KeepsTheWindowOpen});
  WindowTemplate& window = UseWindow(std::move(units));
  ASSERT_TRUE(LoadWindow(window, 0, false, nullptr));
  const HWND top = WindowOf(0);
  SendMessageW(top, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(top));
  EXPECT_EQ(calls.back(), "asked to close");

  window.units[0].events.pop_back();  // nothing bound: closing goes ahead
  SendMessageW(top, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(FormRuntimeTest, ComboSelectionIsClampedToTheItems) {
  struct Case {
    int32_t stored;
    int32_t selected;
  };
  for (const Case c : {Case{0, 0}, Case{1, 1}, Case{5, 1}, Case{-1, -1}, Case{-7, -1}}) {
    std::vector<Unit> units = SmallForm();
    units[4].typeData = ComboData(2, c.stored, {"1440 x 900", "1600 x 1200"});
    WindowTemplate& window = UseWindow(std::move(units));
    ASSERT_TRUE(LoadWindow(window, 0, false, nullptr));
    EXPECT_EQ(static_cast<int32_t>(ReadWord(kCombo, 19)), c.selected) << c.stored;
  }
}

TEST_F(FormRuntimeTest, ADropDownComboOpensAtLeast160PixelsHigh) {
  // The open list's height for a stored height; the system measures it in its own way, so
  // heights are compared with each other.
  const auto openHeight = [](int32_t stored) {
    std::vector<Unit> units = SmallForm();
    units[4].height = stored;
    WindowTemplate& window = UseWindow(std::move(units));
    EXPECT_TRUE(LoadWindow(window, 0, false, nullptr));
    RECT list = {};
    SendMessageW(WindowOf(kCombo), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    return list.bottom - list.top;
  };
  const int32_t at160 = openHeight(160);
  EXPECT_EQ(openHeight(20), at160);
  EXPECT_EQ(openHeight(200), at160 + 40);
}

TEST_F(FormRuntimeTest, AUnitThatCannotBeCreatedFailsTheWholeLoad) {
  std::vector<Unit> units = SmallForm();
  units[2].typeData[0] = 2;  // a button format version this runtime does not know
  WindowTemplate& window = UseWindow(std::move(units));
  EXPECT_FALSE(LoadWindow(window, 0, false, nullptr));
  EXPECT_FALSE(Forms().AnyWindowLoaded());
  EXPECT_EQ(rt::SuspensionCount(), 0);
  EXPECT_TRUE(calls.empty());

  std::vector<Unit> unknown = SmallForm();
  unknown[1].typeCode = 0x00010002;  // a type this build does not have
  WindowTemplate& second = UseWindow(std::move(unknown));
  EXPECT_FALSE(LoadWindow(second, 0, false, nullptr));
}

}  // namespace
}  // namespace forms::testing
