#pragma once
// The hand-shake with a launcher that starts this program from a temporary copy of itself.

#include <cstdint>

namespace app {

// When the executable's file name ends in ".tmp" (any case), zeroes the first three bytes of
// the launcher's shared-memory section. Returns 0.
int32_t LauncherHandshake();

}  // namespace app
