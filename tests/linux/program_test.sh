#!/usr/bin/env bash
# The Linux program as a user meets it in a terminal: what it prints and what it does to files.
# Usage: program_test.sh PROGRAM SAMPLE_GAME_TOOL
set -euo pipefail
program=$(realpath "$1")
sample=$(realpath "$2")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected [$2], got [$1]"; }
byte_at() { od -An -tx1 -j "$2" -N1 "$1" | tr -d ' '; }

# A game folder made by the sample tool, with the program copied in.
new_game() {
  local game="$work/$1"
  "$sample" create "$game" "${2:-100000}"
  cp "$program" "$game/verdantix-installer"
  echo "$game"
}

# Runs the program of GAME from another folder, without a display, with standard input ended.
run() { (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY "$1/verdantix-installer" </dev/null); }

echo "== install, then uninstall"
game=$(new_game "FIFA 2004")
cp "$game/data/fifa.fat" "$work/original.fat"
expect_eq "$(run "$game")" "message: Brantwell Installed" "first run"
expect_eq "$(byte_at "$game/data/fifa.fat" 2348)" "01" "record switched to form B"
expect_eq "$(byte_at "$game/data/zdata_02.big" 12345)" "65" "fes became ees"
cmp -s "$game/data/fifa.fat.bak" "$work/original.fat" || fail "back-up holds the original table"
cp "$game/data/fifa.fat" "$work/after-first.fat"
expect_eq "$(run "$game")" "message: Brantwell Uninstalled" "second run"
cmp -s "$game/data/fifa.fat" "$work/original.fat" || fail "second run restores the table"
expect_eq "$(byte_at "$game/data/zdata_02.big" 12345)" "66" "ees became fes again"
cmp -s "$game/data/fifa.fat.bak" "$work/after-first.fat" || fail "back-up holds the first run's table"
expect_eq "$(stat -c %s "$game/data/zdata_02.big")" "100000" "archive keeps its length"

echo "== a folder without the game opens the window and creates nothing"
mkdir -p "$work/empty/data"
cp "$program" "$work/empty/verdantix-installer"
expect_eq "$(run "$work/empty")" "window:  Verdantix Installer" "window caption"
expect_eq "$(find "$work/empty" | wc -l)" "3" "no file created"

echo "== a missing archive is created empty after the table is switched"
game=$(new_game missing-archive)
rm "$game/data/zdata_02.big"
expect_eq "$(run "$game")" "window:  Verdantix Installer" "window after a failed archive"
expect_eq "$(byte_at "$game/data/fifa.fat" 2348)" "01" "table already switched"
expect_eq "$(stat -c %s "$game/data/zdata_02.big")" "0" "empty archive left"

echo "== nothing to switch: no output, files unchanged"
game=$(new_game nothing)
printf 'xxx' | dd of="$game/data/fifa.fat" bs=1 seek=2348 conv=notrunc status=none
printf 'xxx' | dd of="$game/data/zdata_02.big" bs=1 seek=12345 conv=notrunc status=none
cp "$game/data/fifa.fat" "$work/nothing.fat"
cp "$game/data/zdata_02.big" "$work/nothing.big"
expect_eq "$(run "$game")" "" "no output"
cmp -s "$game/data/fifa.fat" "$work/nothing.fat" || fail "table unchanged"
cmp -s "$game/data/zdata_02.big" "$work/nothing.big" || fail "archive unchanged"

echo "== a read-only back-up stops the patch before anything changes"
game=$(new_game read-only)
cp "$game/data/fifa.fat" "$game/data/fifa.fat.bak"
chmod 444 "$game/data/fifa.fat.bak"
expect_eq "$(run "$game")" "window:  Verdantix Installer" "window after a failed back-up"
expect_eq "$(byte_at "$game/data/fifa.fat" 2348)" "08" "table unchanged"

echo "== blanks and non-ASCII letters in the game folder's path"
game=$(new_game "FIFA Été 2004 – 日本")
expect_eq "$(run "$game")" "message: Brantwell Installed" "run in a non-ASCII folder"
expect_eq "$(byte_at "$game/data/zdata_02.big" 12345)" "65" "archive switched there"

echo "== the game folder is the executable's folder, whatever the current folder and link"
game=$(new_game linked)
ln -s "$game/verdantix-installer" "$work/link-to-installer"
expect_eq "$( (cd / && env -u DISPLAY "$work/link-to-installer" </dev/null) )" \
  "message: Brantwell Installed" "run through a link from /"

if [[ $failures -gt 0 ]]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all program checks passed"
