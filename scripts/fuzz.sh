#!/usr/bin/env bash
# Builds the libFuzzer targets with AddressSanitizer and UBSan in build/fuzz and runs each for
# SECONDS: the list-file reader from installer/list_file_corpus, the index patch against its model.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/deps.sh core gtk fuzz

build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVERDANTIX_TESTS=OFF -DVERDANTIX_FUZZ=ON -DVERDANTIX_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target list_file_fuzz index_patch_fuzz -j2

# Leak checks stop the process's threads with ptrace; where that is refused they are left out.
leaks=1
probe=$("$build/patch/index_patch_fuzz" -runs=0 -artifact_prefix="$build/probe-" 2>&1 || true)
if [[ $probe == *"LeakSanitizer has encountered a fatal error"* ]]; then
  echo "SKIP leak checks: LeakSanitizer cannot stop the process's threads here (ptrace refused)"
  leaks=0
fi
export ASAN_OPTIONS=detect_leaks=$leaks

# fuzz TARGET CORPUS...: new inputs go to the build's own corpus; committed ones are only read.
fuzz() {
  local target=$1 log="$build/${1##*/}.log"
  shift
  mkdir -p "$build/corpus-${target##*/}"
  if ! "$build/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -detect_leaks=$leaks \
    -print_final_stats=1 -artifact_prefix="$build/" "$build/corpus-${target##*/}" "$@" >"$log" 2>&1; then
    tail -n 80 "$log"
    echo "fuzz.sh: $target failed; the input is saved under $build/" >&2
    exit 1
  fi
  echo "$target: $(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs in ${seconds} s, no failure"
}
fuzz installer/list_file_fuzz installer/list_file_corpus
fuzz patch/index_patch_fuzz
