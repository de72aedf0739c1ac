#pragma once
// A path typed into the tool's open-file dialog that the dialog may refuse: what the dialog did,
// the message it showed if any, and the dialog closed again either way.

#include <string>
#include <vector>

#include "tool_driver.h"

namespace reliability {

struct DialogAttempt {
  bool shown = false;     // the dialog came up
  bool handled = false;   // the confirmation was handled in time
  bool accepted = false;  // it took the path and closed
  std::wstring message;   // the text of a message box it showed over itself, if any
  bool closed = false;    // no dialog of the tool is left open
};

DialogAttempt TypeIntoOpenDialog(const e2e::MainWindow& main, const std::wstring& path);

using e2e::DialogWindows;
// The longest static text of a dialog: a message box's message.
std::wstring DialogMessage(HWND dialog);

}  // namespace reliability
