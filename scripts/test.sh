#!/usr/bin/env bash
# Builds everything and runs every test under Wine, then the heap-checked run.
#
# The tests run side by side on several desktops, each a virtual display with a Wine prefix of its
# own (QR_TEST_DESKTOPS of them, 3 unless given): ctest gives each test that may show a window one
# desktop for as long as it runs, since several tests read the screen's pixels, which another
# program's window would cover, and share named objects inside their Wine session. The tests that
# show no window (label no_desktop) run beside them without a display, and the heap-checked run
# beside all of them on a display and in a prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
export QR_TEST_DESKTOPS="${QR_TEST_DESKTOPS:-3}"

bash "$root/scripts/build.sh"

# A heap-checked run that was killed leaves the checker switched on in its prefix: clear it.
for prefix in "$build"/wineprefix "$build"/wineprefix-*; do
  [ -f "$prefix/ready" ] && QR_WINEPREFIX="$prefix" bash "$root/scripts/heap-checking.sh" off
done

servers=()
stop_displays() {
  for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap stop_displays EXIT
# Starts a virtual display and prints its name. Xvfb picks a free number itself and tells it once
# it accepts connections.
display_number_fd=
start_display() {
  local number
  exec {display_number_fd}< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
  servers+=($!)
  if ! read -r -t 60 -u "$display_number_fd" number; then
    echo "test: a virtual display did not come up within 60 s" >&2
    exit 1
  fi
  started_display=":$number"
}
displays=()
desktop_list=$(mktemp --suffix=.json)
entries=()
for ((desktop = 0; desktop < QR_TEST_DESKTOPS; desktop++)); do
  start_display
  displays+=("$started_display")
  entries+=("{\"id\": \"$desktop\", \"slots\": 1}")
done
(IFS=,; echo "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"desktops\": [${entries[*]}]}]}") >"$desktop_list"
start_display
checked_display=$started_display

logs=$(mktemp -d)
# The heap-checked run.
(
  export DISPLAY="$checked_display" QR_WINEPREFIX="$build/wineprefix-checked"
  bash "$root/scripts/memcheck.sh"
  echo "Heap-checked run: done after $SECONDS s"
) >"$logs/checked.log" 2>&1 &
checked=$!
# Every test; wine-run picks the display and prefix of the desktop that ctest gives a test. The
# tests without a desktop share the windowless prefix.
status=0
(
  unset DISPLAY
  export QR_DESKTOP_DISPLAYS="${displays[*]}" QR_WINEPREFIX="$build/wineprefix-windowless"
  ctest --test-dir "$build" --output-on-failure --no-tests=error --resource-spec-file "$desktop_list" \
        -j"$((QR_TEST_DESKTOPS + 1))"
) || status=1
code=0
wait "$checked" || code=$?
echo "=== heap-checked run: $([ $code -eq 0 ] && echo passed || echo FAILED) ==="
cat "$logs/checked.log"
[ $code -eq 0 ] || status=1
rm -rf "$logs" "$desktop_list"
for prefix in "$build"/wineprefix-windowless "$build"/wineprefix-checked "$build"/wineprefix-desktop*; do
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
done
exit $status
