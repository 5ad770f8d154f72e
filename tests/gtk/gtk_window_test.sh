#!/usr/bin/env bash
# The GTK front's window: a folder without the game's files opens " Verdantix Installer", a
# fixed utility window without taskbar entry, 317 x 124 pixels of navy at 96 DPI.
# Closing it with alt+F4 ends the program and no file is made.
# Usage: gtk_window_test.sh PROGRAM SAMPLE_GAME WORK_FOLDER
set -euo pipefail
program=$1 work=$3
source "$(dirname "$0")/x_session.sh"

start_x_session "$work"
mkdir "$work/empty"
cp "$program" "$work/empty/"
"$work/empty/verdantix-installer" >"$work/stdout" 2>"$work/stderr" </dev/null &
pid=$!
window=$(find_window '^ Verdantix Installer$')

# xwininfo's "Absolute upper-left X:  353" and "Width: 317" lines.
geometry() { timeout 10 xwininfo -id "$window" | awk -F: -v key="$1" '$1 ~ key { gsub(/ /, "", $2); print $2 }'; }
width=$(geometry 'Width') height=$(geometry 'Height')
[[ "${width}x${height}" == 317x124 ]] || fail "client area ${width}x${height}, not 317x124"
left=$(geometry 'Absolute upper-left X') top=$(geometry 'Absolute upper-left Y')

hints=$(timeout 10 xprop -id "$window" _NET_WM_WINDOW_TYPE _NET_WM_STATE _NET_WM_ALLOWED_ACTIONS)
for hint in WINDOW_TYPE_UTILITY STATE_SKIP_TASKBAR STATE_SKIP_PAGER ACTION_CLOSE; do
  grep -q "_NET_WM_$hint" <<<"$hints" || fail "no $hint: $hints"
done
for action in MAXIMIZE_HORZ MAXIMIZE_VERT RESIZE; do
  grep -q "_NET_WM_ACTION_$action" <<<"$hints" && fail "the manager offers $action: $hints"
done

timeout 10 import -window root "$work/window.png"
for point in "$((left + 1)),$((top + 1))" "$((left + width / 2)),$((top + height / 2))" \
  "$((left + width - 2)),$((top + height - 2))"; do
  colour=$(convert "$work/window.png" -format "%[pixel:p{$point}]" info:)
  [[ $colour == "srgb(0,0,64)" ]] || fail "colour at $point is $colour, not srgb(0,0,64)"
done

timeout 10 xdotool windowfocus --sync "$window" key alt+F4
wait_for_exit "$pid" 10
[[ $exit_status == 0 ]] || fail "exit status $exit_status after closing"
[[ $(ls -A "$work/empty") == verdantix-installer ]] || fail "files made: $(ls -A "$work/empty")"
[[ ! -s $work/stdout ]] || fail "the GTK front wrote to standard output: $(cat "$work/stdout")"
echo "gtk_window: 1 passed, 0 failed"
