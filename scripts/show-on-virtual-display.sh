#!/usr/bin/env bash
# Runs inside a virtual display: starts the tool ($3...), waits for its window and the first
# tick's verdict in its label (then painted), saves a screenshot of the display to $1, then ends the tool's
# Wine session. $2 is the build directory.
set -uo pipefail
shot="$1"; build="$2"; shift 2
"$@" &
tool=$!
if ! "$build/wine-run" "$build/tools/wait_for_window.exe" PvWindow 60000 _Kw_TransLabel; then
  echo "The tool's window did not appear." >&2
  WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null
  wait "$tool"
  exit 1
fi
import -window root "$shot"
echo "The window is up; screenshot saved to $shot"
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
