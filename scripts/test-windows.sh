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

# check_resources EXE: icon group 1 whose one image is icon 30001 (48 x 48, 8 bits per pixel,
# 3752 bytes), Command2's 150 x 22 picture in 256 colours (bitmap 101), a manifest asking for
# administrator rights, per-monitor DPI and long paths, and a version naming the product.
check_resources() {
  local exe=$1
  raw() { wrestool -x --raw --type="$1" --name="$2" "$exe"; }
  # TYPE OFFSET BYTES of standard input, the rest of which is read too: wrestool must not be
  # left writing into a closed pipe (pipefail would end the script without a word).
  number() { od -An -t"$1" -j"$2" -N"$3" | xargs; cat >/dev/null; }
  expect() { [[ "$1" == "$2" ]] || { echo "FAIL: $exe: $3 is '$1', not '$2'" >&2; exit 1; }; }
  # Icon group 1: its count of images, then its entry's width, height, bits per pixel, bytes
  # and name; then the size of the image of that name.
  local group=() field
  for field in "u2 4 2" "u1 6 2" "u2 12 2" "u4 14 4" "u2 18 2"; do
    group+=("$(raw 14 1 | number $field)")
  done
  expect "${group[*]} $(raw 3 30001 | wc -c)" "1 48 48 8 3752 30001 3752" "icon group 1"
  expect "$(raw 2 101 | number d4 4 8) $(raw 2 101 | number u2 14 2)" "150 22 8" "the picture"
  expect "$(raw 24 1 | grep -c 'level="requireAdministrator"\|>PerMonitorV2<\|>true</longPath')" \
    3 "the manifest's settings found"
  expect "$(raw 16 1 | tr -d '\0' | grep -ao 'ProductNameVerdantix Installer')" \
    "ProductNameVerdantix Installer" "the product name"
}
for bits in 64 32; do
  exe=build/win$bits/app/VerdantixInstaller.exe
  check_imports "$exe" "$([[ $bits == 64 ]] && echo x86_64 || echo i686)-w64-mingw32-objdump"
  check_resources "$exe"
done

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
