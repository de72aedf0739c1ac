#pragma once
// Drives the real quenmire-res.exe from this process through its window, as its user would:
// posted clicks, the system's open-file dialog, the list's selection, the label read back as
// text and as ink on the screen. Also makes and reads the files it works on.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "process_runner.h"

namespace e2e {

// The main window's controls, by identifier (given in creation order).
namespace control {
inline constexpr int LoadButton = 110;
inline constexpr int ResolutionList = 120;
inline constexpr int ReadButton = 130;
inline constexpr int ApplyButton = 140;
inline constexpr int VerdictLabel = 150;
inline constexpr int SignatureBox = 160;
}  // namespace control

// The open-file dialog's file-name box (cmb13) and file-type list (cmb1).
inline constexpr int kFileNameBox = 0x47C;
inline constexpr int kFileTypeList = 0x470;

struct MainWindow {
  DWORD processId;
  HWND window;
  // The child with this identifier, or null when there is none or it is of another class.
  HWND Control(int id, const wchar_t* className) const;
};

// The controls the user works, and the hidden box that holds the signature read last.
struct MainControls {
  HWND loadButton, list, readButton, applyButton, label, signatureBox;
  bool AllFound() const {
    return loadButton && list && readButton && applyButton && label && signatureBox;
  }
};
MainControls ControlsOf(const MainWindow& main);

// How long RunTool waits for the main window; without one the tool is ended at once, with this
// exit code, and windowShown stays false.
inline constexpr DWORD kMainWindowWaitMs = 15000;
inline constexpr UINT kNoWindowExitCode = 0xBAD0;

struct ToolRun {
  bool windowShown = false;
  ProcessOutcome outcome;
};

// The tool as built.
std::wstring BuiltTool();

// Starts the program, waits for its main window, lets drive work it, then closes the window
// with WM_CLOSE, also when drive stopped early at a failed assertion (an open-file dialog left
// open is cancelled first). A message box that the program shows when drive returns is not
// closed under it: the runner reads it into the outcome and confirms it.
ToolRun RunTool(const std::wstring& program, const std::function<void(const MainWindow&)>& drive,
                const std::wstring& workingDirectory = {});

// Polls until done() holds or the time is up; true when it held. The default bound only ends a
// wait gone wrong: under emulation on a busy machine, a first dialog can take many seconds.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);

void Click(HWND button);
// Posted messages of one thread are handled in order: everything posted to the tool's window
// thread before this call has been handled once a selection posted to the list shows. The
// list's selection is put back afterwards. False when the marker was not handled in time.
bool PostedMessagesHandled(HWND list);
// Clicks, then waits until the click has been handled (see PostedMessagesHandled).
bool ClickAndWaitHandled(HWND button, HWND list);

// Replaces a control's text, as typing into it would.
void PutText(HWND control, const std::wstring& text);

std::vector<std::wstring> ListItems(HWND list);
bool SelectItem(HWND list, const std::wstring& text);

// Clicks the load button and waits for the open-file dialog to be ready; null when none shows.
// fileTypes receives the dialog's file-type list as it was shown.
HWND OpenLoadDialog(const MainWindow& main, std::vector<std::wstring>* fileTypes = nullptr);
// Types the path into the dialog's file-name box, then confirms or cancels the dialog; true once
// the dialog has closed.
bool ConfirmDialog(HWND dialog, const std::wstring& path);
bool CancelDialog(HWND dialog, const std::wstring& typedPath = {});
// Both steps: the file is the tool's from now on.
bool LoadThroughDialog(const MainWindow& main, const std::wstring& path,
                       std::vector<std::wstring>* fileTypes = nullptr);
// Moves a top-level window above or below the control, so that the control's pixels show.
void MoveClearOf(HWND window, HWND control);

// The label is rewritten on every tick of the tool's timer. A marker put into its window text
// (the tool keeps the caption it wrote apart, so the marker changes nothing the tick looks at)
// is gone once the next tick has run: true when that happened in time.
bool NextTick(HWND label);

// The process's visible top-level windows: its main window, dialogs, boxes.
std::set<HWND> VisibleWindowsOf(DWORD processId);
// The process's dialog-class windows (the open dialog, message boxes); by default only the
// visible ones. A dialog is made before it shows: a handler that has run has made its dialogs.
std::vector<HWND> DialogWindows(DWORD processId, bool visibleOnly = true);
// The process's visible message box (a dialog without a file-name box), or null.
HWND ShownMessageBox(DWORD processId);
// The process's open-file dialog once its file-name box is there, or null.
HWND ShownOpenDialog(DWORD processId);

// The colour of the glyphs drawn in the label's area, read from the screen. Glyph edges are
// blended with the background, so pixels are sorted by their dominant hue rather than compared
// with the text colour.
enum class Ink { None, Black, Green, Red, Mixed };
const char* InkName(Ink ink);
Ink InkOf(HWND control);

// An empty folder under the temporary folder, removed with what it holds at the end.
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::wstring& name);
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& fileName) const { return path_ + L"\\" + fileName; }

 private:
  void Empty() const;
  std::wstring path_;
};

// Files, read and written with every sharing mode, as the tool keeps its file open.
HANDLE OpenShared(const std::wstring& path, DWORD access, DWORD disposition);
bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadWholeFile(const std::wstring& path);
std::vector<uint8_t> ReadFileBytes(const std::wstring& path, uint32_t offset, uint32_t count);
FILETIME LastWriteTime(const std::wstring& path);
// The offset of the first byte where the two differ, or -1 when they are equal.
int64_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

}  // namespace e2e
