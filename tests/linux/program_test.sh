#!/usr/bin/env bash
# The Linux program as a user meets it in a terminal without a display: all it prints and what
# it does to files.
# Usage: program_test.sh PROGRAM SAMPLE_GAME_TOOL
set -euo pipefail
program=$(realpath "$1")
sample=$(realpath "$2")
work=$(mktemp -d)
trap 'umount "$work/full" 2>/dev/null || true; chmod -R u+w "$work"; rm -rf "$work"' EXIT
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

echo "== a folder without the game opens the window and creates nothing"
mkdir -p "$work/empty/data"
cp "$program" "$work/empty/verdantix-installer"
expect_eq "$(run "$work/empty/verdantix-installer")" "window:  Verdantix Installer" "caption"
expect_eq "$(find "$work/empty" | wc -l)" "3" "no file created"

echo "== the game folder is the executable's folder, whatever the current folder and link"
game=$(new_game linked)
ln -s "$game/verdantix-installer" "$work/link-to-installer"
expect_eq "$(run "$work/link-to-installer")" "message: Brantwell Installed" "run through a link"

echo "== blanks, non-ASCII letters, and names in other letter cases, found as Windows finds them"
game=$(new_game "FIFA Été 2004 – 日本")
mv "$game/data" "$game/Data"
mv "$game/Data/fifa.fat" "$game/Data/FIFA.FAT"
mv "$game/Data/zdata_02.big" "$game/Data/Zdata_02.BIG"
expect_eq "$(run "$game/verdantix-installer")" "message: Brantwell Installed" "run there"
expect_eq "$(byte_at "$game/Data/FIFA.FAT" 2348) $(byte_at "$game/Data/Zdata_02.BIG" 12345)" \
  "01 65" "bytes switched there"
expect_eq "$(cd "$game" && echo * Data/*.bak)" "Data verdantix-installer Data/fifa.fat.bak" \
  "one data folder, the back-up made in it"

echo "== a file-size limit fails the back-up (error 61) instead of ending the program"
game=$(new_game size-limit)
expect_eq "$(ulimit -f 64 && run "$game/verdantix-installer")" "window:  Verdantix Installer" "window"
expect_eq "$(ls -A "$game/data" | grep -c -e '^\.' -e '\.bak$')" "0" "no back-up, no stray file"

echo "== a folder path beyond the kernel's limit: the window opens all the same"
long=$(printf 'x%.0s' {1..200})
deep=$(cd "$work" && for _ in {1..21}; do mkdir "$long" && cd "$long"; done && cp "$program" . &&
  env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 ./"${program##*/}" </dev/null 2>&1; echo "exit $?")
expect_eq "$deep" "$(printf 'window:  Verdantix Installer\nexit 0')" "deep folder"

echo "== a display that GTK cannot open is named in one line, then the terminal serves"
expect_eq "$(env -u WAYLAND_DISPLAY DISPLAY=:4711 timeout 10 "$work/empty/verdantix-installer" \
  </dev/null 2>&1 | head -n1)" \
  "verdantix-installer: GTK cannot open the display; using the terminal instead" "stderr"

echo "== as root: without /proc, and on a full disk"
if [[ $(id -u) == 0 ]] && mkdir "$work/full" && mount -t tmpfs -o size=2m tmpfs "$work/full"; then
  game=$(new_game no-proc)
  expect_eq "$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 unshare --mount \
    sh -c 'mount -t tmpfs none /proc && exec "$0"' "$game/verdantix-installer" </dev/null 2>&1)" \
    "message: Brantwell Installed" "run without /proc"
  game="$work/full/game"
  mkdir -p "$game/data" && cp "$program" "$game/verdantix-installer"
  echo "previous back-up" >"$game/data/fifa.fat.bak"
  head -c $(($(df --output=avail -B1 "$work/full" | tail -n1) * 6 / 10)) /dev/zero \
    >"$game/data/fifa.fat"
  expect_eq "$(run "$game/verdantix-installer")" "window:  Verdantix Installer" "disk full"
  expect_eq "$(cat "$game/data/fifa.fat.bak")" "previous back-up" "previous back-up kept"
  expect_eq "$(ls -A "$game/data" | tr '\n' ' ')" "fifa.fat fifa.fat.bak " "no stray file"
  umount "$work/full"
else
  echo "SKIP: needs root and a tmpfs mount"
fi

((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
echo "all program checks passed"
