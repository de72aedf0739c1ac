#pragma once
// The length limit of an edit window counts bytes of its GBK text. The window's own limit
// (EM_LIMITTEXT) is set to the byte count, which no text within it has more UTF-16 units than
// (gbk_positions.h); the user's input that would take the text past it in bytes is refused
// here: a typed character whole (a line break's CR LF and both halves of a surrogate pair among
// them), a paste cut after the last whole character or line break that fits. As with the
// system's own limit, input that does not fit still replaces the selection, and what the
// application writes is not held to it.

#include <windows.h>

namespace forms {

// True when the message is input that must not reach the edit window as it is: dropped, or the
// part that fits already inserted.
bool InputPastGbkLimit(HWND edit, UINT message, WPARAM wParam);

// The same for an edit window that is no component of its own (a combo box's edit part): a
// procedure put in front of the window's own.
void KeepGbkInputLimit(HWND edit);

}  // namespace forms
