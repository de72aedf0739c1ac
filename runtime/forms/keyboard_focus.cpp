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

// The component at or above `window`: the unit a focused inner window belongs to. Only this
// thread's windows hold components of this process.
Component* UnitAt(HWND window) {
  if (window == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
    return nullptr;
  const HWND desktop = GetDesktopWindow();
  for (HWND at = window; at != nullptr && at != desktop; at = GetAncestor(at, GA_PARENT))
    if (Component* unit = Component::FromWindow(at)) return unit;
  return nullptr;
}

// The window unit that keeps the focus of a component's own native window.
WindowComponent* WindowOf(HWND control) {
  Component* unit = Component::FromWindow(control);
  if (unit == nullptr) return nullptr;
  if (auto* window = dynamic_cast<WindowComponent*>(unit)) return window;
  return HoldingWindow(control, unit->WindowId());
}

// The system refuses the focus to a window that is hidden or disabled, or whose container is.
bool CanTakeFocus(HWND control, HWND top) {
  if (control == nullptr || !IsWindowVisible(control)) return false;
  for (HWND at = control; at != nullptr && at != top; at = GetAncestor(at, GA_PARENT))
    if (!IsWindowEnabled(at)) return false;
  return true;
}

bool HoldsFocus(HWND top) {
  const HWND focus = GetFocus();
  return focus != nullptr && IsChild(top, focus);
}

bool TryFocus(HWND control, HWND top) {
  if (!CanTakeFocus(control, top)) return false;
  SetFocus(control);
  return HoldsFocus(top);
}

bool IsPushButton(HWND control) {
  return control != nullptr &&
         (SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

// The window's deactivation takes the focus from it: another window has it, or none while this
// one is inactive or disabled.
bool LeftByDeactivation(HWND control, HWND next) {
  const HWND top = GetAncestor(control, GA_ROOT);
  if (next != nullptr && (next == top || IsChild(top, next))) return false;
  return next != nullptr || GetActiveWindow() != top || !IsWindowEnabled(top);
}

// The push buttons of one window unit, among all the windows below it.
struct ButtonSearch {
  uint32_t windowId;
  HWND found;
};
bool OfWindow(HWND child, uint32_t windowId) {
  const Component* unit = Component::FromWindow(child);
  return unit != nullptr && unit->WindowId() == windowId;
}

BOOL CALLBACK FindDefaultButton(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ButtonSearch*>(data);
  if (!OfWindow(child, search->windowId) || !Component::FromWindow(child)->IsDefaultButton()) return TRUE;
  search->found = child;
  return FALSE;
}

// Only the button type changes; alignment and the other style bits stay.
BOOL CALLBACK DrawAsDefaultOrNot(HWND child, LPARAM data) {
  const auto* enter = reinterpret_cast<ButtonSearch*>(data);
  if (!OfWindow(child, enter->windowId)) return TRUE;
  const LRESULT code = SendMessageW(child, WM_GETDLGCODE, 0, 0);
  const bool isDefault = (code & DLGC_DEFPUSHBUTTON) != 0;
  if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0 || isDefault == (child == enter->found))
    return TRUE;
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE)) & 0xFFFF & ~BS_TYPEMASK;
  SendMessageW(child, BM_SETSTYLE, style | (isDefault ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON), TRUE);
  return TRUE;
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

bool GiveFocusBack(const WindowComponent& window) {
  const HWND top = window.Window();
  if (window.FocusUnit() != 0) {
    auto* unit = reinterpret_cast<Component*>(
        rt::LibraryRequest(rt::request::FindLiveObject, window.WindowId(), window.FocusUnit()));
    if (unit != nullptr && IsChild(top, unit->Window()) && TryFocus(unit->Window(), top)) return true;
  }
  // The system's own walk in tab order, as Tab takes it: enabled, visible tab stops only.
  const HWND first = GetNextDlgTabItem(top, nullptr, FALSE);
  for (HWND at = first; at != nullptr && IsChild(top, at);) {
    if ((GetWindowLongPtrW(at, GWL_STYLE) & WS_TABSTOP) != 0 && TryFocus(at, top)) return true;
    at = GetNextDlgTabItem(top, at, FALSE);
    if (at == first) break;
  }
  return false;
}

FocusEvents FocusGained(HWND control, HWND previous) {
  FocusEvents events;
  Component* self = Component::FromWindow(control);
  // Back from an inner window of its own: the control had the focus all along. From an inner
  // window of another control: that one heard nothing of its loss.
  if (Component* from = UnitAt(previous); from != nullptr && from->Window() != previous) {
    if (from == self) events.gained = false;
    else events.lost[0] = from->Window();
  }
  if (WindowComponent* window = WindowOf(control)) {
    const HWND away = window->TakeSetAside();
    if (away == control) events.gained = false;
    else if (away != nullptr && away != events.lost[0]) events.lost[1] = away;
  }
  return events;
}

bool FocusLost(HWND control, HWND next) {
  if (next != nullptr && IsChild(control, next)) return false;  // into an inner window of its own
  if (!LeftByDeactivation(control, next)) return true;
  WindowComponent* window = WindowOf(control);
  if (window == nullptr) return true;
  window->SetAside(control);
  return false;
}

void WindowDeactivated(HWND focused) {
  Component* unit = UnitAt(focused);
  if (unit == nullptr || unit->Window() == focused) return;  // its own loss tells it
  if (WindowComponent* window = WindowOf(unit->Window())) window->SetAside(unit->Window());
}

HWND EnterButton(const WindowComponent& window) {
  const HWND top = window.Window();
  const HWND focus = GetFocus();
  if (focus != nullptr && IsChild(top, focus) && IsPushButton(focus)) return focus;
  ButtonSearch search = {window.WindowId(), nullptr};
  EnumChildWindows(top, &FindDefaultButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void ShowDefaultButton(HWND focused) {
  Component* unit = UnitAt(focused);
  WindowComponent* window = unit != nullptr ? WindowOf(unit->Window()) : nullptr;
  if (window == nullptr) return;
  ButtonSearch enter = {window->WindowId(), EnterButton(*window)};
  EnumChildWindows(window->Window(), &DrawAsDefaultOrNot, reinterpret_cast<LPARAM>(&enter));
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
