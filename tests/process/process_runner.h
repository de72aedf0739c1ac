#pragma once
// Starts a program as a process, answers the error box it may show (reading its text through the
// window system first) and collects how it ended.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ErrorBox {
  bool shown = false;
  std::wstring caption;
  std::wstring text;
  bool errorIcon = false;
};

struct ProcessOutcome {
  bool ended = false;  // false: still running after the time limit (then terminated)
  DWORD exitCode = 0;
  ErrorBox box;
};

// Path of a program beside the running test program, or relative to it.
std::wstring BesideThisProgram(const std::wstring& relative);
std::wstring TempPath(const std::wstring& name);
std::vector<std::string> ReadLines(const std::wstring& path);

// Runs the command line; with a working directory when one is given. While waiting for the end,
// a message box of the process is read and confirmed with its OK button. An optional step runs
// once the process's first top-level window exists (for tests that poke the running program);
// the time limit counts from the start, and again from the end of that step.
struct RunOptions {
  std::wstring workingDirectory;
  DWORD timeLimitMs = 30000;
  void (*whileRunning)(DWORD processId) = nullptr;
  // With whileRunning: a process that has made no window this long after its start is ended
  // then (0: only the time limit applies).
  DWORD firstWindowLimitMs = 0;
  // False: a message box is left to the step, which may want to act while it is up.
  bool answerBoxes = true;
};
ProcessOutcome RunProcess(const std::wstring& commandLine, const RunOptions& options = {});

// What the screen shows in the area (in screen coordinates), read in one copy: 0x00RRGGBB
// pixels, row by row from the top; empty for an empty area.
std::vector<uint32_t> ScreenPixels(const RECT& area);

// Polls until done() holds or timeoutMs have passed; true when it held.
bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs);

// The top-level window of the process with this class, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className);
std::wstring WindowText(HWND window);
// The longest static text among a window's children: a message box's message.
std::wstring LongestStaticText(HWND window);
