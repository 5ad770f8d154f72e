#!/usr/bin/env bash
# The program under Wine at start-up: the patch's message and its bytes in a game folder, and
# the main window when the game holds its file table or the archive is missing.
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

missing_archive_opens_the_window() {
  local folder big
  folder=$(new_game_folder no-archive)
  big="$folder/data/zdata_02.big"
  write_game_files "$folder" no-archive
  open_window "$folder"
  close_main_window_and_expect_end
  [[ -f "$big" && ! -s "$big" ]] || fail "no empty archive was created"
  expect_eq "$(byte_at "$folder/data/fifa.fat" "$FILE_TABLE_RECORD")" 01 "file table record"
  cmp -s "$folder/data/fifa.fat.bak" "$WORK/original.fat" || fail "wrong back-up"
}

run_case "first run installs, second uninstalls, in a folder with blanks and non-ASCII letters" \
  install_then_uninstall
run_case "a file table held by the game: the window opens, nothing changes" \
  locked_file_table_opens_the_window
run_case "a missing archive: the window opens after the file table is switched" \
  missing_archive_opens_the_window
