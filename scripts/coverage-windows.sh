#!/usr/bin/env bash
# Line and branch coverage of platform/win32 from the Windows tests: the unit tests and the
# end-to-end scripts of tests/wine (not the signed release's, which builds a release of its
# own), built with gcov's counters in build/win64-coverage and run under Wine in the session of
# scripts/wine-env.sh. Prints the figures per file and in total (throw branches and unreachable
# branches left out). scripts/coverage.sh runs it after the native figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh core windows wine coverage
build=build/win64-coverage
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE= -DVERDANTIX_COVERAGE=ON -DVERDANTIX_TESTS=ON >/dev/null
cmake --build "$build" -j2 >"$build/build.log" 2>&1 || { tail -n 40 "$build/build.log"; exit 1; }
find "$build" -name '*.gcda' -delete

export VERDANTIX_BUILD="$PWD/$build" VERDANTIX_EXE="$PWD/$build/app/VerdantixInstaller.exe"
. scripts/wine-env.sh
trap wine_session_stop EXIT
wine_session_start
# The counters go to the Unix paths of the objects, which Windows would read on the current
# drive: Z: is the Unix root. One test at a time, as they share counter files.
export GCOV_PREFIX=Z:
ctest --test-dir "$build" --output-on-failure --timeout 300 >"$build/ctest.log" ||
  { tail -n 30 "$build/ctest.log"; exit 1; }
grep 'tests passed' "$build/ctest.log"
for script in tests/wine/*_test.sh; do
  [[ "$script" == */signing_test.sh ]] || timeout 600 bash "$script" >/dev/null
done

# Per file and in total, as for the native build; Windows' platform has no target, as parts of it
# cannot run under Wine.
gcovr --root . --gcov-executable x86_64-w64-mingw32-gcov --exclude-throw-branches \
  --exclude-unreachable-branches --filter 'platform/win32/' --exclude '.*_test\.cpp$' \
  --json "$build/coverage.json" "$build"
python3 scripts/coverage_report.py "$build/coverage.json" --no-targets
