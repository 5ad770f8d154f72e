#!/usr/bin/env bash
# Builds both Windows programs, checks what they hold, then runs the unit tests and every
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

# Both programs: the system DLLs the README names, no ANSI file or process function; icon group
# 1 of one image (icon 30001: 48 x 48, 8 bits, 3752 bytes), Command2's 150 x 22 picture in 256
# colours, a manifest for administrator rights, per-monitor DPI and long paths, a product name.
expect() { [[ "$1" == "$2" ]] || { echo "FAIL: $exe: $3 is '$1', not '$2'" >&2; exit 1; }; }
raw() { wrestool -x --raw --type="$1" --name="$2" "$exe"; }
# TYPE OFFSET BYTES of standard input, the rest of which is read too: wrestool must not be left
# writing into a closed pipe (pipefail would end the script without a word).
number() { od -An -t"$1" -j"$2" -N"$3" | xargs; cat >/dev/null; }
narrow='(CreateFile|CopyFile|CreateDirectory|GetFileAttributes|SetFileAttributes|DeleteFile|MoveFile|RemoveDirectory|SetCurrentDirectory|GetCurrentDirectory|GetModuleFileName|FindFirstFile|FindNextFile|GetFullPathName|CreateProcess)A$'
for bits in 64 32; do
  exe=build/win$bits/app/VerdantixInstaller.exe
  imports=$("$([[ $bits == 64 ]] && echo x86_64 || echo i686)-w64-mingw32-objdump" -p "$exe")
  expect "$(sed -n 's/^\s*DLL Name: *//p' <<<"$imports" | sort -f | xargs)" \
    "GDI32.dll KERNEL32.dll msvcrt.dll USER32.dll" "the imported DLLs"
  expect "$(grep -cE "^\s+[0-9a-f]+\s+[0-9]+\s+$narrow" <<<"$imports" || true)" 0 "ANSI imports"
  # GRPICONDIR and its one entry, little-endian: width, height, bits per pixel, bytes and name.
  expect "$(raw 14 1 | od -An -tx1 | xargs) $(raw 3 30001 | wc -c)" \
    "00 00 01 00 01 00 30 30 00 00 01 00 08 00 a8 0e 00 00 31 75 3752" "icon group 1"
  expect "$(raw 2 101 | number d4 4 8) $(raw 2 101 | number u2 14 2)" "150 22 8" "the picture"
  expect "$(raw 24 1 | grep -c 'level="requireAdministrator"\|>PerMonitorV2<\|>true</longPath')" \
    3 "the manifest's settings found"
  expect "$(raw 16 1 | tr -d '\0' | grep -ao 'ProductNameVerdantix Installer')" \
    "ProductNameVerdantix Installer" "the product name"
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
