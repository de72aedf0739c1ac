#include "runtime/forms/unit_rebuild.h"

#include <cstdint>
#include <vector>

#include "runtime/core/runtime_request.h"
#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"

namespace forms {
namespace {

std::vector<uint8_t> CurrentDataOf(Component* object, CurrentDataFunction current) {
  std::vector<uint8_t> data;
  if (HGLOBAL block = current(object)) {
    if (const void* bytes = GlobalLock(block)) {
      const auto* first = static_cast<const uint8_t*>(bytes);
      data.assign(first, first + GlobalSize(block));
      GlobalUnlock(block);
    }
    GlobalFree(block);
  }
  return data;
}

void Replace(Unit& unit, Component* old, CurrentDataFunction current, CreateFunction create) {
  const HWND oldWindow = old->Window();
  const std::vector<uint8_t> data = CurrentDataOf(old, current);

  const LONG_PTR style = GetWindowLongPtrW(oldWindow, GWL_STYLE);
  const RECT rect = RectInParent(oldWindow);
  const HWND focus = GetFocus();
  const bool hadFocus = focus == oldWindow || IsChild(oldWindow, focus);
  CreateArguments args = {};
  args.typeData = data.data();
  args.typeDataLength = static_cast<uint32_t>(data.size());
  args.baseStyle = static_cast<uint32_t>(style & (WS_VISIBLE | WS_DISABLED | WS_TABSTOP));
  args.parent = (style & WS_CHILD) ? GetParent(oldWindow) : nullptr;
  args.controlId = static_cast<UINT_PTR>(GetDlgCtrlID(oldWindow));
  args.left = rect.left;
  args.top = rect.top;
  args.width = rect.right - rect.left;
  args.height = rect.bottom - rect.top;
  args.windowId = old->WindowId();
  args.unitId = old->UnitId();

  if (Component* fresh = create(args)) {
    unit.object = fresh;
    SetWindowPos(fresh->Window(), oldWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(oldWindow);  // the old object deletes itself with it
    if (hadFocus) SetFocus(fresh->Window());
  }
}

}  // namespace

void RebuildUnit(Unit& unit, const ComponentTypeRecord* type) {
  if (type == nullptr) return;
  const auto current = reinterpret_cast<CurrentDataFunction>(type->unitInterface(unit_code::CurrentData));
  const auto create = reinterpret_cast<CreateFunction>(type->unitInterface(unit_code::Create));
  if (current == nullptr || create == nullptr) return;

  // Handlers of the waiting messages run before dispatch is suspended: one may destroy the
  // window or rebuild this very unit, so the old object is taken only afterwards.
  rt::LibraryRequest(rt::request::SuspendEvents);
  if (Component* old = LiveObject(unit)) Replace(unit, old, current, create);
  rt::LibraryRequest(rt::request::ResumeEvents);
}

}  // namespace forms
