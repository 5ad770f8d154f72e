#!/usr/bin/env bash
# Runs every benchmark of the project: scripts/bench-*.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
for bench in scripts/bench-*.sh; do
  echo "== ${bench#scripts/}"
  "$bench"
done
