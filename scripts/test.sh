#!/usr/bin/env bash
# Builds everything and runs every test under Wine, then the heap-checked run.
#
# The tests run in three lanes side by side, each in a Wine prefix of its own. The Chinese-locale
# tests (and any test that names no locale) run one after another on one display, then the
# heap-checked run; the English-locale tests the same on a second display; the tests that show no
# window (label no_desktop) beside them, without a display. Within a lane the tests take turns:
# several of them read the screen's pixels, which another program's window would cover. Each
# display is a virtual one of its own (the first is $DISPLAY when there is one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/build.sh"

# A heap-checked run that was killed leaves the checker switched on for the next run: clear it.
bash "$root/scripts/heap-checking.sh" off

displays=()
servers=()
stop_displays() {
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap stop_displays EXIT
# Starts a virtual display and appends its name to displays. Xvfb picks a free number itself
# and tells it once it accepts connections.
start_display() {
  local fd number
  exec {fd}< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
  servers+=($!)
  if ! read -r -t 60 -u "$fd" number; then
    echo "test: the virtual display did not come up within 60 s" >&2
    exit 1
  fi
  displays+=(":$number")
}
if [ -n "${DISPLAY:-}" ]; then displays+=("$DISPLAY"); else start_display; fi
start_display

ctest_run=(ctest --test-dir "$build" --output-on-failure --no-tests=error)
lane_logs=$(mktemp -d)
status=0

# Lane 1: Chinese and locale-free tests, then the heap-checked run in the same prefix.
(
  export DISPLAY="${displays[0]}"
  lane=0
  "${ctest_run[@]}" -LE 'en_US|no_desktop' || lane=1
  bash "$root/scripts/memcheck.sh" || lane=1
  exit $lane
) >"$lane_logs/chinese.log" 2>&1 &
chinese=$!
# Lane 2: the English tests, in their own prefix.
(
  export DISPLAY="${displays[1]}" QR_WINEPREFIX="$build/wineprefix-en"
  "${ctest_run[@]}" -L en_US
) >"$lane_logs/english.log" 2>&1 &
english=$!
# Lane 3: no window, no display.
(
  unset DISPLAY
  export QR_WINEPREFIX="$build/wineprefix-windowless"
  "${ctest_run[@]}" -L no_desktop -j"$(nproc)"
) >"$lane_logs/windowless.log" 2>&1 &
windowless=$!

for lane in chinese english windowless; do
  code=0
  wait "${!lane}" || code=$?
  echo "=== $lane lane: $([ $code -eq 0 ] && echo passed || echo FAILED) ==="
  cat "$lane_logs/$lane.log"
  [ $code -eq 0 ] || status=1
done
rm -rf "$lane_logs"
for prefix in wineprefix wineprefix-en wineprefix-windowless; do
  WINEPREFIX="$build/$prefix" wineserver -k 2>/dev/null || true
done
exit $status
