#!/usr/bin/env bash
# Times the index patch of the built Linux program on archives of 64 KiB, 256 MiB and 2 GiB,
# each with a 400 KiB file table: median wall time and peak memory over repeated runs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/native
work=$(mktemp -d "${TMPDIR:-/tmp}/verdantix-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

echo "Index patch (each run switches the fix in or out; 21 runs per size):"
for size in 65536 268435456 2147483648; do
  game="$work/game-$size"
  "$build/sample/sample-game" create "$game" 65536 409600
  # Fill the archive with written (not sparse) bytes up to its full size.
  head -c $((size - 65536)) /dev/zero >>"$game/data/zdata_02.big"
  cp "$build/app/verdantix-installer" "$game/"
  sync  # let the new archive reach the disk before the clock runs
  printf '  archive %10d bytes: ' "$(stat -c %s "$game/data/zdata_02.big")"
  env -u DISPLAY -u WAYLAND_DISPLAY "$build/bench/measure" 21 "$game/verdantix-installer" </dev/null \
    | grep -v '^message:'
  rm -rf "$game"
done
