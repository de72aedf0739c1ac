#pragma once
// Drives the file or font dialog this process shows, from a second thread: waits for it to be
// ready, notes its title and the text of its file-name box, then acts on it and confirms or
// cancels. A dialog still open afterwards (refusing the choice with a message box, say) is
// cancelled, so that a failing case ends instead of hanging; `waitedFor` names what did not come.

#include <windows.h>

#include <string>

namespace forms::testing {

constexpr int kControlFileName = 0x47C;   // the file dialog's file-name box
constexpr int kControlFileType = 0x470;   // the file dialog's file-type list
constexpr int kControlFontSize = 0x472;   // the font dialog's size box
constexpr int kControlUnderline = 0x411;  // the font dialog's underline box

// What the driver does with the dialog once it is ready.
struct DialogAction {
  int readyControl;        // the dialog is ready once this control exists
  bool confirm;            // IDOK, or IDCANCEL
  std::wstring typed;      // put into the file-name box before confirming, when not empty
  std::wstring fontSize;   // chosen in the font dialog's size list, when not empty
  bool underline = false;  // tick the font dialog's underline box
};

class DialogDriver {
 public:
  explicit DialogDriver(DialogAction action);
  DialogDriver(std::wstring typed, bool confirm)
      : DialogDriver(DialogAction{kControlFileName, confirm, std::move(typed), L"", false}) {}
  ~DialogDriver() { Join(); }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  void Join();

  bool found = false;
  bool stuck = false;
  std::string waitedFor;  // empty when every wait ended in time
  std::wstring title, fileName;
  LRESULT fileType = -1;  // the selected filter, 0-based

 private:
  static DWORD WINAPI Run(void* self);

  DialogAction action_;
  HANDLE thread_ = nullptr;
};

}  // namespace forms::testing
