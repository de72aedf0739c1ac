#include "runtime/forms/form_runtime.h"

#include "runtime/core/error_reporter.h"
#include "runtime/core/never_destroyed.h"
#include "runtime/core/runtime_app.h"
#include "runtime/core/runtime_request.h"
#include "runtime/forms/component.h"
#include "runtime/forms/event_routing.h"
#include "runtime/forms/form_reader.h"
#include "runtime/forms/message_loop.h"
#include "runtime/forms/property_access.h"
#include "runtime/forms/type_lookup.h"
#include "runtime/forms/window_loader.h"

namespace forms {
namespace {

void EnableWhatAModalLoadDisabled(WindowTemplate& window) {
  for (void* disabled : window.disabledByModal)
    if (IsWindow(static_cast<HWND>(disabled))) EnableWindow(static_cast<HWND>(disabled), TRUE);
  window.disabledByModal.clear();
}

}  // namespace

Component* LiveObject(const Unit& unit) {
  return unit.object != nullptr && unit.object->IsLive() ? unit.object : nullptr;
}

Unit* FindUnit(WindowTemplate& window, uint32_t unitId) {
  if (unitId == 0) return window.units.empty() ? nullptr : &window.units[0];
  return UnitRecordById(window, unitId).unit;
}

bool FormRuntime::ReadFormData(const uint8_t* block, uint32_t length, const void* codeBase) {
  return forms::ReadFormData(block, length, static_cast<const HandlerTable*>(codeBase), windows_);
}

void FormRuntime::LoadStartWindow(uint32_t windowId) {
  WindowTemplate* window = FindWindowTemplate(windows_, windowId);
  if (window == nullptr || !LoadWindow(*window, 0, false, nullptr)) rt::Report("载入启动窗口失败", 0);
}

void FormRuntime::RunMessageLoop() { forms::RunMessageLoop(); }

uint64_t FormRuntime::ReadProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                                   int32_t selector) {
  return forms::ReadProperty(windows_, windowId, unitId, index, selector);
}

void FormRuntime::WriteProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                                int32_t selector, uint32_t low, uint32_t high) {
  forms::WriteProperty(windows_, windowId, unitId, index, selector, low, high);
}

void* FormRuntime::FindLiveObject(uint32_t windowId, uint32_t unitId) {
  WindowTemplate* window = FindWindowTemplate(windows_, windowId);
  const Unit* unit = window == nullptr ? nullptr : FindUnit(*window, unitId);
  return unit == nullptr ? nullptr : LiveObject(*unit);
}

int32_t FormRuntime::Request(int32_t code, uint32_t value1, uint32_t value2) {
  switch (code) {
    case rt::request::FindComponentType:
      return static_cast<int32_t>(
          reinterpret_cast<uint32_t>(FindComponentType(rt::Runtime().Libraries(), value1)));
    case rt::request::UnitDestroyed:
      UnitDestroyed(value1, value2);
      return 0;
    case rt::request::RaiseEvent:
      return DispatchEvent(windows_, *reinterpret_cast<EventRecord*>(value1));
    case rt::request::WindowClosing:
      if (WindowTemplate* window = FindWindowTemplate(windows_, value1))
        EnableWhatAModalLoadDisabled(*window);
      return 0;
    default:
      return 0;
  }
}

void FormRuntime::UnitDestroyed(uint32_t windowId, uint32_t unitId) {
  WindowTemplate* window = FindWindowTemplate(windows_, windowId);
  Unit* unit = window == nullptr ? nullptr : FindUnit(*window, unitId);
  if (unit == nullptr) return;
  // The slot forgets an object whose window is gone; a rebuilt unit already holds its successor.
  if (unit->object != nullptr && !unit->object->IsLive()) unit->object = nullptr;
  if (unit != &window->units[0]) return;

  // The window itself is gone: its units' pointers go with it (shared system pointers, which are
  // never destroyed), and the windows a modal load disabled come back if closing the window did
  // not bring them back already.
  for (Unit& each : window->units) each.cursor = nullptr;
  EnableWhatAModalLoadDisabled(*window);
  window->modal = false;
  window->loaded = false;
  if (!AnyWindowLoaded() && rt::Runtime().LoopStarted()) PostQuitMessage(0);
}

bool FormRuntime::AnyWindowLoaded() const {
  for (const auto& window : windows_)
    if (!window->units.empty() && LiveObject(window->units[0]) != nullptr) return true;
  return false;
}

void FormRuntime::ClearIdleCallbacks() { forms::ClearIdleCallbacks(); }

void FormRuntime::ClearWindowList() {
  // Windows still loaded at shut-down are destroyed first, so that no component outlives the
  // descriptions it points into.
  for (const auto& window : windows_)
    if (!window->units.empty())
      if (Component* live = LiveObject(window->units[0])) DestroyWindow(live->Window());
  windows_.clear();
}

namespace {
// Never destroyed: the shut-down sequence, not the destruction of static objects, ends the
// windows it describes.
constinit rt::NeverDestroyed<FormRuntime> forms;
}  // namespace

FormRuntime& Forms() { return forms.object; }

void InstallFormRuntime() { rt::InstallWindowRuntime(&Forms()); }

}  // namespace forms
