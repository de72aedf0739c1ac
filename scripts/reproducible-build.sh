#!/usr/bin/env bash
# Builds the tool alone twice from one commit (HEAD unless another is given), each time from a
# fresh copy of the committed tree in a folder of its own, the second after the first has
# finished (so at another time) and with another SOURCE_DATE_EPOCH, and compares the two
# executables byte for byte.
# Prints the SHA-256 of each: a player compares it with the one of a downloaded copy (README).
# Not part of the test command: it takes two full builds of the tool.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}")

bash "$root/scripts/setup.sh"
work=$(mktemp -d /tmp/quenmire-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The build runs a generator under Wine. Its prefix is no part of what is built: the project's
# own when it is ready, otherwise one made here on first use and shared by both builds.
prefix="$root/build/wineprefix"
[ -f "$prefix/ready" ] || prefix="$work/wineprefix"

# Builds the commit in a copy at $1 (a folder below the work folder) and prints the path of the
# executable.
build_copy() {
  local tree="$work/$1"
  mkdir -p "$tree"
  git -C "$root" archive "$commit" | tar -x -C "$tree"
  cmake -S "$tree" -B "$tree/build" -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-i686.cmake" \
    >"$work/configure-$2.log" 2>&1 || { cat "$work/configure-$2.log" >&2; exit 1; }
  QR_WINEPREFIX="$prefix" cmake --build "$tree/build" -j"$(nproc)" --target quenmire-res \
    >"$work/build-$2.log" 2>&1 || { cat "$work/build-$2.log" >&2; exit 1; }
  echo "$tree/build/app/quenmire-res.exe"
}

echo "Building $commit in two folders ..."
first_epoch=$(date +%s)
started=$(date -u -d "@$first_epoch" '+%Y-%m-%d %H:%M:%S UTC')
first=$(unset SOURCE_DATE_EPOCH; build_copy "a/quenmire-res" first)
# The second build starts at another time than the first: a build takes far longer than the
# clock's one-second step, so a clock that has not moved by now is a fault, not a wait.
[ "$(date +%s)" -gt "$first_epoch" ] || { echo "reproducible-build: the clock does not move" >&2; exit 1; }
second_started=$(date -u '+%Y-%m-%d %H:%M:%S UTC')
second=$(export SOURCE_DATE_EPOCH=946684800; build_copy "second-build/in/another/folder" second)

printf '%s  %s (built %s)\n' "$(sha256sum <"$first" | cut -d' ' -f1)" "$first" "$started"
printf '%s  %s (built %s)\n' "$(sha256sum <"$second" | cut -d' ' -f1)" "$second" "$second_started"
if cmp "$first" "$second"; then
  echo "The two builds are byte for byte the same ($(stat -c %s "$first") bytes)."
else
  echo "The two builds differ." >&2
  exit 1
fi
