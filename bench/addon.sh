#!/usr/bin/env bash
# Times the add-on tree builder's 102 copies (POSIX platform) against cp of the same files on
# the same disk, and reports the median of several runs of each.
#
#   bench/addon.sh [RUNS]
#   BUILD=build/native   build folder holding bench/addon-bench (make native builds it)
#   TOTAL_BYTES=536870912  bytes spread over the 102 sources
# The builder puts every copy on the disk before it returns, so it is compared with cp followed by
# a flush of each copied file (sync FILE...); cp without the flush shows what the flushes cost.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
build=${BUILD:-build/native}
total=${TOTAL_BYTES:-$((512 << 20))}
bench="$build/bench/addon-bench"
[[ -x "$bench" ]] || { echo "bench-addon: $bench is missing; run make native" >&2; exit 2; }

work="build/bench-addon"
game="$work/game"
if [[ ! -f "$work/total-$total" ]]; then
  rm -rf "$work"
  mkdir -p "$work"
  "$bench" create "$game" "$total"
  touch "$work/total-$total"
fi

builder() { "$bench" build "$game"; }
# The same 102 files to the same names: the gui folder's tree, then the script.
with_cp() {
  mkdir "$game/data/kce" "$game/data/kce/be"
  cp -r "$game/data/gui/." "$game/data/kce/"
  cp "$game/data/cmn/be/script.big" "$game/data/kce/be/"
}
with_cp_flushed() {
  with_cp
  find "$game/data/kce" -type f -exec sync {} +
}

# Milliseconds of one run, starting from no tree and nothing left to flush.
time_one() {
  rm -rf "$game/data/kce"
  sync
  local start end
  start=$(date +%s%N)
  "$1"
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Every copy the builder makes matches its source (checked once, outside the timing).
rm -rf "$game/data/kce"
builder
if ! diff -r "$game/data/gui" "$game/data/kce" -x be >/dev/null ||
  ! cmp -s "$game/data/cmn/be/script.big" "$game/data/kce/be/script.big"; then
  echo "bench-addon: the builder's tree differs from its sources" >&2
  exit 1
fi

# One untimed run of each first: the first run after the tree was laid out pays for it.
time_one with_cp >/dev/null
time_one builder >/dev/null
builder_ms=() cp_ms=() unflushed_ms=()
for ((run = 1; run <= runs; run++)); do
  builder_ms+=("$(time_one builder)")
  cp_ms+=("$(time_one with_cp_flushed)")
  unflushed_ms+=("$(time_one with_cp)")
done
rm -rf "$game/data/kce"

b=$(median "${builder_ms[@]}") c=$(median "${cp_ms[@]}") u=$(median "${unflushed_ms[@]}")
echo "add-on tree, 102 copies of $((total >> 20)) MiB, $runs runs:"
echo "  builder:             ${builder_ms[*]} ms  (median $b ms)"
echo "  cp, each file synced: ${cp_ms[*]} ms  (median $c ms)"
echo "  cp, not synced:       ${unflushed_ms[*]} ms  (median $u ms: the flushes cost $((c - u)) ms)"
awk -v b="$b" -v c="$c" 'BEGIN {
  ratio = c > 0 ? b / c : 0
  printf "  builder / synced cp = %.2f (target at most 1.10)\n", ratio
  exit ratio <= 1.10 ? 0 : 1
}'
