#!/usr/bin/env bash
# Runs every benchmark of the project (the other scripts of this folder); each reports its numbers
# against its target. All of them run even when one misses its target; the exit status says
# whether any did.
set -uo pipefail
cd "$(dirname "$0")/.."
missed=()
for bench in bench/*.sh; do
  [[ $bench == bench/run.sh ]] && continue
  echo "== $bench"
  "$bench" || missed+=("$bench")
done
if [[ ${#missed[@]} -gt 0 ]]; then
  echo "Missed their targets (or failed): ${missed[*]}"
  exit 1
fi
