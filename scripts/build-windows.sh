#!/usr/bin/env bash
# Cross-compiles the Windows program with MinGW-w64, Release and stripped:
#   build/win64  64-bit, with the tests (they run under Wine: scripts/test-windows.sh)
#   build/win32  32-bit, the program only (these machines cannot run 32-bit code)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="${JOBS:-2}"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

configure() { # BUILD_DIR TOOLCHAIN TESTS
  # A build folder keeps the generator it was made with.
  local chosen=()
  [[ -f "$1/CMakeCache.txt" ]] || chosen=("${generator[@]}")
  cmake -S . -B "$1" "${chosen[@]}" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$2" \
    -DCMAKE_BUILD_TYPE=Release -DVERDANTIX_TESTS="$3" >/dev/null
}

configure build/win64 toolchain-mingw64.cmake ON
configure build/win32 toolchain-mingw32.cmake OFF
cmake --build build/win64 -j"$jobs"
cmake --build build/win32 -j"$jobs"
ls -l build/win64/app/VerdantixInstaller.exe build/win32/app/VerdantixInstaller.exe
