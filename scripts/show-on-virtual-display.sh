#!/usr/bin/env bash
# Runs inside a virtual display: starts the tool ($3...), waits for its window and the first
# tick's verdict in its label (then painted), saves a screenshot of the display to $1, then ends
# the tool's Wine session. $2 is the build directory; WINE_RUN the wrapper of the prefix the tool
# runs in.
set -uo pipefail
shot="$1"; build="$2"; shift 2
wine_run="${WINE_RUN:-$build/wine-run}"

# The session ends before the display does: a Wine process still connected when xvfb-run stops
# the display reports "X connection to :99 broken" on its way out.
end_session() {
  "$wine_run" wineserver -k
  wait "$tool"
  "$wine_run" wineserver -w
}

"$@" &
tool=$!
if ! "$wine_run" "$build/tools/wait_for_window.exe" PvWindow 60000 _Kw_TransLabel; then
  echo "The tool's window did not appear." >&2
  end_session
  exit 1
fi
import -window root "$shot"
end_session
echo "The window is up; screenshot saved to $shot"
