#!/usr/bin/env bash
# Installs what is missing, configures, builds into build/ (or $BUILD_DIR) and makes the Wine
# prefixes the programs run in. Arguments: the targets to build (all of them when none is given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"

fail() {
  echo "build: $1" >&2
  exit 1
}

# A new Wine prefix takes a while to create: do it once, here, rather than inside a test. Every
# window of a prefix lives in a Wine desktop of its own, 1280 x 1024: Wine then draws frames and
# captions itself, as Windows does, and needs no window manager on the host (without one, each
# window that closes costs a two-second wait inside Wine). A prefix is used only once both steps
# have succeeded (the file "ready" says so); one left half-made by an interrupted build is made
# anew, since it would run every window without its desktop.
make_prefix() {
  local prefix=$1 log
  [ -f "$prefix/ready" ] && return 0
  rm -rf "$prefix"
  echo "Creating the Wine prefix in $prefix ..."
  log=$(mktemp)
  if ! QR_WINEPREFIX="$prefix" DISPLAY= "$build/wine-run" wineboot --init >"$log" 2>&1; then
    cat "$log" >&2
    fail "wineboot could not create the Wine prefix in $prefix (output above)"
  fi
  WINEPREFIX="$prefix" wineserver -w
  [ -f "$prefix/system.reg" ] || fail "wineboot left no registry in $prefix"
  local key value data
  for setting in 'HKCU\Software\Wine\Explorer|Desktop|Default' \
                 'HKCU\Software\Wine\Explorer\Desktops|Default|1280x1024'; do
    IFS='|' read -r key value data <<<"$setting"
    if ! QR_WINEPREFIX="$prefix" DISPLAY= "$build/wine-run" reg add "$key" /v "$value" /d "$data" /f \
           >"$log" 2>&1; then
      cat "$log" >&2
      fail "could not set up the Wine desktop in $prefix ($key $value; output above)"
    fi
  done
  WINEPREFIX="$prefix" wineserver -w
  grep -q '"Desktop"="Default"' "$prefix/user.reg" ||
    fail "the Wine desktop setting did not reach $prefix/user.reg"
  rm -f "$log"
  touch "$prefix/ready"
}

# One prefix for the programs as built. The tests run in three lanes side by side (see test.sh),
# each with a prefix of its own: a test's output ends only when its prefix's Wine session does,
# and a session shared with another lane would stay up as long as that lane runs.
make_prefix "$build/wineprefix"
if [ $# -eq 0 ]; then
  make_prefix "$build/wineprefix-en"
  make_prefix "$build/wineprefix-windowless"
fi

# The display-scale tests change the system DPI of the prefix they run in: each prefix of a
# locale lane gets a copy of its own, made once it is set up and no program of it runs.
copy_scaled() {
  local prefix=$1
  [ -f "$prefix-scaled/ready" ] && return 0
  WINEPREFIX="$prefix" wineserver -w
  rm -rf "$prefix-scaled"
  cp -a "$prefix" "$prefix-scaled" || fail "could not copy $prefix for the display-scale tests"
}
copy_scaled "$build/wineprefix"
[ $# -eq 0 ] && copy_scaled "$build/wineprefix-en"
exit 0
