#!/usr/bin/env bash
# The hidden buttons of the real program under Wine, clicked by another program as they allow.
# Command2: gfxpak1 (the stand-in) gets the record of a list in Windows-1252 and runs hidden, in
# the game folder, twice per record and one run after another; the window stays live and the
# program idle while it waits; the list is deleted and the program ends. Command3, clicked while
# Command2 waits: the add-on tree and the locale files byte for byte, the window left open; the
# run-time error report, as the user sees it, that ends the program on a second click. (A list in UTF-8, a missing or short list and a missing add-on source are the same logic
# on every platform: app/, installer/, addon/.) Run by scripts/test-windows.sh.
source "$(dirname "$0")/lib.sh"

readonly COMMAND2_ID=1002 COMMAND3_ID=1003
readonly LONG_RUN_MS=3000 # of each gfxpak1 run
readonly CPU_LIMIT_MS=150 # 5% of a run

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

# with_installer FOLDER LIST: the stand-in gfxpak1 and the list file (printf escapes).
with_installer() {
  cp "$TEST_BUILD/gfxpak1.exe" "$1/"
  echo "$LONG_RUN_MS" >"$1/gfxpak1.control"
  printf '%b' "$2" >"$1/installer.bin"
}

log_lines() { # FOLDER PATTERN COUNT: the stand-in's log holds COUNT such lines
  local count
  count=$(grep -c "$2" "$1/gfxpak1.log" 2>/dev/null) || count=0
  ((count >= $3))
}

record_runs_hidden_in_order_while_the_window_stays_live() {
  local folder cpu_before cpu_after used expected line
  folder=$(new_game_folder records)
  with_installer "$folder" '"my caf\xe9",b,c,1,e\r\n'
  cd "$WORK" # the program is started from another folder
  open_window "$folder"
  click "$COMMAND2_ID"
  wait_for "first gfxpak1 run" log_lines "$folder" '^start' 1
  cpu_before=$(program_cpu_ms)
  probe ping "$MAIN_TITLE" || fail "the window did not answer during the wait"
  wait_for "end of the first gfxpak1 run" log_lines "$folder" '^end' 1
  cpu_after=$(program_cpu_ms)
  used=$((cpu_after - cpu_before))
  echo "  program CPU during a ${LONG_RUN_MS} ms gfxpak1 run: ${used} ms"
  ((used < CPU_LIMIT_MS)) || fail "the program used ${used} ms of CPU while waiting"
  expect_exit 0

  expected=$(for line in "/i c b my café /c" "/r c c"; do
    printf 'start\tgfxpak1 %s\t%s\tshow 0\tflags 0x1\nend\n' "$line" "$(wine_path "$folder")"
  done)
  expect_eq "$(sed -E 's/\ttime [0-9]+//' "$folder/gfxpak1.log")" "$expected" "runs of gfxpak1"
  [[ ! -e "$folder/installer.bin" ]] || fail "the list file was not deleted"
}

# Command2 runs one record; during its first gfxpak1 run, Command3 builds the tree (the window
# stays, no box), the window is closed (it hides, the pass goes on) and Command2 clicked again
# (refused). In the program started again, a second Command3 click ends it with error 75.
command3_during_command2s_wait_then_again() {
  local folder
  folder=$(new_game_folder addon)
  write_sources "$folder"
  echo "an older header" >"$folder/${DESTINATIONS[-2]}"
  with_installer "$folder" 'a,b,c,0,e\r\n'
  open_window "$folder"
  click "$COMMAND2_ID"
  wait_for "gfxpak1 run" log_lines "$folder" '^start' 1
  click "$COMMAND3_ID"
  wait_for "end of the click" click_done "$folder/${DESTINATIONS[-1]}"
  probe visible "$MAIN_TITLE" || fail "the window closed after the click"
  ! probe visible "$BOX_TITLE" || fail "a message box was shown"
  probe close "$MAIN_TITLE" >/dev/null || fail "could not close the main window"
  click "$COMMAND2_ID"
  expect_exit 0
  expect_tree_and_locale_files "$folder"
  expect_eq "$(grep -c '^start' "$folder/gfxpak1.log")" 2 "gfxpak1 runs"
  [[ ! -e "$folder/installer.bin" ]] || fail "the list file was not deleted"

  open_window "$folder"
  click "$COMMAND3_ID"
  answer_box 75 "Run-time error '75':" "Path/File access error" "$(wine_path "$folder/data/kce")"
}

run_case "Command2: a record of a Windows-1252 list runs hidden, in order, from the game folder, \
the window live and the program idle; the list is deleted" \
  record_runs_hidden_in_order_while_the_window_stays_live
run_case "Command3 during Command2's wait builds the tree, the window staying; the pass then \
ends the program; a second Command3 click ends the next run with error 75" \
  command3_during_command2s_wait_then_again
