// The tool at the display scales users run it at. The system DPI is what the prefix's
// HKCU\Control Panel\Desktop\LogPixels says when a process starts, so each scale is set there and
// this program is started again to look at the tool from a process of that scale: the window and
// every control grown from the stored form, every text fitting its control in the control's own
// font (a runtime fixture at the same scale reports the fonts: another process cannot read a
// font of the tool), the properties still in stored units, and the whole job done through the
// window.
// This suite runs in a Wine prefix of its own (wine-run-scaled): no other test sees the setting.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "synthetic_executable.h"
#include "tool_driver.h"
#include "tool_expectations.h"

namespace {

using namespace e2e;

constexpr wchar_t kScaleVariable[] = L"QUENMIRE_TEST_DPI";
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

// A stored length at the display's DPI, as the runtime rounds it.
int Scaled(int stored, int dpi) { return MulDiv(stored, dpi, 96); }

int SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The scale the starting process asked this one to be checked at; 0 when run directly.
int ScaleToCheck() {
  wchar_t value[16] = {};
  return GetEnvironmentVariableW(kScaleVariable, value, 16) > 0 ? _wtoi(value) : 0;
}

// Sets the DPI that processes started from now on get, and puts the old setting back.
class SystemDpiSetting {
 public:
  explicit SystemDpiSetting(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &key_, nullptr);
    DWORD size = sizeof old_, type = 0;
    hadOld_ = RegQueryValueExW(key_, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&old_),
                               &size) == ERROR_SUCCESS && type == REG_DWORD;
    set_ = RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                          sizeof dpi) == ERROR_SUCCESS;
  }
  ~SystemDpiSetting() {
    if (hadOld_)
      RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
    else
      RegDeleteValueW(key_, kLogPixels);
    RegCloseKey(key_);
  }
  SystemDpiSetting(const SystemDpiSetting&) = delete;
  SystemDpiSetting& operator=(const SystemDpiSetting&) = delete;
  bool Set() const { return set_; }

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool hadOld_ = false;
  bool set_ = false;
};

// Runs the checks of this program that look at the tool from a process of the given scale; their
// report goes to this program's output. The exit code, or a note of why there is none.
::testing::AssertionResult ChecksPassAtScale(int dpi) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_filter=AtTheSystemScale.*";
  SetEnvironmentVariableW(kScaleVariable, std::to_wstring(dpi).c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  std::fflush(stdout);
  const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  SetEnvironmentVariableW(kScaleVariable, nullptr);
  if (!started) return ::testing::AssertionFailure() << "this program could not be started again";
  // Bound for a slow machine: the checks run the tool twice and a fixture once.
  const bool ended = WaitForSingleObject(process.hProcess, 540000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process.hProcess, 0xDEAD);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (!ended) return ::testing::AssertionFailure() << "the checks did not end in time";
  if (code != 0) return ::testing::AssertionFailure() << "the checks failed (report above)";
  return ::testing::AssertionSuccess();
}

class DisplayScaleTest : public ::testing::TestWithParam<int> {};

TEST_P(DisplayScaleTest, TheToolIsWholeAndWorksAtThisScale) {
  const SystemDpiSetting setting(static_cast<DWORD>(GetParam()));
  ASSERT_TRUE(setting.Set());
  EXPECT_TRUE(ChecksPassAtScale(GetParam())) << "at " << GetParam() << " DPI";
}

INSTANTIATE_TEST_SUITE_P(Dpi, DisplayScaleTest, ::testing::Values(96, 120, 144, 192),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "At" + std::to_string(info.param);
                         });

// What follows runs in the process started at the set scale.

struct StoredRect {
  int left, top, width, height;  // height 0: the system's own (the closed combo box)
};

struct StoredControl {
  int id;
  const char* unit;  // as the fixture's report names it
  const wchar_t* className;
  StoredRect rect;
};

// The visible controls, as the stored form places them.
const StoredControl kVisibleControls[] = {
    {control::LoadButton, "16016BD6", L"Button", {156, 80, 80, 32}},
    {control::ResolutionList, "16016C54", L"ComboBox", {48, 88, 96, 0}},
    {control::ReadButton, "16016C56", L"Button", {156, 120, 80, 32}},
    {control::ApplyButton, "16016C58", L"Button", {156, 160, 80, 32}},
    {control::VerdictLabel, "16016C59", L"_Kw_TransLabel", {48, 176, 96, 16}},
};
constexpr int kStoredWindowWidth = 315, kStoredWindowHeight = 316;

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

::testing::AssertionResult WithinRounding(const char* what, int seen, int stored, int dpi) {
  const int expected = Scaled(stored, dpi);
  if (std::abs(seen - expected) <= 1) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << what << " is " << seen << ", expected " << expected
                                       << " (stored " << stored << ")";
}

// The text's extent in the font; broken into lines at most width wide where it may wrap (a
// word wider than that still makes the extent wider).
SIZE TextSize(HFONT font, const std::wstring& text, int wrapWidth = 0) {
  const HDC dc = GetDC(nullptr);
  const HGDIOBJ previous = SelectObject(dc, font);
  RECT area = {0, 0, wrapWidth, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return {area.right - area.left, area.bottom - area.top};
}

::testing::AssertionResult Fits(const std::wstring& text, HFONT font, int width, int height,
                                bool wraps = false) {
  if (font == nullptr) return ::testing::AssertionFailure() << "the control's font is not known";
  const SIZE size = TextSize(font, text, wraps ? width : 0);
  if (size.cx <= width && size.cy <= height) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << ::testing::PrintToString(text) << " needs " << size.cx
                                       << " x " << size.cy << ", has " << width << " x " << height;
}

// A push button draws its caption inside its edges, on more lines where it is too wide for one
// (the runtime's buttons are multi-line, as "加载tovrex.exe" is at 96 DPI).
::testing::AssertionResult FitsButton(HWND button, HFONT font) {
  RECT client;
  GetClientRect(button, &client);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  return Fits(WindowText(button), font, client.right - 2 * edge, client.bottom - 2 * edge, true);
}

// Every item fits the closed box's face, left of the drop button, and a row of the opened list,
// which is as wide as the box.
::testing::AssertionResult FitsList(HWND list, HFONT font) {
  RECT client;
  GetClientRect(list, &client);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  const int face = client.right - GetSystemMetrics(SM_CXVSCROLL) - 2 * edge;
  const int row = client.right - 2 * GetSystemMetrics(SM_CXBORDER);
  const int faceHeight = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  const int rowHeight = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
  for (const std::wstring& item : ListItems(list)) {
    if (auto fits = Fits(item, font, face, faceHeight); !fits) return fits << " in the closed box";
    if (auto fits = Fits(item, font, row, rowHeight); !fits) return fits << " in a row of the list";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult FitsLabel(HWND label, HFONT font) {
  RECT client;
  GetClientRect(label, &client);
  return Fits(WindowText(label), font, client.right, client.bottom);
}

// The title in the caption font, in the caption between the small icon and the three buttons.
::testing::AssertionResult FitsTitle(HWND window) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  const HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  RECT client;
  GetClientRect(window, &client);
  const int room = client.right - GetSystemMetrics(SM_CXSMICON) - 3 * GetSystemMetrics(SM_CXSIZE);
  const SIZE size = TextSize(font, WindowText(window));
  DeleteObject(font);
  if (size.cx <= room) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the title needs " << size.cx << " pixels, the caption has "
                                       << room;
}

// What a fixture program of the runtime, started at this scale, reports of the main form it
// loads: positions and sizes as the application reads them, and each control's font.
struct FormReport {
  std::vector<std::string> lines;
  std::map<std::string, HFONT> fonts;  // by unit identifier, as in the report
  ~FormReport() {
    for (auto& [unit, font] : fonts) DeleteObject(font);
  }
};

// Beside the list, the fixture opens a box given the list's stored minimum height of 160 at dpi.
void ReadFormReport(FormReport& report, int dpi) {
  const std::wstring path = TempPath(L"scaled-form.txt");
  DeleteFileW(path.c_str());
  const ProcessOutcome outcome = RunProcess(
      L"\"" + BesideThisProgram(L"..\\process\\form_fixture.exe") + L"\" stored-units \"" + path +
      L"\" " + std::to_wstring(Scaled(160, dpi)));
  ASSERT_TRUE(outcome.ended);
  ASSERT_FALSE(outcome.box.shown) << ::testing::PrintToString(outcome.box.text);
  for (const std::string& line : ReadLines(path)) {
    if (line.rfind("font ", 0) != 0) {
      report.lines.push_back(line);
      continue;
    }
    const std::string unit = line.substr(5, 8), bytes = line.substr(14);
    LOGFONTW font = {};
    ASSERT_GE(bytes.size(), 2 * sizeof font) << line;
    for (size_t i = 0; i < sizeof font; ++i)
      reinterpret_cast<uint8_t*>(&font)[i] = static_cast<uint8_t>(std::stoul(bytes.substr(2 * i, 2), nullptr, 16));
    ASSERT_NE(font.lfHeight, 0) << "no font for unit " << unit;
    report.fonts[unit] = CreateFontIndirectW(&font);
  }
  DeleteFileW(path.c_str());
}

class AtTheSystemScale : public ::testing::Test {
 protected:
  void SetUp() override {
    dpi_ = ScaleToCheck();
    if (dpi_ == 0) GTEST_SKIP() << "started by DisplayScaleTest at each scale";
    ASSERT_EQ(SystemDpi(), dpi_) << "the LogPixels setting did not reach a process started after it";
  }
  int dpi_ = 0;
};

TEST_F(AtTheSystemScale, WindowAndControlsGrowFromTheStoredFormAndTheirTextsFit) {
  FormReport report;
  ASSERT_NO_FATAL_FAILURE(ReadFormReport(report, dpi_));
  const auto fontOf = [&](int id) -> HFONT {
    for (const StoredControl& stored : kVisibleControls)
      if (stored.id == id && report.fonts.count(stored.unit)) return report.fonts.at(stored.unit);
    return nullptr;
  };
  ScratchDirectory folder(L"scaled");
  const std::wstring path = folder / L"tovrex.exe";
  const std::vector<uint8_t> image = DirectorsCut();
  ASSERT_TRUE(WriteWholeFile(path, image));
  const Resolution& chosen = kResolutions[3];

  const ToolRun run = RunTool(BuiltTool(), [&](const MainWindow& main) {
    RECT outer;
    GetWindowRect(main.window, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    EXPECT_TRUE(WithinRounding("the outer width", width, kStoredWindowWidth, dpi_));
    EXPECT_TRUE(WithinRounding("the outer height", height, kStoredWindowHeight, dpi_));
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    EXPECT_EQ(WindowText(main.window), kTitle);
    EXPECT_TRUE(FitsTitle(main.window));

    for (const StoredControl& stored : kVisibleControls) {
      SCOPED_TRACE(stored.id);
      const HWND control = main.Control(stored.id, stored.className);
      ASSERT_NE(control, nullptr);
      const RECT rect = RectInParent(control);
      EXPECT_TRUE(WithinRounding("left", rect.left, stored.rect.left, dpi_));
      EXPECT_TRUE(WithinRounding("top", rect.top, stored.rect.top, dpi_));
      EXPECT_TRUE(WithinRounding("width", rect.right - rect.left, stored.rect.width, dpi_));
      if (stored.rect.height != 0) {
        EXPECT_TRUE(WithinRounding("height", rect.bottom - rect.top, stored.rect.height, dpi_));
      }
    }

    const MainControls c = ControlsOf(main);
    ASSERT_TRUE(c.AllFound());
    EXPECT_EQ(WindowText(c.loadButton), kLoadCaption);
    EXPECT_EQ(WindowText(c.readButton), kReadCaption);
    EXPECT_EQ(WindowText(c.applyButton), kApplyCaption);
    EXPECT_TRUE(FitsButton(c.loadButton, fontOf(control::LoadButton)));
    EXPECT_TRUE(FitsButton(c.readButton, fontOf(control::ReadButton)));
    EXPECT_TRUE(FitsButton(c.applyButton, fontOf(control::ApplyButton)));
    EXPECT_TRUE(ShowsVerdict(c.label, kNoFile, Ink::Black));
    EXPECT_TRUE(FitsLabel(c.label, fontOf(control::VerdictLabel)));

    // The whole job, through the window at this scale; the list then holds all four items.
    // A process's first open dialog takes long to build and to take its file under emulation,
    // the longer the larger the scale: it is waited for with a wider bound than the driver's.
    Click(c.loadButton);
    HWND dialog = nullptr;
    constexpr DWORD kFirstDialogMs = 120000;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = ShownOpenDialog(main.processId)) != nullptr; },
                          kFirstDialogMs));
    PutText(GetDlgItem(dialog, kFileNameBox), path);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kFirstDialogMs));
    Click(c.readButton);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(c.signatureBox) == kDirectorsCutValue; }));
    EXPECT_TRUE(ShowsVerdict(c.label, kPassed, Ink::Green));
    // The red verdict is left out: the stored label is narrower than it even at 96 DPI.
    EXPECT_TRUE(FitsLabel(c.label, fontOf(control::VerdictLabel)));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(c.list) != FALSE; }));
    EXPECT_EQ(ListItems(c.list).size(), std::size(kResolutions));
    EXPECT_TRUE(FitsList(c.list, fontOf(control::ResolutionList)));
    ASSERT_TRUE(SelectItem(c.list, chosen.item));
    Click(c.applyButton);
    EXPECT_TRUE(WaitUntil([&] { return FieldsIn(path) == FieldBytes(chosen); }));
  });
  ExpectEndedCleanly(run);
  EXPECT_TRUE(FileHolds(path, Patched(image, chosen)));
}

// Application code reads and writes positions, sizes and font sizes in the stored form's units;
// only the windows and the fonts they draw with are scaled.
TEST_F(AtTheSystemScale, PropertiesKeepTheStoredUnits) {
  FormReport report;
  ASSERT_NO_FATAL_FAILURE(ReadFormReport(report, dpi_));
  const auto text = [](int value) { return std::to_string(value); };
  const auto centred = [&](int screen, int stored) {
    return text(MulDiv((screen - Scaled(stored, dpi_)) / 2, 96, dpi_));
  };
  const std::vector<std::string> expected = {
      "read 06010000 " + centred(GetSystemMetrics(SM_CXSCREEN), kStoredWindowWidth) + " " +
          centred(GetSystemMetrics(SM_CYSCREEN), kStoredWindowHeight) + " 315 316",
      "read 16016BD6 156 80 80 32",
      "read 16016C56 156 120 80 32",
      "read 16016C58 156 160 80 32",
      "read 16016C54 48 88 96 ",  // then the closed box's height, the system's own
      "read 16016C59 48 176 96 16",
      "written 16016BD6 10 20 100 40",
      "pixels 16016BD6 " + text(Scaled(10, dpi_)) + " " + text(Scaled(20, dpi_)) + " " +
          text(Scaled(100, dpi_)) + " " + text(Scaled(40, dpi_)),
  };
  ASSERT_EQ(report.lines.size(), expected.size() + 4);
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(report.lines[i].substr(0, expected[i].size()), expected[i]) << "line " << i;

  // A font given as a 9-point record (12 stored pixels), then written as 12 points (16): the
  // points and the record stay in stored units, the button draws it grown with the display.
  EXPECT_EQ(report.lines[expected.size() + 1],
            "font-size 16016C56 9 -12 " + text(-Scaled(12, dpi_)) + " 12 -16 " + text(-Scaled(16, dpi_)));

  // Written at the ends of the stored range, a position reads back as written while its window
  // stays where 16-bit coordinates reach.
  EXPECT_EQ(report.lines[expected.size() + 2],
            "limits 16016C58 32627 -32627 " + text(std::min(Scaled(32627, dpi_), 32627)) + " " +
                text(std::max(Scaled(-32627, dpi_), -32627)));

  // Stored in the form beyond what 16-bit pixels hold at this scale, a position reads back as
  // stored while its window stays where they reach.
  EXPECT_EQ(report.lines[expected.size() + 3],
            "stored-limits 16016C5A 22000 -22000 " + text(std::min(Scaled(22000, dpi_), 32627)) + " " +
                text(std::max(Scaled(-22000, dpi_), -32627)));

  // The list opens as high as a box given the stored minimum of 160 at this scale.
  const std::string& opened = report.lines[expected.size()];
  ASSERT_EQ(opened.rfind("opened 16016C54 ", 0), 0u) << opened;
  int listHeight = 0, referenceHeight = 0;
  ASSERT_EQ(std::sscanf(opened.c_str() + 16, "%d %d", &listHeight, &referenceHeight), 2) << opened;
  EXPECT_EQ(listHeight, referenceHeight) << opened;
}

}  // namespace
