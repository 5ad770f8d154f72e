#!/usr/bin/env bash
# Runs every benchmark of the project (scripts/bench-*.sh); each reports its numbers against its
# target. All of them run even when one misses its target; the exit status says whether any did.
set -uo pipefail
cd "$(dirname "$0")/.."
missed=()
for bench in scripts/bench-*.sh; do
  echo "== ${bench#scripts/}"
  "$bench" || missed+=("${bench#scripts/}")
done
if [[ ${#missed[@]} -gt 0 ]]; then
  echo "Missed their targets (or failed): ${missed[*]}"
  exit 1
fi
