#!/usr/bin/env bash
# The package installer under Wine, started by a click on the hidden Command2 of the real
# program: gfxpak1 (the stand-in) gets the record of a list in Windows-1252 and runs hidden, in
# the game folder, twice per record and one run after another; the window stays live and the
# program idle while it waits; the list is deleted and the program ends. (A list in UTF-8, a
# missing list and a list cut short are the same logic on every platform: app/, installer/.)
# Run by scripts/test-windows.sh.
source "$(dirname "$0")/lib.sh"

readonly LONG_RUN_MS=3000
readonly CPU_LIMIT_MS=150 # 5% of the long run

log_lines() { # PATTERN COUNT: the stand-in's log holds COUNT such lines
  local count
  count=$(grep -c "$1" "$FOLDER/gfxpak1.log" 2>/dev/null) || count=0
  ((count >= $2))
}

record_runs_hidden_in_order_while_the_window_stays_live() {
  local cpu_before cpu_after used expected line
  FOLDER=$(new_game_folder records)
  cp "$TEST_BUILD/gfxpak1.exe" "$FOLDER/"
  printf '"my caf\xe9",b,c,1,e\r\n' >"$FOLDER/installer.bin"
  echo "$LONG_RUN_MS" >"$FOLDER/gfxpak1.control"
  cd "$WORK" # the program is started from another folder
  open_window "$FOLDER"
  click "$COMMAND2_ID"
  wait_for "first gfxpak1 run" log_lines '^start' 1
  cpu_before=$(probe cpu "$WINDOW_PID")
  probe ping "$MAIN_TITLE" || fail "the window did not answer during the wait"
  wait_for "end of the first gfxpak1 run" log_lines '^end' 1
  cpu_after=$(probe cpu "$WINDOW_PID")
  used=$((cpu_after - cpu_before))
  echo "  program CPU during a ${LONG_RUN_MS} ms gfxpak1 run: ${used} ms"
  ((used < CPU_LIMIT_MS)) || fail "the program used ${used} ms of CPU while waiting"
  expect_exit 0

  expected=$(for line in "/i c b my café /c" "/r c c"; do
    printf 'start\tgfxpak1 %s\t%s\tshow 0\tflags 0x1\nend\n' "$line" "$(wine_path "$FOLDER")"
  done)
  expect_eq "$(sed -E 's/\ttime [0-9]+//' "$FOLDER/gfxpak1.log")" "$expected" "runs of gfxpak1"
  [[ ! -e "$FOLDER/installer.bin" ]] || fail "the list file was not deleted"
}

run_case "a record of a Windows-1252 list runs hidden, in order, from the game folder, the \
window live and the program idle; the list is deleted" \
  record_runs_hidden_in_order_while_the_window_stays_live
