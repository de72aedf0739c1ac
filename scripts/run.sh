#!/usr/bin/env bash
# Builds the tool and runs it under Wine. Without a display it runs on a virtual one, saves a
# screenshot of the window to build/quenmire-res.png once the window is up, and ends there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

# The tool and the helper that waits for its window: none of the tests.
bash "$root/scripts/build.sh" quenmire-res wait_for_window

export LANG="${LANG_FOR_TOOL:-zh_CN.UTF-8}"
run=("$build/wine-run" "$build/app/quenmire-res.exe")
status=0
if [ -n "${DISPLAY:-}" ]; then
  "${run[@]}" || status=$?
  echo "quenmire-res.exe exited with code $status"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$root/scripts/show-on-virtual-display.sh" "$build/quenmire-res.png" "$build" "${run[@]}" || status=$?
fi
exit $status
