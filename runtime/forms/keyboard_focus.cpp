#include "runtime/forms/keyboard_focus.h"

#include "runtime/core/runtime_request.h"
#include "runtime/forms/window_component.h"

namespace forms {
namespace {

// The nearest window unit above `window` with the given identifier.
WindowComponent* HoldingWindow(HWND window, uint32_t windowId) {
  const HWND desktop = GetDesktopWindow();
  for (HWND above = GetAncestor(window, GA_PARENT); above != nullptr && above != desktop;
       above = GetAncestor(above, GA_PARENT)) {
    auto* holder = dynamic_cast<WindowComponent*>(Component::FromWindow(above));
    if (holder != nullptr && holder->WindowId() == windowId) return holder;
  }
  return nullptr;
}

bool CanTakeFocus(HWND control) {
  return control != nullptr && IsWindowVisible(control) && IsWindowEnabled(control);
}

}  // namespace

void NoteFocus(HWND focused) {
  const HWND desktop = GetDesktopWindow();
  for (HWND at = focused; at != nullptr && at != desktop; at = GetAncestor(at, GA_PARENT)) {
    Component* unit = Component::FromWindow(at);
    if (unit == nullptr) continue;
    // The window itself holding the focus leaves its controls' turn as it was.
    if (dynamic_cast<WindowComponent*>(unit) != nullptr) return;
    if (WindowComponent* holder = HoldingWindow(at, unit->WindowId()))
      holder->RememberFocus(unit->UnitId());
    return;
  }
}

HWND FocusTarget(const WindowComponent& window) {
  const HWND top = window.Window();
  if (window.FocusUnit() != 0) {
    auto* unit = reinterpret_cast<Component*>(
        rt::LibraryRequest(rt::request::FindLiveObject, window.WindowId(), window.FocusUnit()));
    if (unit != nullptr && CanTakeFocus(unit->Window()) && IsChild(top, unit->Window()))
      return unit->Window();
  }
  // The system's own walk in tab order, as Tab takes it: enabled, visible tab stops only.
  const HWND first = GetNextDlgTabItem(top, nullptr, FALSE);
  if (first != nullptr && IsChild(top, first) && CanTakeFocus(first) &&
      (GetWindowLongPtrW(first, GWL_STYLE) & WS_TABSTOP) != 0)
    return first;
  return nullptr;
}

void InitializeKeyboardCues(HWND top) {
  SendMessageW(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

void ShowKeyboardCuesOnKey(HWND top, const MSG& msg) {
  WORD cues = 0;
  if (msg.message == WM_SYSKEYDOWN) {
    cues = UISF_HIDEFOCUS | UISF_HIDEACCEL;  // Alt, alone or with a mnemonic
  } else if (msg.message == WM_KEYDOWN) {
    switch (msg.wParam) {
      case VK_TAB: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        cues = UISF_HIDEFOCUS;
        break;
      default:
        break;
    }
  }
  // The system passes a change on to every control, and nothing when the cues show already.
  if (cues != 0) SendMessageW(top, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues), 0);
}

}  // namespace forms
