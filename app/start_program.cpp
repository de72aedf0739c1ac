#include "app/forms/main_form_ids.h"
#include "app/program.h"
#include "runtime/core/service_table.h"

namespace app {
namespace {

const rt::RuntimeServiceTable& services = RuntimeServices;

// All floating-point exceptions masked and rounding to nearest: a division by zero gives an
// infinity instead of a trap.
void ResetFloatingPoint() { asm volatile("fninit"); }

}  // namespace

int32_t StartProgram() {
  services.OtherService(rt::other::InitialiseRuntime);
  ResetFloatingPoint();
  services.OtherService(rt::other::RegisterCleanup, &ReleaseGlobals);
  services.LoadStartWindow(kMainFormId);
  services.RunMessageLoop();
  return 0;
}

void ReleaseGlobals() {
  // No global of the application holds heap memory yet.
}

}  // namespace app
