#pragma once
// The keyboard focus inside a loaded window, kept as the dialog manager keeps a dialog's: the
// control that had it when the window went inactive gets it back when the window is activated
// again (after a dialog or a message box, on switching back from another program), and the first
// tab stop gets it when there is none to give back. That round trip is no focus change for the
// control: it hears neither -8 nor -9 for it. Also the default button, which follows the focus as
// in a dialog, and the keyboard cues: focus rectangles and mnemonics appear once the keyboard is
// used.

#include <windows.h>

namespace forms {

class WindowComponent;

// Notes that `focused` (a component's native window, or a window inside one such as a combo
// box's edit part) has the focus now, in the window unit that holds it.
void NoteFocus(HWND focused);

// Gives the focus back on activation: to the control that had it last, else to the first tab
// stop that takes it. False when none took it, which leaves the focus to the window's default
// handling.
bool GiveFocusBack(const WindowComponent& window);

// The focus events a change of the focus owes, for a component's own native window `control`:
// gaining it from `previous`, or losing it to `next`. A control that loses the focus only because
// its window went inactive (or was disabled for a modal window or a box) is set aside instead of
// told; if the focus comes back to it, it never lost it as far as its window goes.
struct FocusEvents {
  HWND lost[2] = {};   // controls owed -8 first, whose loss the window had not told yet
  bool gained = true;  // the control is owed -9
};
FocusEvents FocusGained(HWND control, HWND previous);
// True when the control is owed -8 now.
bool FocusLost(HWND control, HWND next);
// The window goes inactive: a control whose focus sits in an inner window of its own (the edit
// part of a combo box) hears nothing of its loss, so it is set aside here.
void WindowDeactivated(HWND focused);

// The button Enter presses in a window: the focused push button, else the button stored as the
// window's default while it exists; null when neither.
HWND EnterButton(const WindowComponent& window);
// Draws the Enter button of the window that holds `focused` as the default, and no other.
void ShowDefaultButton(HWND focused);

// The keyboard cues as the last input says (shown after a key, hidden after the mouse), for a
// window about to show.
void InitializeKeyboardCues(HWND top);
// Shows the cues for good once a navigation key or Alt reaches the window.
void ShowKeyboardCuesOnKey(HWND top, const MSG& msg);

}  // namespace forms
