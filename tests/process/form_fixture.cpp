// The tool's stored form and runtime in a fixture process, started by the process tests to show
// each fault of the form runtime as its user would meet it: the error box, then the end; and by
// the display-scale tests to report the units positions and sizes are read and written in.
// Built twice: as form_fixture, and with its form data cut short as truncated_form_fixture.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/forms/form_data.h"
#include "app/forms/main_form_ids.h"
#include "app/handler_table.h"
#include "runtime/core/memory.h"
#include "runtime/core/program_info.h"
#include "runtime/core/runtime_request.h"
#include "runtime/core/service_table.h"
#include "runtime/core/values.h"
#include "runtime/forms/component.h"
#include "runtime/forms/event_record.h"
#include "runtime/forms/form_runtime.h"
#include "runtime/forms/support_libraries.h"

namespace {

const rt::RuntimeServiceTable& services = RuntimeServices;
constexpr uint32_t kNoSuchWindow = 0x52010002;

std::wstring Argument(int index) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring wide = argc > index ? argv[index] : L"";
  LocalFree(argv);
  return wide;
}

std::string Scenario() {
  const std::wstring wide = Argument(1);
  return std::string(wide.begin(), wide.end());
}

// Left, top, width and height of a unit as the application reads them.
void PrintGeometry(FILE* out, const char* what, uint32_t unitId) {
  std::fprintf(out, "%s %08X", what, unitId);
  for (int32_t index = 0; index < 4; ++index)
    std::fprintf(out, " %d",
                 static_cast<int32_t>(services.ReadProperty(app::kMainFormId, unitId, index, -1)));
  std::fprintf(out, "\n");
}

// The height of the font a unit's window draws with, in its pixels.
long LiveFontHeight(uint32_t unitId) {
  const forms::Unit* unit = forms::FindUnit(*forms::Forms().Windows()[0], unitId);
  LOGFONTW font = {};
  if (unit != nullptr && unit->object != nullptr)
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(unit->object->Window(), WM_GETFONT, 0, 0)),
               sizeof font, &font);
  return font.lfHeight;
}

// The height the font record of a unit's font property holds.
long RecordHeight(uint32_t unitId, int32_t index) {
  auto* whole = reinterpret_cast<rt::ByteSetHeader*>(
      static_cast<uint32_t>(services.ReadProperty(app::kMainFormId, unitId, index, -1)));
  LOGFONTA font = {};
  if (rt::ByteSetLength(whole) == sizeof font) std::memcpy(&font, rt::ByteSetData(whole), sizeof font);
  rt::Free(whole);
  return font.lfHeight;
}

// A 9-point font (12 pixels at 96 DPI) given to a button as a whole record, then its size in
// points written: the points read, the record's height and the height the button draws with.
void ReportStoredFont(FILE* out) {
  constexpr int32_t kFont = 13;  // a button's font property
  LOGFONTA font = {};
  font.lfHeight = -12;
  font.lfWeight = FW_NORMAL;
  std::strcpy(font.lfFaceName, "Tahoma");
  rt::ByteSet record = rt::MakeByteSet(&font, sizeof font);
  services.WriteProperty(app::kMainFormId, app::unit::Button6, kFont, -1, reinterpret_cast<uint32_t>(record), 0);
  rt::Free(record);
  std::fprintf(out, "font-size %08X", app::unit::Button6);
  for (const int32_t points : {0, 12}) {
    if (points != 0) services.WriteProperty(app::kMainFormId, app::unit::Button6, kFont, 5, points, 0);
    std::fprintf(out, " %d %ld %ld",
                 static_cast<int32_t>(services.ReadProperty(app::kMainFormId, app::unit::Button6, kFont, 5)),
                 RecordHeight(app::unit::Button6, kFont), LiveFontHeight(app::unit::Button6));
  }
  std::fprintf(out, "\n");
}

// A unit's position as read, then as its window has it.
void PrintPlace(FILE* out, const char* what, uint32_t unitId) {
  const forms::Unit* unit = forms::FindUnit(*forms::Forms().Windows()[0], unitId);
  RECT rect = {};
  if (unit != nullptr && unit->object != nullptr) {
    const HWND window = unit->object->Window();
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  }
  std::fprintf(out, "%s %08X %d %d %ld %ld\n", what, unitId,
               static_cast<int32_t>(services.ReadProperty(app::kMainFormId, unitId, 0, -1)),
               static_cast<int32_t>(services.ReadProperty(app::kMainFormId, unitId, 1, -1)), rect.left,
               rect.top);
}

// A button moved to the far ends of the stored range: the positions read, and its window's.
void ReportCoordinateLimits(FILE* out) {
  services.WriteProperty(app::kMainFormId, app::unit::Button2, 0, -1, 32627, 0);
  services.WriteProperty(app::kMainFormId, app::unit::Button2, 1, -1, static_cast<uint32_t>(-32627), 0);
  PrintPlace(out, "limits", app::unit::Button2);
}

// The main form loaded with the application's handlers held back: what its units' positions
// and sizes read, then a button moved and resized by writes, read back and as its window has it;
// then the open list's height and the fonts of the visible controls; then a font given to a
// button, a button moved to the ends of the stored range, and a place stored beyond them.
void ReportStoredUnits(const std::wstring& path, const std::wstring& referenceHeight) {
  FILE* out = _wfopen(path.c_str(), L"w");
  if (out == nullptr) return;
  rt::LibraryRequest(rt::request::SuspendEvents);
  // Stored before the load, where 16-bit pixels cannot follow it at a larger scale: on the hidden
  // edit box, which no other line reports.
  services.WriteProperty(app::kMainFormId, app::unit::EditBox1, 0, -1, 22000, 0);
  services.WriteProperty(app::kMainFormId, app::unit::EditBox1, 1, -1, static_cast<uint32_t>(-22000), 0);
  services.LoadStartWindow(app::kMainFormId);
  for (uint32_t unitId : {app::unit::MainForm, app::unit::Button1, app::unit::Button6,
                          app::unit::Button2, app::unit::ComboBox1, app::unit::TransparentLabel1})
    PrintGeometry(out, "read", unitId);
  const int32_t written[4] = {10, 20, 100, 40};
  for (int32_t index = 0; index < 4; ++index)
    services.WriteProperty(app::kMainFormId, app::unit::Button1, index, -1,
                           static_cast<uint32_t>(written[index]), 0);
  PrintGeometry(out, "written", app::unit::Button1);
  const forms::Unit* button = forms::FindUnit(*forms::Forms().Windows()[0], app::unit::Button1);
  RECT rect = {};
  if (button != nullptr && button->object != nullptr) {
    const HWND window = button->object->Window();
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  }
  std::fprintf(out, "pixels %08X %ld %ld %ld %ld\n", app::unit::Button1, rect.left, rect.top,
               rect.right - rect.left, rect.bottom - rect.top);
  // How high the list opens, beside a box of the same kind and font made here with the height
  // the caller names: the system measures the open list in its own way.
  if (const forms::Unit* list = forms::FindUnit(*forms::Forms().Windows()[0], app::unit::ComboBox1);
      list != nullptr && list->object != nullptr) {
    const HWND box = list->object->Window();
    const HWND reference = CreateWindowExW(
        0, L"COMBOBOX", L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 100,
        _wtoi(referenceHeight.c_str()), GetParent(box), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(reference, WM_SETFONT, SendMessageW(box, WM_GETFONT, 0, 0), FALSE);
    RECT opened = {}, expected = {};
    SendMessageW(box, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&opened));
    SendMessageW(reference, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&expected));
    std::fprintf(out, "opened %08X %ld %ld\n", app::unit::ComboBox1, opened.bottom - opened.top,
                 expected.bottom - expected.top);
    DestroyWindow(reference);
  }
  // The font each visible control draws with, as its description's bytes: another process
  // cannot read a font of this one, but can make the same font from them.
  for (uint32_t unitId : {app::unit::Button1, app::unit::Button6, app::unit::Button2,
                          app::unit::ComboBox1, app::unit::TransparentLabel1}) {
    const forms::Unit* unit = forms::FindUnit(*forms::Forms().Windows()[0], unitId);
    LOGFONTW font = {};
    if (unit != nullptr && unit->object != nullptr)
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(unit->object->Window(), WM_GETFONT, 0, 0)),
                 sizeof font, &font);
    std::fprintf(out, "font %08X ", unitId);
    for (size_t i = 0; i < sizeof font; ++i)
      std::fprintf(out, "%02X", reinterpret_cast<const uint8_t*>(&font)[i]);
    std::fprintf(out, "\n");
  }
  ReportStoredFont(out);
  ReportCoordinateLimits(out);
  PrintPlace(out, "stored-limits", app::unit::EditBox1);
  std::fclose(out);
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
  } else if (scenario == "stored-units") {
    ReportStoredUnits(Argument(2), Argument(3));
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
