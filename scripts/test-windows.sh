#!/usr/bin/env bash
# Builds both Windows programs, checks what they import, then runs the unit tests and every
# tests/wine/*_test.sh under 64-bit Wine, in the Wine session of scripts/wine-env.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh core windows wine
. scripts/wine-env.sh

# A new prefix is made while the build runs; a prefix half made is never stopped.
wine_prefix_make &
prefix_pid=$!
trap '[[ -z "$prefix_pid" ]] || wait "$prefix_pid" || true; wine_session_stop' EXIT
scripts/build-windows.sh
echo "Built in ${SECONDS} s"

# check_imports EXE OBJDUMP: system DLLs only (no MinGW run-time DLL), and only the
# wide-character file and process functions.
check_imports() {
  local imports dlls
  imports=$("$2" -p "$1")
  dlls=$(sed -n 's/^\s*DLL Name: *//p' <<<"$imports")
  echo "$1 imports:" $dlls
  local system='^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|uxtheme|shlwapi|version|dwmapi|shcore)\.dll$'
  if grep -viE "$system" <<<"$dlls"; then
    echo "FAIL: $1 imports the DLLs above, which are not system DLLs" >&2
    exit 1
  fi
  local narrow='(CreateFile|CopyFile|CreateDirectory|GetFileAttributes|SetFileAttributes|DeleteFile|MoveFile|RemoveDirectory|SetCurrentDirectory|GetCurrentDirectory|GetModuleFileName|FindFirstFile|FindNextFile|GetFullPathName|CreateProcess)A$'
  if grep -E "^\s+[0-9a-f]+\s+[0-9]+\s+$narrow" <<<"$imports"; then
    echo "FAIL: $1 imports the ANSI file functions above" >&2
    exit 1
  fi
}
check_imports build/win64/app/VerdantixInstaller.exe x86_64-w64-mingw32-objdump
check_imports build/win32/app/VerdantixInstaller.exe i686-w64-mingw32-objdump

wait "$prefix_pid" || { echo "FAIL: the Wine prefix could not be made" >&2; exit 1; }
prefix_pid=""
wine_session_start

echo "== Unit tests under Wine (build/win64), at ${SECONDS} s =="
ctest --test-dir build/win64 --output-on-failure -j2 --timeout 120

for script in tests/wine/*_test.sh; do
  echo "== $script, at ${SECONDS} s =="
  timeout 600 bash "$script"
done
echo "Windows tests passed in ${SECONDS} s"
