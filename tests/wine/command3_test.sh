#!/usr/bin/env bash
# Command3 under Wine, clicked by another program as the hidden button allows: the add-on tree
# and the locale files byte for byte, the window left open, and the run-time error report, as
# the user sees it, that ends the program on a second click; the tree built while Command2
# waits for gfxpak1. (A missing source stops at its row: addon/addon_tree_test.cpp.)
# Run by scripts/test-windows.sh.
source "$(dirname "$0")/lib.sh"

# The tree as the program must build it, written out once in addon/addon_tree.txt: the copies
# into the tree, then the three locale files; "\data\kce\x.big" read as "data/kce/x.big".
FOLDERS=() SOURCES=() DESTINATIONS=()
while IFS=$'\t' read -r kind first second; do
  if [[ "$kind" == folder ]]; then
    FOLDERS+=("$first")
  else
    SOURCES+=("$first") DESTINATIONS+=("$second")
  fi
done < <(tr '\\' / <"$(dirname "$0")/../../addon/addon_tree.txt" | sed 's|\t/|\t|g')
expect_eq "${#FOLDERS[@]} ${#SOURCES[@]}" "11 105" "folders and files of the tables"

# Every source: its name, then up to 64 KiB of noise (the first 3 MiB more, so that one copy
# takes many blocks); no "dat_eng.big", so the locale step runs.
write_sources() { # FOLDER
  local i=0 file
  printf '%s\n' "${SOURCES[@]}" | sed 's|/[^/]*$||' | sort -u | (cd "$1" && xargs -d '\n' mkdir -p)
  for file in "${SOURCES[@]}"; do
    { printf '%s\n' "$file" && head -c $(((i++ * 7919) % 65536)) /dev/urandom; } >"$1/$file"
  done
  head -c $((3 << 20)) /dev/urandom >>"$1/${SOURCES[0]}"
}

# The click is done once its last file is there and the window answers again: the window's
# one thread handles nothing else while the click runs.
click_done() { [[ -e "$1" ]] && probe ping "$MAIN_TITLE" >/dev/null; } # LAST_FILE

# Each copy is byte for byte its source, and data\kce holds the tables' folders and copies only.
expect_tree_and_locale_files() { # FOLDER
  local i
  for i in "${!SOURCES[@]}"; do
    cmp -s "$1/${SOURCES[i]}" "$1/${DESTINATIONS[i]}" || fail "${DESTINATIONS[i]} differs"
  done
  expect_eq "$(cd "$1" && find data/kce | sort)" \
    "$(printf '%s\n' "${FOLDERS[@]}" "${DESTINATIONS[@]}" | grep '^data/kce' | sort)" "the tree"
}

click_builds_the_tree_then_a_second_click_ends_the_program() {
  local folder
  folder=$(new_game_folder addon)
  write_sources "$folder"
  echo "an older header" >"$folder/${DESTINATIONS[-2]}"
  open_window "$folder"
  click "$COMMAND3_ID"
  wait_for "end of the click" click_done "$folder/${DESTINATIONS[-1]}"
  expect_tree_and_locale_files "$folder"
  probe wait-window "$MAIN_TITLE" 1 >/dev/null || fail "the window closed after the click"
  ! probe wait-window "$BOX_TITLE" 1 >/dev/null || fail "a message box was shown"

  click "$COMMAND3_ID"
  answer_box 75 "Run-time error '75':" "Path/File access error" "$(wine_path "$folder/data/kce")"
}

# Command2 runs one record, each gfxpak1 run lasting 3 s; during the first, the window is closed
# (it hides, the pass goes on), Command3 clicked and Command2 clicked again (refused).
click_during_command2s_wait_builds_the_tree() {
  local folder
  folder=$(new_game_folder during-wait)
  write_sources "$folder"
  cp "$TEST_BUILD/gfxpak1.exe" "$folder/"
  echo 3000 >"$folder/gfxpak1.control"
  printf 'a,b,c,0,e\r\n' >"$folder/installer.bin"
  open_window "$folder"
  click "$COMMAND2_ID"
  wait_for "gfxpak1 run" grep -qs '^start' "$folder/gfxpak1.log"
  probe close "$MAIN_TITLE" >/dev/null || fail "could not close the main window"
  click "$COMMAND3_ID"
  click "$COMMAND2_ID"
  expect_exit 0
  expect_tree_and_locale_files "$folder"
  expect_eq "$(grep -c '^start' "$folder/gfxpak1.log")" 2 "gfxpak1 runs"
  [[ ! -e "$folder/installer.bin" ]] || fail "the list file was not deleted"
}

run_case "Command3 during Command2's wait builds the tree; the pass then ends the program" \
  click_during_command2s_wait_builds_the_tree
run_case "Command3 builds the tree; a second click ends with error 75" \
  click_builds_the_tree_then_a_second_click_ends_the_program
