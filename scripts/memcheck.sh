#!/usr/bin/env bash
# Runs the runtime's unit tests and the process tests again on a checked heap, and fails when the
# checker reports anything, or when it does not report a known overrun. The checker is Wine's
# own, switched on per program by heap-checking.sh. An overrun of a block or a write
# into a freed one shows as an "err:heap" line and ends the program; a double free fails quietly
# inside the program and shows only as a "warn:heap" line. Expects a display (test.sh gives one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
logs="$build/memcheck"
mkdir -p "$logs"
# In the build's prefix, or the one $QR_WINEPREFIX names (test.sh gives it one of its own).
export QR_WINEPREFIX="${QR_WINEPREFIX:-$build/wineprefix}"

# Every program these tests start runs checked as well (the list is in heap-checking.sh).
bash "$root/scripts/heap-checking.sh" on
trap 'bash "$root/scripts/heap-checking.sh" off' EXIT

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

# The checker itself first: a program that overruns a block must be reported, or the checker
# is not on and the runs below would prove nothing.
echo "Heap-checked run: heap_overrun_fixture (must be reported)"
LANG=zh_CN.UTF-8 WINEDEBUG=warn+heap "$build/wine-run" "$build/tests/unit/heap_overrun_fixture.exe" \
  >"$logs/heap_overrun_fixture.log" 2>&1 || true
if ! grep -q ':err:heap:' "$logs/heap_overrun_fixture.log"; then
  echo "  the heap checker did not report the overrun: it is not switched on" \
       "(log: $logs/heap_overrun_fixture.log)" >&2
  exit 1
fi

run_checked core_tests "$build/tests/unit/core_tests.exe" --gtest_filter="-$counting"
run_checked process_tests "$build/tests/process/process_tests.exe"
run_checked form_sequence_tests "$build/tests/forms/form_sequence_tests.exe"
exit $status
