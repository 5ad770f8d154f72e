#!/usr/bin/env bash
# The program under Wine at start-up: the patch's message and its bytes in a game folder, and
# the main window when the game holds its file table or the disk is full.
# Run by scripts/test-windows.sh (Xvfb, a running wineserver and the environment of lib.sh).
source "$(dirname "$0")/lib.sh"

# The first run installs, the second uninstalls, in a folder whose name has blanks and
# non-ASCII letters.
install_then_uninstall() {
  local folder fat big
  folder=$(new_game_folder "FIFA Été 2004 – 日本")
  fat="$folder/data/fifa.fat" big="$folder/data/zdata_02.big"
  write_game_files "$folder"

  start_program "$folder"
  answer_box 0 "Brantwell Installed"
  expect_eq "$(byte_at "$fat" "$FILE_TABLE_RECORD") $(byte_at "$big" "$ARCHIVE_F_OFFSET")" \
    "01 65" "file table and archive bytes after installing"
  cmp -s "$fat.bak" "$WORK/original.fat" || fail "the back-up is not the file table as it was"

  start_program "$folder"
  answer_box 0 "Brantwell Uninstalled"
  expect_eq "$(byte_at "$big" "$ARCHIVE_F_OFFSET")" 66 "archive byte after uninstalling"
  cmp -s "$fat" "$WORK/original.fat" || fail "uninstalling did not restore the file table"
}

locked_file_table_opens_the_window() {
  local folder fat holder
  folder=$(new_game_folder locked)
  fat="$folder/data/fifa.fat"
  write_game_files "$folder"
  # The running game holds its file table open without sharing.
  timeout 30 "$WINELOADER" "$PROBE" hold "$(wine_path "$fat")" 20 >"$WORK/held" &
  holder=$!
  STARTED_PIDS+=("$holder")
  wait_for "hold on the file table" grep -qs '^held' "$WORK/held"

  open_window "$folder"
  close_main_window_and_expect_end
  kill "$holder"
  [[ ! -e "$fat.bak" ]] || fail "a back-up was made of a locked file table"
  cmp -s "$fat" "$WORK/original.fat" || fail "the locked file table changed"
  expect_eq "$(byte_at "$folder/data/zdata_02.big" "$ARCHIVE_F_OFFSET")" 66 "archive byte"
}

# A file table too short to hold a record is written back all the same, its bytes unchanged.
short_file_table_is_written_back() {
  local folder fat
  folder=$(new_game_folder short-table)
  fat="$folder/data/fifa.fat"
  write_game_files "$folder"
  truncate -s 1000 "$fat"
  cp "$fat" "$WORK/short.fat"
  touch -d 2001-01-01 "$fat"
  start_program "$folder"
  answer_box 0 "Brantwell Installed"
  [[ -n $(find "$fat" -newermt 2001-01-02) ]] || fail "the file table was not written back"
  cmp -s "$fat" "$WORK/short.fat" || fail "the short file table changed"
}

# A disk too full for the back-up (a small file system of its own, which needs root): the window
# opens, and data\ holds the previous back-up as it was and nothing else new.
full_disk_keeps_the_previous_backup() (
  [[ $(id -u) -eq 0 ]] || { echo "  skipped: mounting a small file system needs root"; return 0; }
  local folder data before
  folder=$(new_game_folder full-disk)
  data="$folder/data"
  mount -t tmpfs -o size=256k tmpfs "$data"
  trap 'umount -l "$data"' EXIT
  head -c 65536 /dev/zero | tr '\0' o >"$data/fifa.fat.bak"
  head -c 163840 /dev/zero >"$data/fifa.fat"
  cp "$data/fifa.fat.bak" "$WORK/previous.bak"
  before=$(listing "$data")
  open_window "$folder"
  close_main_window_and_expect_end
  expect_eq "$(listing "$data")" "$before" "files in data"
  cmp -s "$data/fifa.fat.bak" "$WORK/previous.bak" || fail "the previous back-up changed"
)

run_case "first run installs, second uninstalls, in a folder with blanks and non-ASCII letters" \
  install_then_uninstall
run_case "a file table held by the game: the window opens, nothing changes" \
  locked_file_table_opens_the_window
run_case "a file table of 1,000 bytes is written back unchanged" short_file_table_is_written_back
run_case "a full disk: the window opens, the previous back-up stays" \
  full_disk_keeps_the_previous_backup
