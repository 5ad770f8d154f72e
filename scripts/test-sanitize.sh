#!/usr/bin/env bash
# The unit and GTK tests built with AddressSanitizer and UBSan (build/sanitize); a report fails.
# Not the terminal tests (without /proc and on too long a path the sanitizers' start-up warns into
# the output they compare) nor the crash test (its start-up multiplies system calls).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/sanitize
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DVERDANTIX_SANITIZE=ON >/dev/null
cmake --build "$build" -j2

# Leak checking stops the process's threads with ptrace; where that is refused, it is left out.
export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS="suppressions=$PWD/tests/third-party-leaks.supp:print_suppressions=0"
probe=$("$build/patch/patch_test" --gtest_list_tests 2>&1 || true)
if [[ $probe == *"LeakSanitizer has encountered a fatal error"* ]]; then
  echo "SKIP leak checks: LeakSanitizer cannot stop the process's threads here (ptrace refused)"
  ASAN_OPTIONS+=:detect_leaks=0
fi
ctest --test-dir "$build" --output-on-failure -j2 -LE '^(e2e|crash)$'
