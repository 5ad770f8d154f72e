#!/usr/bin/env bash
# The real program's hidden buttons under Wine, clicked by another program: what gfxpak1 (the
# stand-in) gets, the program's wait, Command3's files, the error report as the user sees it.
# Which records and which tree: app/, installer/, addon/. Run by scripts/test-windows.sh.
source "$(dirname "$0")/lib.sh"

readonly COMMAND2_ID=1002 COMMAND3_ID=1003
readonly LONG_RUN_MS=3000 # of each gfxpak1 run
readonly CPU_LIMIT_MS=50  # 5% of the second measured in the first run

# The tree as the program must build it, written out once in addon/addon_tree.txt: folders, the
# copies into the tree, then the three locale files; "\data\kce\x.big" read as "data/kce/x.big".
tree=$(tr '\\' / <"$(dirname "$0")/../../addon/addon_tree.txt" | sed 's|\t/|\t|g')
mapfile -t FOLDERS < <(sed -n 's/^folder\t//p' <<<"$tree")
mapfile -t SOURCES < <(sed -n 's/^[a-z]*\t\(.*\)\t.*/\1/p' <<<"$tree")
mapfile -t DESTINATIONS < <(sed -n 's/^[a-z]*\t.*\t//p' <<<"$tree")
expect_eq "${#FOLDERS[@]} ${#SOURCES[@]}" "11 105" "folders and files of the tables"

# Once its last file is there, a click is done when the window's one thread answers again.
click_done() { [[ -e "$1" ]] && probe ping "$MAIN_TITLE" >/dev/null; } # LAST_FILE

# During the first gfxpak1 run: the program idles a second, Command3 is clicked, then the window
# is closed (it hides) and Command2 clicked again (refused).
clicks_during_command2s_wait_then_command3_again() {
  local folder file i used expected line
  folder=$(new_game_folder clicks)
  # Every source holds its name, the first 3 MiB more, so that its copy takes many pieces; no
  # "dat_eng.big", so the locale step runs.
  printf '%s\n' "${SOURCES[@]/#/$folder/}" | sed 's|/[^/]*$||' | sort -u | xargs -d '\n' mkdir -p
  for file in "${SOURCES[@]}"; do echo "$file" >"$folder/$file"; done
  head -c $((3 << 20)) /dev/urandom >>"$folder/${SOURCES[0]}"
  echo "an older header" >"$folder/${DESTINATIONS[-2]}"
  cp "$TEST_BUILD/gfxpak1.exe" "$folder/"
  echo "$LONG_RUN_MS" >"$folder/gfxpak1.control"
  printf '"my caf\xe9",b,c,1,e\r\n' >"$folder/installer.bin"
  cd "$WORK" # the program is started from another folder
  open_window "$folder"
  click "$COMMAND2_ID"
  wait_for "first gfxpak1 run" grep -qs '^start' "$folder/gfxpak1.log"
  used=$(program_cpu_ms)
  sleep 1
  used=$(($(program_cpu_ms) - used))
  echo "  program CPU during 1 s of a gfxpak1 run: ${used} ms"
  ((used < CPU_LIMIT_MS)) || fail "the program used ${used} ms of CPU while waiting"
  click "$COMMAND3_ID"
  wait_for "end of the click" click_done "$folder/${DESTINATIONS[-1]}"
  probe visible "$MAIN_TITLE" || fail "the window closed after the click"
  ! probe visible "$BOX_TITLE" || fail "a message box was shown"
  probe close "$MAIN_TITLE" >/dev/null || fail "could not close the main window"
  click "$COMMAND2_ID"
  expect_exit 0

  expected=$(for line in "/i c b my café /c" "/r c c"; do
    printf 'start\tgfxpak1 %s\t%s\tshow 0\nend\n' "$line" "$(wine_path "$folder")"
  done)
  expect_eq "$(sed -E 's/\ttime [0-9]+//' "$folder/gfxpak1.log")" "$expected" "runs of gfxpak1"
  [[ ! -e "$folder/installer.bin" ]] || fail "the list file was not deleted"
  # Each copy is byte for byte its source, and data\kce holds the tables' folders and copies only.
  for i in "${!SOURCES[@]}"; do
    cmp -s "$folder/${SOURCES[i]}" "$folder/${DESTINATIONS[i]}" || fail "${DESTINATIONS[i]} differs"
  done
  expect_eq "$(cd "$folder" && find data/kce | sort)" \
    "$(printf '%s\n' "${FOLDERS[@]}" "${DESTINATIONS[@]}" | grep '^data/kce' | sort)" "the tree"

  open_window "$folder"
  click "$COMMAND3_ID"
  answer_box 75 "Run-time error '75':" "Path/File access error" "$(wine_path "$folder/data/kce")"
}

run_case "Command2 runs a Windows-1252 record hidden, in order, from the game folder, idle while \
it waits; Command3 meanwhile builds the tree, no box, the window staying; closed, the window \
lets the pass delete the list and end the program; a second Command3 click ends the next run \
with error 75" \
  clicks_during_command2s_wait_then_command3_again
