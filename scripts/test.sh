#!/usr/bin/env bash
# Builds everything and runs every test: native, again under the sanitizers, Windows under Wine,
# and the fuzz smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh core windows wine gtk fuzz
mkdir -p build
log=build/test-run.log
: >"$log"
stage() { echo "== $* (at ${SECONDS} s) =="; }

stage "Native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/native -j2
ctest --test-dir build/native --output-on-failure -j2 | tee -a "$log"

stage "Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/test-sanitize.sh | tee -a "$log"

stage "Windows builds and tests under Wine"
scripts/test-windows.sh | tee -a "$log"

stage "Fuzz smoke run"
scripts/fuzz.sh 10 | tee -a "$log"

# Each CTest case, Wine script and fuzz run once (CTest's totals count skipped cases, not disabled).
cases=$(awk '/tests passed, 0 tests failed out of/ { sum += $NF } END { print sum + 0 }' "$log")
skipped=$(grep -cE '^\s*[0-9]+ - .*\(Skipped\)\s*$' "$log" || true)
disabled=$(grep -cE '^\s*[0-9]+ - .*\(Disabled\)\s*$' "$log" || true)
scripts=$(grep -c '^== tests/wine/.*_test.sh' "$log" || true)
fuzz_runs=$(grep -c ', no failure$' "$log" || true)
echo "Done in ${SECONDS} s"
echo "Summary: $((cases - skipped + scripts + fuzz_runs)) passed, 0 failed, $((skipped + disabled)) skipped"
