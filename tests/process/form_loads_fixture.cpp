// A small application with a form of its own, started by the process tests: a second window
// loaded modally over the first, forms whose unit identifiers are damaged, a font property
// accessed by a sub-field that does not exist, and a transparent label given verdicts by a timer
// while a screen reader's stand-in watches. Its first argument names a scenario, its second a
// log file to which it appends what it sees.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/forms/form_writer.h"
#include "runtime/core/program_info.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/service_table.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/support_libraries.h"
#include "runtime/forms/window_loader.h"

namespace {

namespace sf = app::stored_form;

const rt::RuntimeServiceTable& services = RuntimeServices;
constexpr uint32_t kMainWindow = 0x52010001, kModalWindow = 0x52010002;
constexpr uint32_t kWindowUnit = 0x06010000, kButton = 0x16016C58, kLabel = 0x16016C59;

std::string logPath;

void Log(const std::string& line) {
  if (FILE* log = std::fopen(logPath.c_str(), "ab")) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
}

sf::WindowData Window(const char* title) {
  return {.version = 6, .borderStyle = 2, .pictureMode = 1, .backgroundColour = 0xFF000000,
          .maximizeBox = 0, .minimizeBox = 1, .controlBox = 1, .startPosition = 1, .closeBox = 1,
          .property14 = 0, .property21 = 0, .property22 = 1, .property23 = 0, .property25 = 0,
          .showInTaskBar = 1, .property27 = 0, .property28 = 0, .alwaysOnTop = 0,
          .property30 = 0, .className = "", .backgroundPicture = {}, .icon = {},
          .property13 = {}, .title = title, .property24 = ""};
}

sf::UnitDescription WindowUnit(const char* title) {
  return {.name = "", .id = kWindowUnit, .typeCode = sf::type_code::Window, .left = 50, .top = 50,
          .width = 240, .height = 160, .flags = sf::unit_flags::Visible, .events = {},
          .typeData = Window(title)};
}

sf::UnitDescription Button(uint32_t id) {
  return {.name = "按钮1", .id = id, .typeCode = sf::type_code::Button, .left = 8, .top = 8,
          .width = 80, .height = 32, .flags = sf::unit_flags::Visible, .events = {},
          .typeData = sf::ButtonData{.version = 1, .kind = 0, .horizontalAlignment = 1,
                                     .verticalAlignment = 1, .picture = {}, .font = {},
                                     .caption = "按钮"}};
}

sf::UnitDescription Label(const char* caption) {
  return {.name = "透明标签1", .id = kLabel, .typeCode = sf::type_code::TransparentLabel, .left = 8,
          .top = 48, .width = 200, .height = 24, .flags = sf::unit_flags::Visible, .events = {},
          .typeData = sf::TransparentLabelData{.version = 1, .textEffect = 0, .textColour = 0x0000FF,
                                               .horizontalAlignment = 0, .verticalAlignment = 1,
                                               .wordWrap = 0, .font = {}, .caption = caption}};
}

// The main window with a button and the units given, and a second window with the given units
// after its own.
std::vector<uint8_t> Form(std::vector<sf::UnitDescription> components,
                          std::vector<sf::UnitDescription> onMain = {}) {
  sf::WindowDescription main = {kMainWindow, 0, 0, 0, "", "", {WindowUnit("主窗口"), Button(kButton)}};
  for (sf::UnitDescription& unit : onMain) main.units.push_back(std::move(unit));
  sf::WindowDescription second = {kModalWindow, 0, 0, 0, "", "", {WindowUnit("模态窗口")}};
  for (sf::UnitDescription& unit : components) second.units.push_back(std::move(unit));
  return sf::WriteFormData({{main, second}});
}

std::vector<uint8_t> formData;

const rt::SupportLibrary* const kLibraries[] = {&forms::kStandardLibrary,
                                                &forms::kTransparentLabelLibrary};
const char kConstants[] = "";

// The form is chosen by the scenario before the runtime reads it.
rt::ProgramInfoBlock info = {3, 0, 0, nullptr, kConstants, sizeof kConstants, nullptr, 0, 2,
                             kLibraries, 0, nullptr, nullptr};

HWND LiveWindow(uint32_t windowId) {
  auto* live = static_cast<forms::Component*>(forms::Forms().FindLiveObject(windowId, 0));
  return live != nullptr ? live->Window() : nullptr;
}

// The label's verdicts, each written on six ticks in a row once the test has set its go event (the
// first is the caption the label starts with). Then the label raises kScriptDone, an event of the
// range kept for applications, so that the watcher knows every earlier event has reached it.
const char* const kVerdicts[] = {"请加载tovrex.exe", "通过！", "未通过，可能不是导演剪辑版"};
constexpr int kTicksPerVerdict = 6;
constexpr DWORD kScriptDone = EVENT_AIA_START;
HANDLE goEvent = nullptr;
int ticks = 0;

void CALLBACK WriteVerdict(HWND, UINT, UINT_PTR timer, DWORD) {
  if (ticks == 0 && WaitForSingleObject(goEvent, 0) != WAIT_OBJECT_0) return;
  const int verdict = ticks++ / kTicksPerVerdict;
  if (verdict < static_cast<int>(std::size(kVerdicts))) {
    services.WriteProperty(kMainWindow, kLabel, 8, -1, reinterpret_cast<uint32_t>(kVerdicts[verdict]), 0);
    return;
  }
  KillTimer(nullptr, timer);
  auto* label = static_cast<forms::Component*>(forms::Forms().FindLiveObject(kMainWindow, kLabel));
  NotifyWinEvent(kScriptDone, label->Window(), OBJID_CLIENT, CHILDID_SELF);
  Log("verdicts written");
}

int32_t FixtureStart() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring wideScenario = argc >= 2 ? argv[1] : L"";
  const std::wstring wideLog = argc >= 3 ? argv[2] : L"";
  LocalFree(argv);
  const std::string scenario(wideScenario.begin(), wideScenario.end());
  logPath.assign(wideLog.begin(), wideLog.end());

  if (scenario == "duplicate-id") formData = Form({Button(kButton), Button(kButton)});
  else if (scenario == "invalid-id") formData = Form({Button(0x10016C58)});
  else if (scenario == "verdicts") formData = Form({}, {Label(kVerdicts[0])});
  else formData = Form({Button(kButton)});
  info.formData = formData.data();
  info.formDataLength = static_cast<uint32_t>(formData.size());

  services.OtherService(rt::other::InitialiseRuntime);
  Log("started");
  // A button's font (13) read or written with the selector the scenario names.
  int selector = 0;
  char access[8] = {};
  if (std::sscanf(scenario.c_str(), "font-%5[a-z]:%d", access, &selector) == 2) {
    services.LoadStartWindow(kMainWindow);
    if (std::strcmp(access, "read") == 0) {
      services.ReadProperty(kMainWindow, kButton, 13, selector);
    } else {
      services.WriteProperty(kMainWindow, kButton, 13, selector, 0x12345678, 0);
    }
    Log("no error");
  }
  if (scenario == "verdicts") {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    goEvent = count >= 4 ? OpenEventW(SYNCHRONIZE, FALSE, arguments[3]) : nullptr;
    LocalFree(arguments);
    services.LoadStartWindow(kMainWindow);
    SetTimer(nullptr, 0, 20, &WriteVerdict);
    services.RunMessageLoop();
  }
  if (scenario == "modal") {
    services.LoadStartWindow(kMainWindow);
    forms::WindowTemplate* modal = forms::FindWindowTemplate(forms::Forms().Windows(), kModalWindow);
    if (modal == nullptr || !forms::LoadWindow(*modal, 1, true, nullptr)) {
      Log("modal load failed");
      return 0;
    }
    const HWND owner = GetWindow(LiveWindow(kModalWindow), GW_OWNER);
    Log(std::string("owner ") +
        (owner == nullptr ? "none"
         : owner == static_cast<HWND>(rt::Runtime().HiddenOwnerWindow()) ? "the hidden owner"
                                                                         : "another window"));
    Log(std::string("main window ") + (IsWindowEnabled(LiveWindow(kMainWindow)) ? "enabled" : "disabled"));
  }
  return 0;
}

}  // namespace

const rt::ProgramImage rt::kApplicationImage = {&info, FixtureStart};
