// The tool's main window as its user meets it: started as a process, looked at and closed
// through the window system, and read as a screen reader reads it.

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "process_runner.h"

namespace {

// What a screen reader says of a window's client area, read from this process.
struct Spoken {
  bool found = false;
  std::wstring name, value;
  LONG role = 0;
  std::wstring shown;  // the window's text at the moment it was read
};

Spoken Speak(HWND window) {
  Spoken spoken;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))) ||
      object == nullptr)
    return spoken;
  spoken.found = true;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  for (auto [read, text] : {std::pair{&IAccessible::get_accName, &spoken.name},
                            std::pair{&IAccessible::get_accValue, &spoken.value}}) {
    BSTR answer = nullptr;
    if ((object->*read)(self, &answer) == S_OK && answer != nullptr) *text = answer;
    SysFreeString(answer);
  }
  VARIANT role{};
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) spoken.role = role.lVal;
  VariantClear(&role);
  object->Release();
  return spoken;
}

// Read together with the text the window shows meanwhile: the first tick may change a caption
// while it is being read. Read again until the text stayed the same throughout.
Spoken SpeakWithText(HWND window) {
  Spoken spoken;
  for (int attempt = 0; attempt < 5; ++attempt) {
    const std::wstring before = WindowText(window);
    spoken = Speak(window);
    spoken.shown = WindowText(window);
    if (spoken.shown == before) break;
  }
  return spoken;
}

// COM for this thread while a test reads through it.
class ComThread {
 public:
  ComThread() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComThread() {
    if (started_) CoUninitialize();
  }

 private:
  bool started_;
};

struct Control {
  std::wstring className;
  std::wstring text;
  RECT rect;  // in the window's client coordinates
  bool visible;
  bool enabled;
  Spoken spoken;
};

struct Seen {
  bool found = false;
  RECT outer = {};
  std::wstring title;
  bool visible = false;
  std::map<int, Control> controls;  // by control identifier
} seen;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

void LookAndClose(DWORD processId) {
  HWND window = nullptr;
  PollUntil(
      [&] {
        window = FindProcessWindow(processId, L"PvWindow");
        return window != nullptr && IsWindowVisible(window);
      },
      15000);
  if (window == nullptr) return;
  seen.found = true;
  seen.visible = IsWindowVisible(window);
  GetWindowRect(window, &seen.outer);
  seen.title = WindowText(window);
  // Every control as first shown, before the first tick; then as a screen reader reads it,
  // which takes a while for each.
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Control control{ClassOf(child), WindowText(child), {}, IsWindowVisible(child) != FALSE,
                    IsWindowEnabled(child) != FALSE, {}};
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&control.rect), 2);
    seen.controls[GetDlgCtrlID(child)] = control;
  }
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    seen.controls[GetDlgCtrlID(child)].spoken = SpeakWithText(child);
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(MainWindow, ShowsTheStoredFormAndEndsWithZeroWhenClosed) {
  const ComThread com;
  seen = {};
  RunOptions options;
  options.whileRunning = &LookAndClose;
  const ProcessOutcome outcome =
      RunProcess(L"\"" + BesideThisProgram(L"..\\..\\app\\quenmire-res.exe") + L"\"", options);
  ASSERT_TRUE(outcome.ended);
  EXPECT_FALSE(outcome.box.shown) << std::string(outcome.box.text.begin(), outcome.box.text.end());
  EXPECT_EQ(outcome.exitCode, 0u);
  ASSERT_TRUE(seen.found);

  EXPECT_TRUE(seen.visible);
  EXPECT_EQ(seen.title, L"Quenmire导演剪辑PC版分辨率修改器 v1");
  EXPECT_EQ(seen.outer.right - seen.outer.left, 315);
  EXPECT_EQ(seen.outer.bottom - seen.outer.top, 316);
  EXPECT_EQ(seen.outer.left, (GetSystemMetrics(SM_CXSCREEN) - 315) / 2);
  EXPECT_EQ(seen.outer.top, (GetSystemMetrics(SM_CYSCREEN) - 316) / 2);

  // The label is static text named by whatever caption it shows.
  const Control& label = seen.controls[150];
  EXPECT_TRUE(label.spoken.found);
  EXPECT_EQ(label.spoken.role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(label.spoken.name, label.spoken.shown);

  // Components are created from the last record to the first: identifiers 100, 110, ...
  struct Expected {
    int id;
    std::wstring className;
    std::wstring text;
    RECT rect;  // left, top, width, height; height 0 = the system's own
    bool visible;
    bool enabled;
  };
  const Expected expected[] = {
      {110, L"Button", L"加载tovrex.exe", {156, 80, 80, 32}, true, true},
      {120, L"ComboBox", L"1440 x 900", {48, 88, 96, 0}, true, false},
      {130, L"Button", L"读取分辨率", {156, 120, 80, 32}, true, true},
      {140, L"Button", L"修改", {156, 160, 80, 32}, true, true},
      {150, L"", L"", {48, 176, 96, 16}, true, true},
      {160, L"Edit", L"", {48, 144, 88, 16}, false, true},
      {170, L"_Kw_Timer", L"", {40, 16, 32, 32}, false, true},
      {100, L"", L"", {176, 16, 64, 32}, false, true},
  };
  EXPECT_EQ(seen.controls.size(), std::size(expected));
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    ASSERT_EQ(seen.controls.count(e.id), 1u);
    const Control& c = seen.controls.at(e.id);
    if (!e.className.empty()) {
      EXPECT_EQ(_wcsicmp(c.className.c_str(), e.className.c_str()), 0) << c.className;
    }
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.visible, e.visible);
    EXPECT_EQ(c.enabled, e.enabled);
    if (!e.visible) continue;  // the place of a hidden helper window means nothing
    // The system's own roles: Windows knows each standard control; Wine's library calls every
    // one "client".
    if (e.className == L"Button") {
      EXPECT_EQ(c.spoken.name, e.text) << "a button is named by its caption";
      EXPECT_TRUE(c.spoken.role == ROLE_SYSTEM_PUSHBUTTON || c.spoken.role == ROLE_SYSTEM_CLIENT)
          << c.spoken.role;
    }
    if (e.className == L"ComboBox") {
      EXPECT_TRUE(c.spoken.found) << "the list answers assistive technology";
      EXPECT_TRUE(c.spoken.role == ROLE_SYSTEM_COMBOBOX || c.spoken.role == ROLE_SYSTEM_CLIENT)
          << c.spoken.role;
      // Windows reads the selection as the list's value; Wine's library, which gives every
      // standard control the role "client", reads the window's text as its name.
      EXPECT_TRUE(c.spoken.value == e.text || c.spoken.name == e.text)
          << "the list's selection is read: value \"" << std::string(c.spoken.value.begin(), c.spoken.value.end())
          << "\"";
    }
    EXPECT_EQ(c.rect.left, e.rect.left);
    EXPECT_EQ(c.rect.top, e.rect.top);
    EXPECT_EQ(c.rect.right - c.rect.left, e.rect.right);
    if (e.rect.bottom != 0) {
      EXPECT_EQ(c.rect.bottom - c.rect.top, e.rect.bottom);
    }
  }
}

// A label given verdicts by a timer, watched from outside as a screen reader watches it: the
// fixture writes each verdict on six ticks in a row once told to go, then raises kScriptDone.
constexpr DWORD kScriptDone = EVENT_AIA_START;
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED

struct VerdictWatch {
  std::wstring go;  // the fixture's go event
  HWND label = nullptr;
  Spoken before, after;
  std::vector<DWORD> events;  // on the label's client area, in order
  bool done = false;
} watch;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (window != watch.label || object != OBJID_CLIENT || child != CHILDID_SELF) return;
  if (event == kScriptDone) {
    watch.done = true;
  } else {
    watch.events.push_back(event);
  }
}

struct LabelSearch {
  DWORD processId;
  HWND label;
};

BOOL CALLBACK FindLabel(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<LabelSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId) search.label = FindWindowExW(window, nullptr, L"_Kw_TransLabel", nullptr);
  return search.label == nullptr;
}

HWND LabelOf(DWORD processId) {
  LabelSearch search{processId, nullptr};
  EnumWindows(&FindLabel, reinterpret_cast<LPARAM>(&search));
  return search.label;
}

void WatchVerdicts(DWORD processId) {
  PollUntil(
      [&] {
        watch.label = LabelOf(processId);
        return watch.label != nullptr && IsWindowVisible(watch.label);
      },
      15000);
  if (watch.label == nullptr) return;
  watch.before = Speak(watch.label);
  // Out of context, as a screen reader listens: the events arrive as this thread's messages.
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, kScriptDone, nullptr, &Hear,
                                             processId, 0, WINEVENT_OUTOFCONTEXT);
  const HANDLE go = OpenEventW(EVENT_MODIFY_STATE, FALSE, watch.go.c_str());
  if (hook != nullptr && go != nullptr) {
    SetEvent(go);
    const DWORD start = GetTickCount();
    while (!watch.done && GetTickCount() - start < 20000) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
  }
  if (go != nullptr) CloseHandle(go);
  if (hook != nullptr) UnhookWinEvent(hook);
  watch.after = Speak(watch.label);
  PostMessageW(GetAncestor(watch.label, GA_ROOT), WM_CLOSE, 0, 0);
}

TEST(Verdicts, AScreenReaderReadsTheLabelAndHearsEachChangeOnce) {
  const ComThread com;
  const std::wstring tag = std::to_wstring(GetCurrentProcessId());
  const std::wstring log = TempPath(L"qr-verdicts-" + tag + L".log");
  DeleteFileW(log.c_str());
  watch = {};
  watch.go = L"qr-verdicts-go-" + tag;
  const HANDLE go = CreateEventW(nullptr, TRUE, FALSE, watch.go.c_str());
  ASSERT_NE(go, nullptr);
  RunOptions options;
  options.whileRunning = &WatchVerdicts;
  const ProcessOutcome outcome = RunProcess(
      L"\"" + BesideThisProgram(L"form_loads_fixture.exe") + L"\" verdicts \"" + log + L"\" " + watch.go,
      options);
  CloseHandle(go);
  const std::vector<std::string> lines = ReadLines(log);
  DeleteFileW(log.c_str());
  ASSERT_TRUE(outcome.ended);
  EXPECT_FALSE(outcome.box.shown);
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_EQ(lines, (std::vector<std::string>{"started", "verdicts written"}));
  ASSERT_NE(watch.label, nullptr);

  EXPECT_TRUE(watch.before.found);
  EXPECT_EQ(watch.before.role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(watch.before.name, L"请加载tovrex.exe");
  EXPECT_EQ(watch.after.role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(watch.after.name, L"未通过，可能不是导演剪辑版");

  // Three verdicts, each on six ticks: the first is the one shown already, the others change it.
  ASSERT_TRUE(watch.done) << "the fixture's last event never arrived";
  const std::vector<DWORD> perChange = {EVENT_OBJECT_NAMECHANGE, kLiveRegionChanged};
  std::vector<DWORD> expected;
  for (int change = 0; change < 2; ++change) expected.insert(expected.end(), perChange.begin(), perChange.end());
  EXPECT_EQ(watch.events, expected);
}

// Every fault of the form runtime ends with its box and exit code -1.
struct FormErrorCase {
  const wchar_t* fixture;
  const wchar_t* scenario;
  const wchar_t* message;
};

class FormErrorTest : public ::testing::TestWithParam<FormErrorCase> {};

TEST_P(FormErrorTest, ShowsItsMessageThenEndsWithMinusOne) {
  const FormErrorCase& c = GetParam();
  const ProcessOutcome outcome =
      RunProcess(L"\"" + BesideThisProgram(c.fixture) + L"\" " + c.scenario);
  ASSERT_TRUE(outcome.ended);
  ASSERT_TRUE(outcome.box.shown);
  EXPECT_EQ(outcome.box.caption, L"错误");
  EXPECT_EQ(outcome.box.text, std::wstring(L"运行时出错!\r\n\r\n错误信息：") + c.message + L"\r\n");
  EXPECT_EQ(outcome.exitCode, 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(
    Box, FormErrorTest,
    ::testing::Values(
        FormErrorCase{L"truncated_form_fixture.exe", L"none", L"载入窗口模板数据段出错!"},
        FormErrorCase{L"form_fixture.exe", L"start-unknown", L"载入启动窗口失败"},
        FormErrorCase{L"form_fixture.exe", L"own-before-load", L"指定窗口尚未载入"},
        FormErrorCase{L"form_fixture.exe", L"unknown-window", L"未载入欲访问窗口组件所在的窗口"},
        FormErrorCase{L"form_fixture.exe", L"absent-component", L"指定窗口或窗口组件不存在或尚未载入"},
        FormErrorCase{L"form_fixture.exe", L"event-unknown-window", L"未找到引发事件的窗口"},
        FormErrorCase{L"form_fixture.exe", L"event-unknown-unit", L"未找到引发事件的窗口组件"},
        FormErrorCase{L"form_fixture.exe", L"event-invalid-type", L"引发事件的窗口组件无效"},
        FormErrorCase{L"form_loads_fixture.exe", L"duplicate-id", L"载入窗口模板数据段出错!"},
        FormErrorCase{L"form_loads_fixture.exe", L"invalid-id", L"载入窗口模板数据段出错!"},
        // A font's sub-fields are -1 (the whole font) to 6: any other selector, with a value
        // that is no pointer, is refused before the value is touched.
        FormErrorCase{L"form_loads_fixture.exe", L"font-write:-2", L"欲访问的字体属性子字段不存在"},
        FormErrorCase{L"form_loads_fixture.exe", L"font-write:7", L"欲访问的字体属性子字段不存在"},
        FormErrorCase{L"form_loads_fixture.exe", L"font-write:8", L"欲访问的字体属性子字段不存在"},
        FormErrorCase{L"form_loads_fixture.exe", L"font-read:-2", L"欲访问的字体属性子字段不存在"},
        FormErrorCase{L"form_loads_fixture.exe", L"font-read:7", L"欲访问的字体属性子字段不存在"},
        FormErrorCase{L"form_loads_fixture.exe", L"font-read:8", L"欲访问的字体属性子字段不存在"}),
    [](const ::testing::TestParamInfo<FormErrorCase>& info) { return std::to_string(info.index); });

TEST(ModalLoad, TheHiddenOwnerOwnsTheWindowAndTheOtherWindowIsDisabled) {
  const std::wstring log = TempPath(L"qr-form-loads-" + std::to_wstring(GetCurrentProcessId()) + L".log");
  DeleteFileW(log.c_str());
  const ProcessOutcome outcome =
      RunProcess(L"\"" + BesideThisProgram(L"form_loads_fixture.exe") + L"\" modal \"" + log + L"\"");
  const std::vector<std::string> lines = ReadLines(log);
  DeleteFileW(log.c_str());
  ASSERT_TRUE(outcome.ended);
  EXPECT_FALSE(outcome.box.shown);
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_EQ(lines, (std::vector<std::string>{"started", "owner the hidden owner", "main window disabled"}));
}

}  // namespace
