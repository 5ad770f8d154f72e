#!/usr/bin/env bash
# The package installer under Wine, started by a click on the hidden Command2 of the real
# program: gfxpak1 (a stand-in built here) runs hidden, in the game folder, twice per record and
# one run after another; the list is deleted and the program ends; the window stays live and
# the program idle while it waits. Run by scripts/test-windows.sh (the environment of lib.sh).
source "$(dirname "$0")/lib.sh"

readonly COMMAND2_ID=1002
readonly LONG_RUN_MS=3000
readonly CPU_LIMIT_MS=150 # 5% of the long run

# The stand-in gfxpak1, built once for this run with the 64-bit MinGW compiler.
STANDIN="$WORK/gfxpak1.exe"
timeout 120 x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -static -s -municode -mwindows \
  -o "$STANDIN" "$(dirname "$0")/gfxpak1_standin.cpp" || fail "could not build the stand-in"

# installer_game NAME LIST CONTROL: a game folder whose patch fails (no file table), with the
# stand-in, the list file (printf escapes) and the stand-in's "MILLISECONDS STATUS"; prints it.
installer_game() {
  local folder
  folder=$(new_game_folder "$1")
  cp "$STANDIN" "$folder/gfxpak1.exe"
  printf "$2" >"$folder/installer.bin"
  echo "$3" >"$folder/gfxpak1.control"
  echo "$folder"
}

# click_command2 FOLDER: starts the program from another folder, waits for its main window and
# clicks Command2; WINDOW_PID is the program's Windows process id.
click_command2() {
  cd "$WORK"
  start_program "$1"
  wait_window "$MAIN_TITLE"
  probe click "$MAIN_TITLE" "$COMMAND2_ID" >/dev/null || fail "could not click Command2"
}

# wait_log_lines FOLDER PATTERN COUNT: waits until the stand-in's log holds COUNT such lines.
wait_log_lines() {
  local deadline=$((SECONDS + WAIT_SECONDS)) count
  for (( ; ; )); do
    count=$(grep -c "$2" "$1/gfxpak1.log" 2>/dev/null) || count=0
    ((count < $3)) || return 0
    ((SECONDS < deadline)) || fail "fewer than $3 '$2' lines in the gfxpak1 log"
    sleep 0.02
  done
}

# The runs as logged: "start<TAB>COMMAND<TAB>FOLDER<TAB>show N" or "end"; flags, times and
# pids dropped.
runs_of() { sed -E 's/\t(flags|time|pid) [^\t]*//g' "$1/gfxpak1.log"; }

records_run_hidden_in_order_from_the_game_folder() {
  local folder game
  # A status of 259 (STILL_ACTIVE) and a failing one alike do not stop the pass.
  folder=$(installer_game records '"my file",b,c,1,e\r\n  f , g,h,0,"i, j"\r\n' "0 259")
  game=$(wine_path "$folder")
  click_command2 "$folder"
  wait_exit || fail "the program ended with status $?"
  local expected
  expected=$(printf '%s\n' \
    $'start\tgfxpak1 /i c b my file /c\t'"$game"$'\tshow 0' end \
    $'start\tgfxpak1 /r c c\t'"$game"$'\tshow 0' end \
    $'start\tgfxpak1 /i h g f\t'"$game"$'\tshow 0' end \
    $'start\tgfxpak1 /r h h\t'"$game"$'\tshow 0' end)
  expect_eq "$(runs_of "$folder")" "$expected" "runs of gfxpak1"
  grep -q $'\tflags 0x1\t' "$folder/gfxpak1.log" || fail "no STARTF_USESHOWWINDOW"
  [[ ! -e "$folder/installer.bin" ]] || fail "the list file was not deleted"
}

empty_list_is_deleted_without_runs() {
  local folder
  folder=$(installer_game empty-list '\r\n' "0 0")
  click_command2 "$folder"
  wait_exit || fail "the program ended with status $?"
  [[ ! -e "$folder/gfxpak1.log" ]] || fail "gfxpak1 ran: $(cat "$folder/gfxpak1.log")"
  [[ ! -e "$folder/installer.bin" ]] || fail "the list file was not deleted"
}

missing_list_shows_the_message() {
  local folder before
  folder=$(installer_game no-list '' "0 0")
  rm "$folder/installer.bin"
  before=$(listing "$folder")
  click_command2 "$folder"
  expect_message_box "Patch Not Installed! Error! Install it again"
  press_ok_and_expect_end
  expect_eq "$(listing "$folder")" "$before" "files after the run"
}

list_cut_short_reports_the_error_and_stays() {
  local folder texts
  folder=$(installer_game cut-short 'a,b,c,0,e\r\nf,g' "0 0")
  click_command2 "$folder"
  wait_window "$BOX_TITLE"
  texts=$(probe texts "$BOX_TITLE")
  grep -qF "Run-time error '62':" <<<"$texts" || fail "no report of error 62: $texts"
  grep -qF "Input past end of file" <<<"$texts" || fail "no description: $texts"
  grep -qF "$(wine_path "$folder")\\installer.bin" <<<"$texts" || fail "no list path: $texts"
  probe press-ok "$BOX_TITLE" >/dev/null || fail "could not press OK"
  wait_exit || true
  expect_eq "$(grep -c '^start' "$folder/gfxpak1.log")" 2 "runs before the error"
  [[ -e "$folder/installer.bin" ]] || fail "the list file was deleted"
}

window_live_and_program_idle_during_a_long_run() {
  local folder cpu_before cpu_after started ended
  folder=$(installer_game long-run 'a,b,c,0,e\r\n' "$LONG_RUN_MS 0")
  click_command2 "$folder"
  wait_log_lines "$folder" '^start' 1
  started=$(date +%s%N)
  cpu_before=$(probe cpu "$WINDOW_PID") || fail "no CPU time of the program"
  expect_eq "$(probe ping "$MAIN_TITLE")" answered "the main window during the wait"
  wait_log_lines "$folder" '^end' 1
  cpu_after=$(probe cpu "$WINDOW_PID") || fail "no CPU time of the program"
  ended=$(date +%s%N)
  local used=$((cpu_after - cpu_before)) wall=$(((ended - started) / 1000000))
  echo "  program CPU over ${wall} ms of a ${LONG_RUN_MS} ms gfxpak1 run: ${used} ms"
  ((used < CPU_LIMIT_MS)) || fail "the program used ${used} ms of CPU while waiting"
  wait_exit || fail "the program ended with status $?"
  expect_eq "$(grep -c '^end' "$folder/gfxpak1.log")" 2 "finished runs"
}

run_case "records run hidden, in order, from the game folder; the list is deleted" \
  records_run_hidden_in_order_from_the_game_folder
run_case "an empty list is deleted and nothing runs" empty_list_is_deleted_without_runs
run_case "no list: the missing-list message, nothing touched" missing_list_shows_the_message
run_case "a list cut short: the run-time error report, the list stays" \
  list_cut_short_reports_the_error_and_stays
run_case "a long gfxpak1 run: the window answers, the program stays idle" \
  window_live_and_program_idle_during_a_long_run
