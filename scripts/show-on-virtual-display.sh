#!/usr/bin/env bash
# Runs inside a virtual display: starts the tool, waits for its window, saves a screenshot of
# the display to $1, then ends the tool's Wine session ($WINE_PREFIX).
set -uo pipefail
shot="$1"; shift
"$@" &
tool=$!
xdotool search --sync --onlyvisible --name 'Quenmire' >/dev/null 2>&1 &
finder=$!
for _ in $(seq 1 600); do  # a minute at most
  kill -0 "$finder" 2>/dev/null || break  # the window is up
  kill -0 "$tool" 2>/dev/null || break    # the tool ended before showing it
  sleep 0.1
done
if kill -0 "$finder" 2>/dev/null || ! kill -0 "$tool" 2>/dev/null; then
  kill "$finder" 2>/dev/null
  echo "The tool's window did not appear." >&2
  wait "$tool"
  exit 1
fi
sleep 1.5  # the first tick of the window's timer
import -window root "$shot"
echo "The window is up; screenshot saved to $shot"
WINEPREFIX="$WINE_PREFIX" wineserver -k 2>/dev/null || true
