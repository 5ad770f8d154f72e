#!/usr/bin/env bash
# The GTK front's message dialog: a game folder shows "Verdantix Installer", and Return ends the
# program with both bytes switched.
# Usage: gtk_dialog_test.sh PROGRAM SAMPLE_GAME WORK_FOLDER
set -euo pipefail
program=$1 sample_game=$2 work=$3
source "$(dirname "$0")/x_session.sh"

start_x_session "$work"
game="$work/game"
"$sample_game" create "$game" >/dev/null
cp "$program" "$game/"

"$game/verdantix-installer" >"$work/stdout" 2>"$work/stderr" </dev/null &
pid=$!
dialog=$(find_window '^Verdantix Installer$')
timeout 10 import -window root "$work/dialog.png"
timeout 10 xdotool windowfocus --sync "$dialog" key Return
wait_for_exit "$pid" 10
[[ $exit_status == 0 ]] || fail "exit status $exit_status"
[[ ! -s $work/stdout ]] || fail "the GTK front wrote to standard output: $(cat "$work/stdout")"
bytes="$(byte_at "$game/data/fifa.fat" 2348) $(byte_at "$game/data/zdata_02.big" 12345)"
[[ $bytes == "01 65" ]] || fail "table and archive bytes are $bytes, not 01 65"
echo "gtk_dialog: 1 passed, 0 failed"
