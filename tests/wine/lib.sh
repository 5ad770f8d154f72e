# Helpers of the end-to-end tests under Wine, sourced in the environment and session of
# scripts/wine-env.sh: game folders, the started program, its windows through the probe.

set -Eeuo pipefail
# A command that fails outside a check ends the script; this says which.
trap 'echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND" >&2' ERR

: "${WINELOADER:?}" "${WINEPREFIX:?}" "${DISPLAY:?}" "${VERDANTIX_EXE:?}" "${VERDANTIX_BUILD:?}"
TEST_BUILD="$VERDANTIX_BUILD/tests/wine" # probe.exe, the stand-in gfxpak1.exe, planted.dll

readonly MAIN_TITLE=" Verdantix Installer" BOX_TITLE="Verdantix Installer"
readonly PROGRAM_TIMEOUT=30 # seconds a started program may live at most
WAIT_SECONDS=10 # for a window to appear or a program to end; a case may give one wait more
readonly FILE_TABLE_RECORD=2348 # record 37 of the file table, in form A when written here
readonly ARCHIVE_F_OFFSET=12345 # the one "fes" of the archive written here

WORK=$(mktemp -d)
STARTED_PIDS=() # stopped at the end, with WORK removed
trap 'kill "${STARTED_PIDS[@]}" 2>/dev/null || true; rm -rf "$WORK"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected '$2', got '$1'"; } # ACTUAL EXPECTED WHAT

# The Windows name of a Unix path: drive Z: is the Unix root in every Wine prefix.
wine_path() { local path="Z:$1"; echo "${path//\//\\}"; }

probe() { timeout 20 "$WINELOADER" "$TEST_BUILD/probe.exe" "$@"; }

# wait_for WHAT COMMAND...: runs COMMAND until it succeeds; fails naming WHAT after WAIT_SECONDS.
wait_for() {
  local what="$1" deadline=$((SECONDS + WAIT_SECONDS))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || fail "no $what within ${WAIT_SECONDS} s"
    sleep 0.05
  done
}

# new_game_folder NAME: an empty game folder holding a copy of the program; prints its path.
new_game_folder() {
  local folder="$WORK/$1"
  mkdir -p "$folder/data"
  cp "$VERDANTIX_EXE" "$folder/"
  echo "$folder"
}

put_bytes() { printf '%b' "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

# write_game_files FOLDER: a table of zeros with one record in form A (08 84 E8), copied to
# $WORK/original.fat; an archive of zeros, longer than the patch's window, one "fes" in it.
write_game_files() {
  head -c 4096 /dev/zero >"$1/data/fifa.fat"
  put_bytes "$1/data/fifa.fat" "$FILE_TABLE_RECORD" '\x08\x84\xe8'
  cp "$1/data/fifa.fat" "$WORK/original.fat"
  head -c 65536 /dev/zero >"$1/data/zdata_02.big"
  put_bytes "$1/data/zdata_02.big" "$ARCHIVE_F_OFFSET" 'fes'
}

byte_at() { od -An -tx1 -j "$2" -N1 "$1" | tr -d ' \n'; } # FILE OFFSET: two hex digits

# Every file under a folder with a checksum of its bytes: compared before and after a run.
listing() { (cd "$1" && find . -type f -exec md5sum {} + | sort -k2); }

# start_program FOLDER: starts the program in the background; PROGRAM_PID is its Unix PID.
start_program() {
  timeout "$PROGRAM_TIMEOUT" "$WINELOADER" "$1/VerdantixInstaller.exe" >/dev/null 2>&1 &
  PROGRAM_PID=$!
  STARTED_PIDS+=("$PROGRAM_PID")
}

# The started program's own Unix process: the child of start_program's timeout.
program_unix_pid() { cut -d' ' -f1 "/proc/$PROGRAM_PID/task/$PROGRAM_PID/children"; }

# The started program's CPU time in milliseconds, all its threads (Wine's GetProcessTimes gives
# no real figure for another process).
program_cpu_ms() {
  local ticks
  ticks=$(sed 's/.*) //' "/proc/$(program_unix_pid)/stat" | awk '{ print $12 + $13 }') # user + system
  echo $((ticks * 1000 / $(getconf CLK_TCK)))
}

wait_window() { wait_for "window '$1'" probe visible "$1"; } # TITLE

open_window() { start_program "$1"; wait_window "$MAIN_TITLE"; } # FOLDER

click() { probe click "$MAIN_TITLE" "$1" >/dev/null || fail "could not click control $1"; }

program_ended() { ! kill -0 "$PROGRAM_PID" 2>/dev/null; }

# wait_exit: waits for the started program to end; returns its exit status.
wait_exit() { wait_for "end of the program" program_ended && wait "$PROGRAM_PID"; }

expect_exit() { # STATUS
  local status=0
  wait_exit || status=$?
  expect_eq "$status" "$1" "exit status"
}

# answer_box STATUS LINE...: the box titled with the application title shows each LINE, whole,
# and one button, OK (IDOK); pressing it ends the program with STATUS.
answer_box() {
  wait_window "$BOX_TITLE"
  local texts lines line
  texts=$(probe texts "$BOX_TITLE")
  lines=$(sed -E 's/^\w+\t-?[0-9]+\t\w+\t//' <<<"$texts") # the controls' texts, line by line
  for line in "${@:2}"; do
    grep -qxF -- "$line" <<<"$lines" || fail "no '$line' in the box: $texts"
  done
  expect_eq "$(grep -P '^Button\t' <<<"$texts" | cut -f2,4)" $'1\tOK' "buttons of the box"
  probe click "$BOX_TITLE" 1 >/dev/null || fail "could not press OK"
  expect_exit "$1"
}

run_case() { # NAME FUNCTION: runs one case, then says when it passed
  "$2"
  echo "PASS $1 (at ${SECONDS} s)"
}
