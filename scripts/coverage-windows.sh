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
# The configuration's flags, which reach the link too (where --coverage adds gcov's library): the
# toolchain's own flags stay as they are.
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw64.cmake" \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O0 --coverage" -DVERDANTIX_TESTS=ON \
  >/dev/null
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

# Per file: lines and branches run, as percentages and counts; then the total.
gcovr --root . --gcov-executable x86_64-w64-mingw32-gcov --exclude-throw-branches \
  --exclude-unreachable-branches --filter 'platform/win32/' --exclude '.*_test\.cpp$' \
  --csv - "$build" | awk -F, '
    function row(name, lines, run, branches, taken) {
      printf "%-36s %5.1f%% %4d/%-4d  %5.1f%% %4d/%-4d\n", name, lines ? 100 * run / lines : 100,
        run, lines, branches ? 100 * taken / branches : 100, taken, branches
    }
    NR == 1 { printf "%-36s %16s  %16s\n", "Windows platform file", "lines", "branches"; next }
    { row($1, $2, $3, $5, $6); l += $2; r += $3; b += $5; t += $6 }
    END { row("TOTAL", l, r, b, t) }'
