#pragma once
// The application's start-up sequence, its clean-up routine and its one global.

#include <cstdint>

namespace app {

int32_t StartProgram();
void ReleaseGlobals();

// The file number of the executable the user loaded; 0 at start and after a failed open.
extern int32_t ExecutableFileNumber;

}  // namespace app
