#!/usr/bin/env bash
# Builds the benchmark and the tool, then measures the tool against its floors under Wine (on a
# virtual display when there is none). Prints the table and writes it as CSV to
# build/bench/benchmarks.csv, every run's value to build/bench/benchmark-runs.csv and the machine
# it ran on to build/bench/machine.txt. Argument: the number of rounds (15 unless given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD_DIR:-$root/build}"
rounds="${1:-15}"

bash "$root/scripts/build.sh" bench_driver

# The executable as it ships: without its symbol table.
i686-w64-mingw32-strip -o "$build/bench/quenmire-res-stripped.exe" "$build/app/quenmire-res.exe"

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(nproc) cores"
  echo "wine: $(wine --version)"
  if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    emulator=$(sed -n 's/^interpreter //p' /proc/sys/fs/binfmt_misc/qemu-i386)
    echo "32-bit code: through QEMU user emulation ($("$emulator" --version | head -1))"
  else
    echo "32-bit code: native"
  fi
  echo "rounds: $rounds"
} | tee "$build/bench/machine.txt"

# The tool's texts are Chinese: run it as on a Chinese system.
export LANG=zh_CN.UTF-8
run=("$build/wine-run" "$build/bench/programs/bench_driver.exe" "$rounds")
if [ -z "${DISPLAY:-}" ]; then
  run=(xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}")
fi
status=0
"${run[@]}" || status=$?
WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
[ $status -eq 0 ] && echo "Written: $build/bench/benchmarks.csv, $build/bench/benchmark-runs.csv"
exit $status
