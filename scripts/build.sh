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

# Every window of this prefix lives in a Wine desktop of its own, 1280 x 1024: Wine then draws
# frames and captions itself, as Windows does, and needs no window manager on the host (without
# one, each window that closes costs a two-second wait inside Wine).
if ! grep -q '"Desktop"="Default"' "$build/wineprefix/user.reg" 2>/dev/null; then
  DISPLAY= "$build/wine-run" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  DISPLAY= "$build/wine-run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  WINEPREFIX="$build/wineprefix" wineserver -w
fi

# The display-scale tests change the system DPI of the prefix they run in: they get a copy of
# this one, made once it is set up and no program of it runs.
if [ ! -f "$build/wineprefix-scaled/system.reg" ]; then
  WINEPREFIX="$build/wineprefix" wineserver -w
  rm -rf "$build/wineprefix-scaled"
  cp -a "$build/wineprefix" "$build/wineprefix-scaled"
fi
