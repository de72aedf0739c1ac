#!/usr/bin/env bash
# Runs the runtime's unit tests and the process tests again on a checked heap, and fails when the
# checker reports anything. The checker is Wine's own: switched on per program through the
# prefix's image options (GlobalFlag 0xD0: a guard tail behind every block, the arguments of
# every heap call checked, the whole heap checked at every call). An overrun of a block or a write
# into a freed one shows as an "err:heap" line and ends the program; a double free fails quietly
# inside the program and shows only as a "warn:heap" line. Expects a display (test.sh gives one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
logs="$build/memcheck"
mkdir -p "$logs"
export WINEPREFIX="$build/wineprefix"

# Every program these tests start runs checked as well.
programs=(core_tests.exe file_holder.exe process_tests.exe runtime_fixture.exe form_fixture.exe
          truncated_form_fixture.exe quenmire-res.exe form_sequence_tests.exe)
options='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Image File Execution Options'
set_checking() {
  for program in "${programs[@]}"; do
    if [ "$1" = on ]; then
      "$build/wine-run" reg add "$options\\$program" /v GlobalFlag /t REG_DWORD /d 0xD0 /f
    else
      "$build/wine-run" reg delete "$options\\$program" /f
    fi
  done >/dev/null 2>&1 || true
  wineserver -w
}
set_checking on
trap 'set_checking off' EXIT

# The checked heap keeps freed blocks for a while to catch writes into them, so the tests that
# count the heap's busy blocks cannot pass on it; they run in the ordinary test command.
counting='FreeArray.*:RuntimeRequest.AllocatesFreesAndReallocates:RuntimeRequest.FreesAnArrayOfTexts'
counting+=':FileCommands.RefusedOpensGiveZeroAndKeepNothing:FileCommands.ReadBytesReadsWhatIsThereAndStopsAtTheEnd'
counting+=':FileCommands.AReadErrorMovesThePositionToTheEnd:FileCommands.ClosingReleasesTheFile'
counting+=':FileCommands.WithoutTheRuntimesListNothingStaysOpen'

status=0
run_checked() {
  local name=$1
  shift
  echo "Heap-checked run: $name"
  local code=0
  LANG=zh_CN.UTF-8 WINEDEBUG=warn+heap "$build/wine-run" "$@" >"$logs/$name.log" 2>&1 || code=$?
  # A program that a caught fault has ended may still leave with exit code 0: it must also have
  # come to the end of its tests.
  if [ $code -eq 0 ] && ! grep -q '^\[  PASSED  \]' "$logs/$name.log"; then code=1; fi
  if [ $code -ne 0 ]; then
    echo "  $name ended with $code (log: $logs/$name.log)"
    grep -E '^\[  FAILED  \]' "$logs/$name.log" | sort -u | sed 's/^/  /' || true
    status=1
  fi
  # A refused allocation is the one warning that is no fault: the process tests ask for more
  # memory than there is on purpose, to see the runtime's report.
  if grep -E ':(err|warn):heap:' "$logs/$name.log" | grep -v ':warn:heap:allocate_region Could not allocate'; then
    echo "  the heap checker reported the lines above in $name"
    status=1
  fi
}

run_checked core_tests "$build/tests/unit/core_tests.exe" --gtest_filter="-$counting"
run_checked process_tests "$build/tests/process/process_tests.exe"
run_checked form_sequence_tests "$build/tests/forms/form_sequence_tests.exe"
exit $status
