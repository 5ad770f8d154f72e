#!/usr/bin/env bash
# The program under Wine as a user meets it at start-up: the patch's message and its bytes in
# a game folder, and the main window when the patch cannot be carried out.
# Run by scripts/test-windows.sh (Xvfb, a running wineserver and the environment of lib.sh).
source "$(dirname "$0")/lib.sh"

# Patching a game folder: "Installed", then "Uninstalled", bytes switched back and forth.
expect_install_and_uninstall() { # FOLDER
  local folder="$1" fat="$1/data/fifa.fat" big="$1/data/zdata_02.big"
  write_file_table "$folder"
  write_archive "$folder"
  cp "$fat" "$WORK/original.fat"

  start_program "$folder"
  expect_message_box "Brantwell Installed"
  press_ok_and_expect_end
  expect_eq "$(byte_at "$fat" "$FILE_TABLE_RECORD")" 01 "file table record after installing"
  expect_eq "$(byte_at "$big" "$ARCHIVE_F_OFFSET")" 65 "archive byte after installing"
  cmp -s "$fat.bak" "$WORK/original.fat" || fail "the back-up is not the file table as it was"

  start_program "$folder"
  expect_message_box "Brantwell Uninstalled"
  press_ok_and_expect_end
  expect_eq "$(byte_at "$fat" "$FILE_TABLE_RECORD")" 08 "file table record after uninstalling"
  expect_eq "$(byte_at "$big" "$ARCHIVE_F_OFFSET")" 66 "archive byte after uninstalling"
  cmp -s "$fat" "$WORK/original.fat" || fail "uninstalling did not restore the file table"
}

# The main window is open: checks what the user sees of it.
expect_main_window() {
  local client size origin style exstyle
  client=$(probe client "$MAIN_TITLE")
  size=$(sed -n 's/^size //p' <<<"$client")
  origin=$(sed -n 's/^origin //p' <<<"$client")
  style=$(sed -n 's/^style //p' <<<"$client")
  exstyle=$(sed -n 's/^exstyle //p' <<<"$client")
  expect_eq "$size" "317 124" "client area at 96 DPI"
  ((exstyle & 0x80)) || fail "not a tool window (exstyle $exstyle)"
  # A tool window without owner and without WS_EX_APPWINDOW has no taskbar entry.
  ((!(exstyle & 0x40000))) || fail "WS_EX_APPWINDOW set (exstyle $exstyle)"
  ((!(style & 0x70000))) || fail "sizing border, minimise or maximise box (style $style)"
  ((style & 0x80000)) || fail "no close box (style $style)"

  local expected_children
  expected_children=$(printf '%s\n' $'Button\t1003\thidden\tCommand3' \
    $'Button\t1002\thidden\t' $'Edit\t1004\thidden\tText2')
  expect_eq "$(probe texts "$MAIN_TITLE")" "$expected_children" "children of the main window"

  local x y shot="$WORK/screen.png"
  read -r x y <<<"$origin"
  timeout 10 import -window root "$shot"
  expect_eq "$(convert "$shot" -format "%[pixel:p{$((x + 150)),$((y + 60))}]" info:)" \
    "srgb(0,0,64)" "colour inside the client area"
}

first_and_second_run() {
  expect_install_and_uninstall "$(new_game_folder game)"
}

folder_with_unusual_name() {
  expect_install_and_uninstall "$(new_game_folder "FIFA Été 2004 – 日本")"
}

no_file_table_opens_the_window() {
  local folder before
  folder=$(new_game_folder empty)
  before=$(listing "$folder")
  start_program "$folder"
  wait_window "$MAIN_TITLE"
  expect_main_window
  close_main_window_and_expect_end
  expect_eq "$(listing "$folder")" "$before" "files after the run"
}

locked_file_table_opens_the_window() {
  local folder fat held
  folder=$(new_game_folder locked)
  fat="$folder/data/fifa.fat"
  write_file_table "$folder"
  write_archive "$folder"
  cp "$fat" "$WORK/original.fat"
  # The running game holds its file table open without sharing.
  held="$WORK/held.out"
  timeout 30 "$WINELOADER" "$PROBE" hold "$(wine_path "$fat")" 20 >"$held" &
  local holder=$!
  STARTED_PIDS+=("$holder")
  local deadline=$((SECONDS + WAIT_SECONDS))
  until grep -qs '^held' "$held"; do
    ((SECONDS < deadline)) || fail "the file table could not be held: $(cat "$held")"
    sleep 0.05
  done

  start_program "$folder"
  wait_window "$MAIN_TITLE"
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
  write_file_table "$folder"
  cp "$folder/data/fifa.fat" "$WORK/original.fat"
  start_program "$folder"
  wait_window "$MAIN_TITLE"
  close_main_window_and_expect_end
  [[ -f "$big" && ! -s "$big" ]] || fail "no empty archive was created"
  expect_eq "$(byte_at "$folder/data/fifa.fat" "$FILE_TABLE_RECORD")" 01 "file table record"
  cmp -s "$folder/data/fifa.fat.bak" "$WORK/original.fat" || fail "wrong back-up"
}

run_case "first run installs, second run uninstalls" first_and_second_run
run_case "a game folder with blanks and non-ASCII characters" folder_with_unusual_name
run_case "no file table: the main window opens, nothing is created" no_file_table_opens_the_window
run_case "a file table held by the game: the window opens, nothing changes" \
  locked_file_table_opens_the_window
run_case "a missing archive: the window opens after the file table is switched" \
  missing_archive_opens_the_window
