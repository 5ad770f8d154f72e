#!/usr/bin/env bash
# The Linux program as a user meets it in a terminal without a display: all it prints and what it
# does to files. A case that needs a privilege probes for it and says why it skips.
# Usage: program_test.sh PROGRAM SAMPLE_GAME_TOOL
set -euo pipefail
program=$(realpath "$1")
sample=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
window="window:  Verdantix Installer"

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected [$2], got [$1]"; }

# A game folder made by the sample tool, with the program copied in; prints it.
new_game() {
  "$sample" create "$work/$1" 100000 >/dev/null
  cp "$program" "$work/$1/verdantix-installer"
  echo "$work/$1"
}

# Runs COMMAND... without a display (unless $display names one), input ended; prints its output.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY ${display:+DISPLAY=$display} timeout 10 "$@" </dev/null 2>&1
}

echo "== install, then uninstall through a link, in a folder whose path is over 256 bytes long"
game=$(new_game "FIFA 2004 $(printf 'x%.0s' {1..240})")
cp "$game/data/fifa.fat" original.fat
expect_eq "$(run "$game/verdantix-installer")" "message: Brantwell Installed" "first run"
ln -s "$game/verdantix-installer" link
expect_eq "$(run ./link)" "message: Brantwell Uninstalled" "second run, through a link"
cmp -s "$game/data/fifa.fat" original.fat || fail "second run restores the table"

echo "== no game, a display that GTK cannot open: one line says so, the terminal shows the window"
mkdir -p empty/data
cp "$program" empty/verdantix-installer
expect_eq "$(display=:4711 run empty/verdantix-installer)" \
  "verdantix-installer: GTK cannot open the display; using the terminal instead"$'\n'"$window" \
  "output"
expect_eq "$(find empty | wc -l)" "3" "no file created"

echo "== a file-size limit fails the back-up (error 61, the window opens) instead of a signal"
game=$(new_game size-limit)
expect_eq "$(ulimit -f 64 && run "$game/verdantix-installer")" "$window" "window"

echo "== a folder path beyond the kernel's limit: the window opens all the same"
long=$(printf 'x%.0s' {1..200})
deep=$(for _ in {1..21}; do mkdir "$long" && cd "$long"; done && cp "$program" . &&
  run ./verdantix-installer; echo "exit $?")
expect_eq "$deep" "$window"$'\n'"exit 0" "deep folder"

echo "== started by a relative path where /proc is not mounted"
if ! unshare --mount true 2>/dev/null; then
  echo "SKIP: hiding /proc needs a mount namespace (unshare --mount)"
else
  game=$(new_game no-proc)
  expect_eq "$(cd "$game" && run unshare --mount sh -c \
    'mount -t tmpfs none /proc && exec ./verdantix-installer')" \
    "message: Brantwell Installed" "run without /proc"
fi

((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
echo "all program checks passed"
