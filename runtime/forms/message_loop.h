#pragma once
// The message loop that runs the application once its start window is shown, and the idle
// callbacks that runtime components may hang on it.

#include <windows.h>

namespace forms {

using IdleCallback = void (*)(HWND window, void* argument);
void AddIdleCallback(HWND window, IdleCallback callback, void* argument);
void ClearIdleCallbacks();

// Returns when the quit message arrives, or at once when no window is loaded.
void RunMessageLoop();

}  // namespace forms
