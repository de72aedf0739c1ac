#pragma once
// The application's start-up sequence and its clean-up routine.

#include <cstdint>

namespace app {

int32_t StartProgram();
void ReleaseGlobals();

}  // namespace app
