// The process entry, in the place of an application framework: the runtime object is built among
// the static initialisers, AppStart runs the application, AppExit ends it, and the static
// destructors run on the way out of the process.

#include <windows.h>

#include "runtime/core/program_info.h"
#include "runtime/core/runtime_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  rt::RuntimeApplication& runtime = rt::Runtime();
  runtime.AppStart(rt::kApplicationImage);  // returns 0: the framework runs no loop of its own
  return runtime.AppExit();
}
