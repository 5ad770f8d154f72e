#!/usr/bin/env bash
# Builds the native program and its tests with gcov's counters in build/coverage, runs the unit,
# GTK and terminal tests (not the crash test: it kills the program while it writes its counts),
# and prints line and branch coverage per file and per folder of the program's own code. Fails
# when a folder misses its target; then the Windows figure, from scripts/coverage-windows.sh.
# Usage: scripts/coverage.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh core gtk coverage
build=build/coverage
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE= -DVERDANTIX_COVERAGE=ON >/dev/null
cmake --build "$build" -j2
find "$build" -name '*.gcda' -delete
status=0
if ctest --test-dir "$build" -j2 -LE '^crash$' --output-on-failure >"$build/ctest.log"; then
  grep 'tests passed' "$build/ctest.log"
else
  sed -n '/tests passed/,$p' "$build/ctest.log"
  echo "coverage.sh: tests failed (see $build/ctest.log); the figures miss what they skipped" >&2
  status=1
fi

# The program's own code: no tests, test doubles, benchmarks or sample tools. The counts are
# looked for in the coverage build alone (from the root, gcovr would walk into the Wine prefix's
# drive Z:, the whole machine).
gcovr --root . --object-directory "$build" --exclude-throw-branches \
  --exclude-unreachable-branches --filter '(app|patch|addon|installer|platform)/' \
  --exclude '.*_(test|fuzz)\.cpp$' --exclude 'platform/(memory|contract)/' \
  --json "$build/coverage.json" "$build"
python3 scripts/coverage_report.py "$build/coverage.json" || status=$?

if [[ -x scripts/coverage-windows.sh ]]; then
  echo "== Windows =="
  scripts/coverage-windows.sh || status=$?
fi
exit "$status"
