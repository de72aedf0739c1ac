#!/usr/bin/env bash
# Builds the tool and runs it under Wine, on a virtual display when there is none.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/build.sh"

run=("$build/wine-run" "$build/app/quenmire-res.exe")
if [ -z "${DISPLAY:-}" ]; then
  run=(xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}")
fi
export LANG="${LANG_FOR_TOOL:-zh_CN.UTF-8}"
status=0
"${run[@]}" || status=$?
echo "quenmire-res.exe exited with code $status"
exit $status
