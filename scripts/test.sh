#!/usr/bin/env bash
# Builds everything and runs every test: native, Windows under Wine, and the fuzz smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh core windows wine gtk fuzz
mkdir -p build
log=build/test-run.log
: >"$log"

echo "== Native build and tests =="
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j2
ctest --test-dir build/native --output-on-failure -j2 | tee -a "$log"

echo "== Native tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
scripts/test-sanitize.sh | tee -a "$log"

echo "== Windows builds and tests under Wine =="
scripts/test-windows.sh | tee -a "$log"

echo "== Fuzz smoke run =="
scripts/fuzz.sh 10 | tee -a "$log"

# Every CTest case, every end-to-end script under Wine and each fuzz run, each counted once.
cases=$(awk '/tests passed, 0 tests failed out of/ { sum += $NF } END { print sum + 0 }' "$log")
scripts=$(grep -c '^== tests/wine/.*_test.sh' "$log" || true)
fuzz_runs=$(grep -c ', no failure$' "$log" || true)
echo "Summary: $((cases + scripts + fuzz_runs)) passed, 0 failed"
