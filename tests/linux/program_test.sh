#!/usr/bin/env bash
# The Linux program as a user meets it in a terminal without a display: all it prints and what
# it does to files.
# Usage: program_test.sh PROGRAM SAMPLE_GAME_TOOL
set -euo pipefail
program=$(realpath "$1")
sample=$(realpath "$2")
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_eq() { [[ "$1" == "$2" ]] || fail "$3: expected [$2], got [$1]"; }
expect_same() { cmp -s "$1" "$2" || fail "$3"; }
byte_at() { od -An -tx1 -j "$2" -N1 "$1" | tr -d ' '; }
# The switched bytes of GAME: the file table's record, then the archive's sequence.
bytes() { echo "$(byte_at "$1/data/fifa.fat" 2348) $(byte_at "$1/data/zdata_02.big" 12345)"; }

# A game folder made by the sample tool, with the program copied in.
new_game() {
  local game="$work/$1"
  "$sample" create "$game" 100000 >/dev/null
  cp "$program" "$game/verdantix-installer"
  echo "$game"
}

# Runs PROGRAM from another folder, with standard input ended; prints all its output.
run() { (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$1" </dev/null 2>&1); }

echo "== install, then uninstall, each backing up the table"
game=$(new_game "FIFA 2004")
cp "$game/data/fifa.fat" "$work/original.fat"
expect_eq "$(run "$game/verdantix-installer")" "message: Brantwell Installed" "first run"
expect_eq "$(bytes "$game")" "01 65" "bytes after the first run"
expect_same "$game/data/fifa.fat.bak" "$work/original.fat" "back-up holds the original table"
cp "$game/data/fifa.fat" "$work/installed.fat"
expect_eq "$(run "$game/verdantix-installer")" "message: Brantwell Uninstalled" "second run"
expect_eq "$(bytes "$game")" "08 66" "bytes after the second run"
expect_same "$game/data/fifa.fat" "$work/original.fat" "second run restores the table"
expect_same "$game/data/fifa.fat.bak" "$work/installed.fat" "back-up holds the first run's table"
expect_eq "$(stat -c %s "$game/data/zdata_02.big")" "100000" "archive keeps its length"

echo "== a folder without the game opens the window and creates nothing"
mkdir -p "$work/empty/data"
cp "$program" "$work/empty/verdantix-installer"
expect_eq "$(run "$work/empty/verdantix-installer")" "window:  Verdantix Installer" "caption"
expect_eq "$(find "$work/empty" | wc -l)" "3" "no file created"

echo "== a missing archive is created empty after the table is switched"
game=$(new_game missing-archive)
rm "$game/data/zdata_02.big"
expect_eq "$(run "$game/verdantix-installer")" "window:  Verdantix Installer" "window"
expect_eq "$(byte_at "$game/data/fifa.fat" 2348)" "01" "table already switched"
expect_eq "$(stat -c %s "$game/data/zdata_02.big")" "0" "empty archive left"

echo "== nothing to switch: no output, files unchanged"
game=$(new_game nothing)
printf 'xxx' | dd of="$game/data/fifa.fat" bs=1 seek=2348 conv=notrunc status=none
printf 'xxx' | dd of="$game/data/zdata_02.big" bs=1 seek=12345 conv=notrunc status=none
cp -r "$game/data" "$work/unchanged"
expect_eq "$(run "$game/verdantix-installer")" "" "no output"
expect_same "$game/data/fifa.fat" "$work/unchanged/fifa.fat" "table unchanged"
expect_same "$game/data/zdata_02.big" "$work/unchanged/zdata_02.big" "archive unchanged"

echo "== a read-only back-up stops the patch before anything changes"
game=$(new_game read-only)
cp "$game/data/fifa.fat" "$game/data/fifa.fat.bak"
chmod 444 "$game/data/fifa.fat.bak"
expect_eq "$(run "$game/verdantix-installer")" "window:  Verdantix Installer" "window"
expect_eq "$(bytes "$game")" "08 66" "bytes unchanged"

echo "== blanks and non-ASCII letters in the game folder's path"
game=$(new_game "FIFA Été 2004 – 日本")
expect_eq "$(run "$game/verdantix-installer")" "message: Brantwell Installed" "run there"
expect_eq "$(bytes "$game")" "01 65" "bytes switched there"

echo "== the game folder is the executable's folder, whatever the current folder and link"
game=$(new_game linked)
ln -s "$game/verdantix-installer" "$work/link-to-installer"
expect_eq "$(run "$work/link-to-installer")" "message: Brantwell Installed" "run through a link"

((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
echo "all program checks passed"
