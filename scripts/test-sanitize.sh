#!/usr/bin/env bash
# Builds the native program and tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# build/sanitize and runs the unit tests and the GTK tests there; any report fails the run.
# The terminal program's tests (label e2e) and the crash test stay out: the first starts the
# program without /proc and from a path longer than the kernel reads back, where the sanitizers'
# start-up prints warnings into the output it compares; the second kills the program at every
# system call, which the sanitizers' start-up multiplies.
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
