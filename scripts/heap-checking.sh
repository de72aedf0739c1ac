#!/usr/bin/env bash
# Switches Wine's heap checker on or off for the programs the heap-checked run starts, through
# the image options of the build's prefix or of the one $QR_WINEPREFIX names (GlobalFlag 0xD0: a
# guard tail behind every block, the arguments of every heap call checked, the whole heap checked
# at every call). Arguments: on or off. "off" also clears what a killed run left behind; it
# succeeds when nothing is set.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
export QR_WINEPREFIX="${QR_WINEPREFIX:-$build/wineprefix}"
export WINEPREFIX="$QR_WINEPREFIX"

programs=(core_tests.exe file_holder.exe process_tests.exe runtime_fixture.exe form_fixture.exe
          truncated_form_fixture.exe form_loads_fixture.exe quenmire-res.exe heap_overrun_fixture.exe
          form_sequence_tests.exe)
options='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options'

case "${1:-}" in
  on)
    for program in "${programs[@]}"; do
      if ! out=$(DISPLAY= "$build/wine-run" reg add "$options\\$program" /v GlobalFlag \
                   /t REG_DWORD /d 0xD0 /f 2>&1); then
        echo "heap-checking: could not switch the checker on for $program:" >&2
        echo "$out" >&2
        exit 1
      fi
    done ;;
  off)
    # Only the keys that are there: deleting a missing key is an error for reg.
    [ -f "$WINEPREFIX/system.reg" ] || exit 0
    for program in "${programs[@]}"; do
      if grep -qiF "Image File Execution Options\\\\$program]" "$WINEPREFIX/system.reg"; then
        DISPLAY= "$build/wine-run" reg delete "$options\\$program" /f >/dev/null 2>&1 || {
          echo "heap-checking: could not switch the checker off for $program" >&2
          exit 1
        }
      fi
    done ;;
  *)
    echo "usage: $0 on|off" >&2
    exit 2 ;;
esac
wineserver -w
