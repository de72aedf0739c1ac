// The tool's main window as its user meets it: started as a process, looked at and closed
// through the window system.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "process_runner.h"

namespace {

struct Control {
  std::wstring className;
  std::wstring text;
  RECT rect;  // in the window's client coordinates
  bool visible;
  bool enabled;
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
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    Control control{ClassOf(child), WindowText(child), {}, IsWindowVisible(child) != FALSE,
                    IsWindowEnabled(child) != FALSE};
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&control.rect), 2);
    seen.controls[GetDlgCtrlID(child)] = control;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
}

TEST(MainWindow, ShowsTheStoredFormAndEndsWithZeroWhenClosed) {
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
    EXPECT_EQ(c.rect.left, e.rect.left);
    EXPECT_EQ(c.rect.top, e.rect.top);
    EXPECT_EQ(c.rect.right - c.rect.left, e.rect.right);
    if (e.rect.bottom != 0) {
      EXPECT_EQ(c.rect.bottom - c.rect.top, e.rect.bottom);
    }
  }
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
