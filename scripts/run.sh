#!/usr/bin/env bash
# Builds the tool and runs it under Wine. Without a display it runs on a virtual one, saves a
# screenshot of the window to build/quenmire-res.png once the window is up, and ends there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

# The tool and the helper that waits for its window: none of the tests.
bash "$root/scripts/build.sh" quenmire-res wait_for_window

export LANG="${LANG_FOR_TOOL:-zh_CN.UTF-8}"
# The tool follows the prefix's display scale. DPI_FOR_TOOL (e.g. 144) runs it at another one,
# in the display-scale tests' own prefix, so that the build's prefix keeps its scale.
export WINE_RUN="$build/wine-run"
if [ -n "${DPI_FOR_TOOL:-}" ]; then
  WINE_RUN="$build/wine-run-scaled"
  DISPLAY= "$WINE_RUN" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$DPI_FOR_TOOL" /f >/dev/null 2>&1
  # That session has no display: the tool must not join it while it lingers.
  "$WINE_RUN" wineserver -w
fi
run=("$WINE_RUN" "$build/app/quenmire-res.exe")
status=0
if [ -n "${DISPLAY:-}" ]; then
  "${run[@]}" || status=$?
  echo "quenmire-res.exe exited with code $status"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$root/scripts/show-on-virtual-display.sh" "$build/quenmire-res.png" "$build" "${run[@]}" || status=$?
fi
exit $status
