#include "app/forms/main_form_ids.h"
#include "app/modules/launcher_handshake.h"
#include "app/modules/load_dialog_module.h"
#include "app/program.h"
#include "app/runtime_calls.h"

namespace app {
namespace {

// All floating-point exceptions masked and rounding to nearest: a division by zero gives an
// infinity instead of a trap.
void ResetFloatingPoint() { asm volatile("fninit"); }

}  // namespace

int32_t StartProgram() {
  services.OtherService(rt::other::InitialiseRuntime);
  ResetFloatingPoint();
  services.OtherService(rt::other::RegisterCleanup, &ReleaseGlobals);
  LoadDialogModuleInit();
  LauncherHandshake();
  services.LoadStartWindow(kMainFormId);  // the load-complete handler has run when it returns
  services.RunMessageLoop();
  return 0;
}

// The executable's file stays open: the runtime closes every file still open at exit.
void ReleaseGlobals() { ReleaseLoadDialogModule(); }

}  // namespace app
