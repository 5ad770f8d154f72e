#!/usr/bin/env bash
# The GTK front's message dialog: a patched game folder shows "Verdantix Installer" with OK,
# and Return ends the program with both bytes switched; the next start switches them back.
# Usage: gtk_dialog_test.sh PROGRAM SAMPLE_GAME WORK_FOLDER
set -euo pipefail
program=$1 sample_game=$2 work=$3
source "$(dirname "$0")/x_session.sh"

rm -rf "$work" && mkdir -p "$work"
trap stop_x_session EXIT
start_x_session "$work"
game="$work/game"
"$sample_game" create "$game" >/dev/null
cp "$program" "$game/"

run_and_confirm() {
  local expected_table=$1 expected_archive=$2 shot=$3
  "$game/verdantix-installer" >"$work/stdout" 2>"$work/stderr" </dev/null &
  local pid=$!
  local dialog
  dialog=$(find_window '^Verdantix Installer$') || fail "no dialog titled 'Verdantix Installer'"
  [[ -n $dialog ]] || fail "no dialog titled 'Verdantix Installer'"
  timeout 10 import -window root "$work/$shot"
  timeout 10 xdotool windowfocus --sync "$dialog" key Return
  wait_for_exit "$pid" 10
  [[ $exit_status == 0 ]] || fail "exit status $exit_status"
  [[ ! -s $work/stdout ]] || fail "the GTK front wrote to standard output: $(cat "$work/stdout")"
  [[ $(byte_at "$game/data/fifa.fat" 2348) == "$expected_table" ]] ||
    fail "fifa.fat offset 2348 is $(byte_at "$game/data/fifa.fat" 2348), not $expected_table"
  [[ $(byte_at "$game/data/zdata_02.big" 12345) == "$expected_archive" ]] ||
    fail "zdata_02.big offset 12345 is not $expected_archive"
}

[[ $(byte_at "$game/data/fifa.fat" 2348) == 08 ]] || fail "sample table not in form A"
[[ $(byte_at "$game/data/zdata_02.big" 12345) == 66 ]] || fail "sample archive without F"
run_and_confirm 01 65 installed.png
run_and_confirm 08 66 uninstalled.png
echo "gtk_dialog: 2 passed, 0 failed"
