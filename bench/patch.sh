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

# What the flushes cost: the patch puts both files on the disk before it speaks, and its
# back-up before it replaces the old one. Rewriting one byte of each of the three files, without
# and with a flush of each, shows the share of a run that is the disk's.
game="$work/flush"
"$build/sample/sample-game" create "$game" 65536 409600 >/dev/null
cp "$game/data/fifa.fat" "$game/data/fifa.fat.bak"
sync
rewrite() { # FLUSH: conv flags of dd
  for file in fifa.fat fifa.fat.bak zdata_02.big; do
    printf x | dd of="$game/data/$file" bs=1 seek=1 conv="$1" status=none
  done
}
export -f rewrite
export game
for conv in notrunc notrunc,fsync; do
  printf '  one byte of three files rewritten (%s): ' "$conv"
  "$build/bench/measure" 21 /bin/bash -c "rewrite $conv"
done
