#!/usr/bin/env bash
# Without a display the program keeps to the terminal: a patched game folder prints its message,
# a folder without the game's files prints the window's caption, and nothing else is printed.
# Usage: terminal_front_test.sh PROGRAM SAMPLE_GAME WORK_FOLDER
set -euo pipefail
program=$1 sample_game=$2 work=$3
source "$(dirname "$0")/x_session.sh"

rm -rf "$work" && mkdir -p "$work/empty"
"$sample_game" create "$work/game" >/dev/null
cp "$program" "$work/game/"
cp "$program" "$work/empty/"

expect_output() {
  local folder=$1 expected=$2 output
  output=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$work/$folder/verdantix-installer" \
    </dev/null 2>&1) || fail "exit status $? in $folder"
  [[ $output == "$expected" ]] || fail "in $folder printed '$output', not '$expected'"
}

expect_output game "message: Brantwell Installed"
expect_output empty "window:  Verdantix Installer"
echo "terminal_front: 2 passed, 0 failed"
