#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything into build/ (or $BUILD_DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"

# A new Wine prefix takes a while to create: do it once, here, rather than inside a test.
if [ ! -f "$build/wineprefix/system.reg" ]; then
  echo "Creating the Wine prefix in $build/wineprefix ..."
  DISPLAY= "$build/wine-run" wineboot --init >/dev/null 2>&1 || true
  WINEPREFIX="$build/wineprefix" wineserver -w
fi
