// The tool's stored form and runtime in a fixture process, started by the process tests to show
// each fault of the form runtime as its user would meet it: the error box, then the end.
// Built twice: as form_fixture, and with its form data cut short as truncated_form_fixture.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/forms/form_data.h"
#include "app/forms/main_form_ids.h"
#include "app/handler_table.h"
#include "runtime/core/program_info.h"
#include "runtime/core/runtime_request.h"
#include "runtime/core/service_table.h"
#include "runtime/forms/event_record.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/support_libraries.h"

namespace {

const rt::RuntimeServiceTable& services = RuntimeServices;
constexpr uint32_t kNoSuchWindow = 0x52010002;

std::string Scenario() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring wide = argc >= 2 ? argv[1] : L"";
  LocalFree(argv);
  return std::string(wide.begin(), wide.end());
}

void Raise(uint32_t windowId, uint32_t unitId) {
  forms::EventRecord record = {windowId, unitId, 0, 0, {}, 0, 0};
  rt::LibraryRequest(rt::request::RaiseEvent, reinterpret_cast<uint32_t>(&record));
}

int32_t FixtureStart() {
  services.OtherService(rt::other::InitialiseRuntime);
  const std::string scenario = Scenario();
  if (scenario == "own-before-load") {
    services.ReadProperty(app::kMainFormId, app::unit::TransparentLabel1, 8, -1);
  } else if (scenario == "unknown-window") {
    services.WriteProperty(kNoSuchWindow, app::unit::ComboBox1, 6, -1, 0, 0);
  } else if (scenario == "absent-component") {
    rt::LibraryRequest(rt::request::RequireLiveObject, app::kMainFormId, app::unit::ComboBox1);
  } else if (scenario == "event-unknown-window") {
    Raise(kNoSuchWindow, 0);
  } else if (scenario == "event-unknown-unit") {
    Raise(app::kMainFormId, 0x16019999);
  } else if (scenario == "event-invalid-type") {
    forms::Forms().Windows()[0]->units[1].typeCode = 0x00010002;  // a type this build lacks
    Raise(app::kMainFormId, app::unit::Timer1);
  } else if (scenario == "start-unknown") {
    services.LoadStartWindow(kNoSuchWindow);
  }
  return 0;
}

const rt::SupportLibrary* const kLibraries[] = {&forms::kStandardLibrary,
                                                &forms::kTransparentLabelLibrary};
const char kConstants[] = "";

#ifdef TRUNCATED_FORM
constexpr uint32_t kFormDataLength = app::kMainFormDataLength / 2;
#else
constexpr uint32_t kFormDataLength = app::kMainFormDataLength;
#endif

const rt::ProgramInfoBlock kInfo = {
    3, 0, 0, &app::kHandlerTable, kConstants, sizeof kConstants, app::kMainFormData,
    kFormDataLength, 2, kLibraries, 0, nullptr, nullptr,
};

}  // namespace

const rt::ProgramImage rt::kApplicationImage = {&kInfo, FixtureStart};
