#pragma once
// Drives the file or font dialog this process shows, from a second thread: waits for it, notes
// its title and the text of its file-name box, then either types a path and confirms, or
// cancels. A dialog still open ten seconds later (refusing the choice with a message box, say)
// is cancelled, so that a failing case ends instead of hanging.

#include <windows.h>

#include <string>

namespace forms::testing {

class DialogDriver {
 public:
  DialogDriver(std::wstring typed, bool confirm);
  ~DialogDriver() { Join(); }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  void Join();

  bool found = false;
  bool stuck = false;
  std::wstring title, fileName;
  LRESULT fileType = -1;  // the selected filter, 0-based

 private:
  static DWORD WINAPI Run(void* self);

  std::wstring typed_;
  bool confirm_;
  HANDLE thread_ = nullptr;
};

}  // namespace forms::testing
