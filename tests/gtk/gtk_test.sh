#!/usr/bin/env bash
# The GTK front under its own X server with openbox: its in-process tests, then the program. With
# no game it opens " Verdantix Installer", a utility window off the taskbar, 317 x 124 pixels of
# navy at 96 DPI, that alt+F4 closes; in a game the patch's message is a dialog "Verdantix
# Installer" that Return answers; both end with status 0, printing nothing. Xvfb missing: 77.
# Usage: gtk_test.sh GTK_UI_TEST PROGRAM SAMPLE_GAME WORK_FOLDER
set -euo pipefail
ui_test=$1 program=$2 sample_game=$3 work=$4
export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory

fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }

# Fails, naming the STEP, unless the background job PID ends with status 0 within 10 s.
expect_exit_0() { # PID STEP
  timeout 10 tail --pid="$1" -f /dev/null || { kill "$1"; fail "still running 10 s after $2"; }
  wait "$1" || fail "exit status $? after $2"
}

# Prints the visible X window whose title matches the regular expression, waiting up to 10 s.
find_window() { timeout 10 xdotool search --sync --onlyvisible --limit 1 --name "$1"; }

rm -rf "$work" && mkdir -p "$work"
coproc XVFB { exec Xvfb -displayfd 1 -noreset -screen 0 1024x768x24 -nolisten tcp 2>"$work/xvfb.log"; }
x_pids=("$XVFB_PID")
trap 'kill "${x_pids[@]}" 2>/dev/null || true; wait "${x_pids[@]}" 2>/dev/null || true' EXIT
read -r -t 10 -u "${XVFB[0]}" display ||
  skip "no display, Xvfb cannot start here: $(grep -v '^(EE) *$' "$work/xvfb.log" | tail -n 1)"
export DISPLAY=":$display"
# Once a client is answered: openbox started sooner was seen to find no display, under load.
timeout 10 sh -c 'until xprop -root >/dev/null 2>&1; do sleep 0.1; done' || fail "no display"
openbox --sm-disable >"$work/openbox.log" 2>&1 &
x_pids+=($!)
timeout 10 sh -c 'until wmctrl -m; do sleep 0.1; done' >/dev/null 2>&1 || fail "no openbox"

timeout 60 "$ui_test"

mkdir "$work/empty"
cp "$program" "$work/empty/"
"$work/empty/verdantix-installer" >"$work/stdout" </dev/null &
pid=$!
window=$(find_window '^ Verdantix Installer$') || fail "no window ' Verdantix Installer'"
hints=$(timeout 10 xprop -id "$window" _NET_WM_WINDOW_TYPE _NET_WM_STATE _NET_WM_ALLOWED_ACTIONS)
for hint in WINDOW_TYPE_UTILITY STATE_SKIP_TASKBAR STATE_SKIP_PAGER ACTION_CLOSE; do
  grep -q "_NET_WM_$hint" <<<"$hints" || fail "no $hint: $hints"
done
timeout 10 import -window "$window" "$work/window.png"
shown=$(convert "$work/window.png" -format '%wx%h, %k colour: %[pixel:p{0,0}]' info:)
[[ $shown == "317x124, 1 colour: srgb(0,0,64)" ]] || fail "client area $shown, not 317x124 of navy"
timeout 10 xdotool windowfocus --sync "$window" key alt+F4
expect_exit_0 "$pid" "alt+F4 on the window"

"$sample_game" create "$work/game" >/dev/null
cp "$program" "$work/game/"
"$work/game/verdantix-installer" >>"$work/stdout" </dev/null &
pid=$!
dialog=$(find_window '^Verdantix Installer$') || fail "no dialog 'Verdantix Installer'"
timeout 10 xdotool windowfocus --sync "$dialog" key Return
expect_exit_0 "$pid" "Return on the dialog"
[[ ! -s $work/stdout ]] || fail "the GTK front wrote to standard output: $(cat "$work/stdout")"
echo "gtk: all passed"
