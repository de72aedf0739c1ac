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

# Debian's Wine does not load the fonts in its own data folder, and without Marlett it draws the
# caption buttons as the letters "0 1 r". The file in the prefix's Fonts folder is all it takes
# (no registry entry). Prefixes made before this step get it on the next build too.
marlett=/usr/share/wine/fonts/marlett.ttf
add_marlett() {
  local fonts=$1/drive_c/windows/Fonts
  cmp -s "$marlett" "$fonts/marlett.ttf" && return 0
  cp "$marlett" "$fonts/marlett.ttf" || fail "could not copy Marlett into $fonts"
}

# A new Wine prefix takes a while to create: do it once, here, rather than inside a test. Every
# window of a prefix lives in a Wine desktop of its own, 1280 x 1024: Wine then draws frames and
# captions itself, as Windows does, and needs no window manager on the host (without one, each
# window that closes costs a two-second wait inside Wine). A prefix is used only once both steps
# have succeeded (the file "ready" says so); one left half-made by an interrupted build is made
# anew, since it would run every window without its desktop.
make_prefix() {
  local prefix=$1 log
  if [ -f "$prefix/ready" ]; then
    add_marlett "$prefix"
    return 0
  fi
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
  add_marlett "$prefix"
  touch "$prefix/ready"
}

# One prefix for the programs as built; the tests run in copies of it (see test.sh): one for each
# of the $QR_TEST_DESKTOPS desktops, one for the tests that show no window and one for the
# heap-checked run. A test's output ends only when its prefix's Wine session does, and a session
# shared with a test that runs at the same time would stay up as long as that one runs. A copy is
# made once, from the prefix as it is after set-up, and takes seconds where a new prefix takes a
# minute.
make_prefix "$build/wineprefix"

# Copies a prefix that no program runs in; the copy is used only once it is whole.
copy_prefix() {
  local from=$1 to=$2
  if [ -f "$to/ready" ]; then
    add_marlett "$to"
    return 0
  fi
  WINEPREFIX="$from" wineserver -w
  rm -rf "$to" "$to.partial"
  cp -a "$from" "$to.partial" && mv "$to.partial" "$to" || fail "could not copy $from to $to"
}

# The display-scale tests change the system DPI of the prefix they run in: each prefix they can
# run in gets a copy of its own.
copy_prefix "$build/wineprefix" "$build/wineprefix-scaled"
for ((desktop = 0; desktop < ${QR_TEST_DESKTOPS:-0}; desktop++)); do
  copy_prefix "$build/wineprefix" "$build/wineprefix-desktop$desktop"
  copy_prefix "$build/wineprefix" "$build/wineprefix-desktop$desktop-scaled"
done
if [ "${QR_TEST_DESKTOPS:-0}" -gt 0 ]; then
  copy_prefix "$build/wineprefix" "$build/wineprefix-windowless"
  copy_prefix "$build/wineprefix" "$build/wineprefix-checked"
fi
exit 0
