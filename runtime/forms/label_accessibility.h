#pragma once
// What a transparent label shows assistive technology: an object of role static text named by
// its caption, answered through WM_GETOBJECT, and word of each change of the caption (a name
// change and a live-region change), with the label marked as a polite live region where the
// system's annotation service has it. The accessibility library is bound at first use, never at
// start-up.

#include <windows.h>

namespace forms {

// The answer to WM_GETOBJECT for the label's client area; false for every other object, and
// where the system has no accessibility library (the default answer then stands).
bool AnswerAccessibleObject(HWND label, WPARAM flags, LPARAM objectId, LRESULT& result);

// Tells assistive technology that the caption shown has changed. The first call for a label
// marks it as a polite live region (markedLive notes that).
void AnnounceCaptionChange(HWND label, bool& markedLive);

// Takes a marked label's annotation away as its window goes.
void ForgetLiveRegion(HWND label);

}  // namespace forms
