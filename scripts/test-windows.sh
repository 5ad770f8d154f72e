#!/usr/bin/env bash
# Builds both Windows programs, checks what they import, then runs the unit tests and every
# tests/wine/*_test.sh under 64-bit Wine, in an Xvfb display and a Wine prefix of our own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh core windows wine
. scripts/wine-env.sh

xvfb_pid=""
prefix_pid=""
server_started=""
cleanup() {
  # The prefix's own timeouts bound this wait.
  [[ -n "$prefix_pid" ]] && wait "$prefix_pid" 2>/dev/null || true
  [[ -n "$server_started" ]] && timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    timeout 10 tail --pid="$xvfb_pid" -f /dev/null || true
  fi
  rm -f "${display_file:-}"
}
trap cleanup EXIT

create_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  timeout 180 "$WINELOADER" wineboot --init >/dev/null 2>&1
  timeout 120 "$WINESERVER" -w
  # Wine draws the window frames itself: no window manager needed, and closes are immediate.
  timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1
  timeout 120 "$WINESERVER" -w
}

# A new prefix takes a quarter of a minute, mostly waiting: it is made while the build runs.
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  server_started=1
  create_prefix &
  prefix_pid=$!
fi
scripts/build-windows.sh
echo "Built in ${SECONDS} s"

# check_imports EXE OBJDUMP: system DLLs only (no MinGW run-time DLL), and only the
# wide-character file and process functions.
check_imports() {
  local imports
  imports=$("$2" -p "$1")
  echo "$1 imports:"
  grep 'DLL Name' <<<"$imports" | sed 's/^\s*/  /'
  local system='^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|uxtheme|shlwapi|version|dwmapi|shcore)\.dll$'
  local dll
  for dll in $(sed -n 's/^\s*DLL Name: *//p' <<<"$imports"); do
    if ! grep -qiE "$system" <<<"$dll"; then
      echo "FAIL: $1 imports $dll, which is not a system DLL" >&2
      exit 1
    fi
  done
  local narrow='(CreateFile|CopyFile|CreateDirectory|GetFileAttributes|SetFileAttributes|DeleteFile|MoveFile|RemoveDirectory|SetCurrentDirectory|GetCurrentDirectory|GetModuleFileName|FindFirstFile|FindNextFile|GetFullPathName|CreateProcess)A$'
  if grep -E "^\s+[0-9a-f]+\s+[0-9]+\s+$narrow" <<<"$imports"; then
    echo "FAIL: $1 imports the ANSI file functions above" >&2
    exit 1
  fi
}
check_imports build/win64/app/VerdantixInstaller.exe x86_64-w64-mingw32-objdump
check_imports build/win32/app/VerdantixInstaller.exe i686-w64-mingw32-objdump

if [[ -n "$prefix_pid" ]]; then
  wait "$prefix_pid" || { echo "FAIL: the Wine prefix could not be created" >&2; exit 1; }
  prefix_pid=""
fi

# Xvfb picks a free display itself and writes its number once it accepts connections.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s "$display_file" ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "FAIL: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[[ -s "$display_file" ]] || { echo "FAIL: Xvfb gave no display in 10 s" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"

# One server for every test. Its services start with the first program; started here, away
# from ctest, they hold no test's output pipe open.
server_started=1
timeout 30 "$WINESERVER" -p
timeout 120 "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1

echo "== Unit tests under Wine (build/win64), at ${SECONDS} s =="
ctest --test-dir build/win64 --output-on-failure -j2 --timeout 120

shopt -s nullglob
for script in tests/wine/*_test.sh; do
  echo "== $script, at ${SECONDS} s =="
  timeout 600 bash "$script"
done
echo "Windows tests passed in ${SECONDS} s"
