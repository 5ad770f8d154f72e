#!/usr/bin/env bash
# Builds the list-file reader's libFuzzer target (with AddressSanitizer and UBSan) in build/fuzz
# and runs it for SECONDS over the sample list files in tools/list_file_corpus.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/deps.sh core fuzz

build=build/fuzz
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVERDANTIX_TESTS=OFF -DVERDANTIX_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$sanitizers -fsanitize=fuzzer-no-link" >/dev/null
cmake --build "$build" --target list_file_fuzz -j2

# New inputs go to the build's own corpus; the committed sample files are only read.
mkdir -p "$build/corpus"
log="$build/last-run.log"
if ! "$build/tools/list_file_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -print_final_stats=1 -artifact_prefix="$build/" "$build/corpus" tools/list_file_corpus \
  >"$log" 2>&1; then
  tail -n 80 "$log"
  echo "fuzz.sh: the list-file reader failed; the input is saved under $build/" >&2
  exit 1
fi
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log"
echo "fuzz.sh: ${seconds} s of fuzzing, no failure"
