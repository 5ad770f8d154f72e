#!/usr/bin/env bash
# The main window under Wine: keys do nothing, the hidden buttons answer clicks sent by
# another program, and the client area follows the screen's DPI.
# Run by scripts/test-windows.sh (Xvfb, a running wineserver and the environment of lib.sh).
source "$(dirname "$0")/lib.sh"

readonly COMMAND2_ID=1002
readonly COMMAND3_ID=1003

# open_main_window NAME: a game folder without a file table, the program showing its window.
open_main_window() {
  GAME=$(new_game_folder "$1")
  start_program "$GAME"
  wait_window "$MAIN_TITLE"
}

keys_do_nothing() {
  open_main_window keys
  local before x_window
  before=$(listing "$GAME")
  x_window=$(timeout 5 xdotool search --name "^${MAIN_TITLE}\$" | head -n 1)
  [[ -n "$x_window" ]] || fail "no X window for the main window"
  timeout 10 xdotool windowfocus --sync "$x_window" key Tab Return space Tab space Return
  probe ping "$MAIN_TITLE" >/dev/null || fail "the window stopped answering"
  # A click action would have created files (Command3) or ended the program (Command2).
  expect_eq "$(listing "$GAME")" "$before" "files after the keys"
  ! grep -qP '\tvisible\t' <<<"$(probe texts "$MAIN_TITLE")" || fail "a control is shown"
  # Alt+F4 through the same path shows that the keys above did reach the window.
  timeout 10 xdotool windowfocus --sync "$x_window" key alt+F4
  wait_exit || fail "the program ended with status $?"
}

# expect_action_report WHAT PATTERN: the click ran an action, which reports in a box whose text
# matches PATTERN (a Perl regular expression); OK ends the program.
expect_action_report() {
  wait_window "$BOX_TITLE"
  local texts
  texts=$(probe texts "$BOX_TITLE")
  grep -qP "^Static\t-?\d+\tvisible\t$2" <<<"$texts" || fail "no report after clicking $1: $texts"
  probe press-ok "$BOX_TITLE" >/dev/null || fail "could not press OK"
  wait_exit || true
}

command3_clicked_by_another_program() {
  open_main_window command3
  probe click "$MAIN_TITLE" "$COMMAND3_ID" >/dev/null || fail "could not click Command3"
  # The add-on tree starts with its folders, then fails on the first game file it lacks.
  expect_action_report Command3 "Run-time error '\\d+':"
  [[ -d "$GAME/data/kce" ]] || fail "the add-on tree was not started"
}

command2_clicked_by_bm_click() {
  open_main_window command2
  probe bm-click "$MAIN_TITLE" "$COMMAND2_ID" >/dev/null || fail "could not click Command2"
  # Without a list file the package installer says so.
  expect_action_report Command2 "Patch Not Installed! Error! Install it again$"
}

window_follows_the_dpi() {
  local desktop='HKCU\Control Panel\Desktop'
  timeout 20 "$WINELOADER" reg add "$desktop" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
  open_main_window dpi
  # Back to the prefix's default at once, so a failure below leaves no trace in the prefix.
  timeout 20 "$WINELOADER" reg delete "$desktop" /v LogPixels /f >/dev/null
  expect_eq "$(probe client "$MAIN_TITLE" | sed -n 's/^size //p')" "476 186" "client at 144 DPI"
  close_main_window_and_expect_end
}

run_case "Tab, Enter and Space do nothing" keys_do_nothing
run_case "WM_COMMAND from another program clicks hidden Command3" command3_clicked_by_another_program
run_case "BM_CLICK from another program clicks hidden Command2" command2_clicked_by_bm_click
run_case "the client area is 476 x 186 at 144 DPI" window_follows_the_dpi
