#!/usr/bin/env bash
# Builds everything and runs every test under Wine, on a virtual display when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/build.sh"

run=(ctest --test-dir "$build" --output-on-failure)
if [ -z "${DISPLAY:-}" ]; then
  run=(xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}")
fi
status=0
"${run[@]}" || status=$?

# The runtime's unit and process tests once more, on Wine's checked heap.
check=(bash "$root/scripts/memcheck.sh")
if [ -z "${DISPLAY:-}" ]; then
  check=(xvfb-run -a -s "-screen 0 1280x1024x24" "${check[@]}")
fi
"${check[@]}" || status=1
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
exit $status
