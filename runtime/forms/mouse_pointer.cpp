#include "runtime/forms/mouse_pointer.h"

#include "runtime/forms/component.h"
#include "runtime/forms/form_runtime.h"

namespace forms {

HCURSOR PointerFromData(std::span<const uint8_t> data) {
  if (data.size() < 4) return nullptr;  // the standard arrow
  const uint32_t shape = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
  static const LPCWSTR kShapes[] = {
      nullptr,                      // 0: the standard arrow
      MAKEINTRESOURCEW(32515),      // 1: cross
      MAKEINTRESOURCEW(32513),      // 2: text beam
      MAKEINTRESOURCEW(32641),      // 3: icon
      MAKEINTRESOURCEW(32646),      // 4: size all
      MAKEINTRESOURCEW(32643),      // 5: size north-east/south-west
      MAKEINTRESOURCEW(32645),      // 6: size north/south
      MAKEINTRESOURCEW(32642),      // 7: size north-west/south-east
      MAKEINTRESOURCEW(32644),      // 8: size west/east
      MAKEINTRESOURCEW(32516),      // 9: up arrow
      MAKEINTRESOURCEW(32514),      // 10: hourglass
      MAKEINTRESOURCEW(32648),      // 11: no
      MAKEINTRESOURCEW(32650),      // 12: arrow and hourglass
      MAKEINTRESOURCEW(32651),      // 13: arrow and question mark
      MAKEINTRESOURCEW(32649),      // 14: hand
  };
  if (shape >= sizeof kShapes / sizeof kShapes[0] || kShapes[shape] == nullptr) return nullptr;
  return LoadCursorW(nullptr, kShapes[shape]);
}

bool SetUnitPointer(HWND window, uint32_t windowId, uint32_t unitId, WPARAM wParam, LPARAM lParam) {
  // Over the frame and caption the system's sizing and moving pointers stay.
  if (LOWORD(lParam) != HTCLIENT) return false;
  const HWND under = reinterpret_cast<HWND>(wParam);
  if (under != window && !IsChild(window, under)) return false;
  // A component under the mouse answers for itself, and a control for its inner windows (a combo
  // box's edit part): the message they pass up through their parents reaches this window too,
  // which then leaves them the control's pointer or their own.
  for (HWND inner = under; inner != nullptr && inner != window; inner = GetParent(inner))
    if (Component::FromWindow(inner) != nullptr) return false;
  WindowTemplate* form = FindWindowTemplate(Forms().Windows(), windowId);
  const Unit* unit = form == nullptr ? nullptr : FindUnit(*form, unitId);
  if (unit == nullptr || unit->cursor == nullptr) return false;
  SetCursor(static_cast<HCURSOR>(unit->cursor));
  return true;
}

}  // namespace forms
