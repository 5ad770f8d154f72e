#!/usr/bin/env bash
# Builds everything and runs every test: native, Windows under Wine, and the fuzz smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh core windows wine gtk fuzz

echo "== Native build and tests =="
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j2
ctest --test-dir build/native --output-on-failure -j2

if [[ -x scripts/test-windows.sh ]]; then
  echo "== Windows builds and tests under Wine =="
  scripts/test-windows.sh
fi

if [[ -x scripts/fuzz.sh ]]; then
  echo "== Fuzz smoke run =="
  scripts/fuzz.sh 20
fi
echo "All tests passed."
