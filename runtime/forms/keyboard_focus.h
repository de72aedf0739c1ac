#pragma once
// The keyboard focus inside a loaded window, kept as the dialog manager keeps a dialog's: the
// control that had it when the window went inactive gets it back when the window is activated
// again (after a dialog or a message box, on switching back from another program), and the first
// tab stop gets it when there is none to give back. Also the keyboard cues: focus rectangles and
// mnemonics appear once the keyboard is used.

#include <windows.h>

namespace forms {

class WindowComponent;

// Notes that `focused` (a component's native window, or a window inside one such as a combo
// box's edit part) has the focus now, in the window unit that holds it.
void NoteFocus(HWND focused);

// Where the focus goes when the window is activated: the control it had last while that can
// still take the focus, else the first enabled, visible tab stop in tab order; null when neither.
HWND FocusTarget(const WindowComponent& window);

// The keyboard cues as the last input says (shown after a key, hidden after the mouse), for a
// window about to show.
void InitializeKeyboardCues(HWND top);
// Shows the cues for good once a navigation key or Alt reaches the window.
void ShowKeyboardCuesOnKey(HWND top, const MSG& msg);

}  // namespace forms
