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

# click_command2 NAME LIST [MILLISECONDS]: a game folder whose patch fails (no file table), with
# the stand-in and the list file (printf escapes, none when empty), each gfxpak1 run lasting
# MILLISECONDS; starts the program from another folder and clicks Command2. FOLDER is the game
# folder, BEFORE its files before the run.
click_command2() {
  FOLDER=$(new_game_folder "$1")
  cp "$STANDIN" "$FOLDER/gfxpak1.exe"
  [[ -z "$2" ]] || printf '%b' "$2" >"$FOLDER/installer.bin"
  echo "${3:-0} 0" >"$FOLDER/gfxpak1.control"
  BEFORE=$(listing "$FOLDER")
  cd "$WORK"
  open_window "$FOLDER"
  click "$COMMAND2_ID"
}

log_lines() { # PATTERN COUNT: the stand-in's log holds COUNT such lines
  local count
  count=$(grep -c "$1" "$FOLDER/gfxpak1.log" 2>/dev/null) || count=0
  ((count >= $2))
}

cpu_ms() { probe cpu "$WINDOW_PID" || fail "no CPU time of the program"; }

record_runs_hidden_in_order_while_the_window_stays_live() {
  local cpu_before cpu_after expected line
  click_command2 records '"my file",b,c,1,e\r\n' "$LONG_RUN_MS"
  wait_for "first gfxpak1 run" log_lines '^start' 1
  cpu_before=$(cpu_ms)
  expect_eq "$(probe ping "$MAIN_TITLE")" answered "the main window during the wait"
  wait_for "end of the first gfxpak1 run" log_lines '^end' 1
  cpu_after=$(cpu_ms)
  local used=$((cpu_after - cpu_before))
  echo "  program CPU during a ${LONG_RUN_MS} ms gfxpak1 run: ${used} ms"
  ((used < CPU_LIMIT_MS)) || fail "the program used ${used} ms of CPU while waiting"
  expect_exit 0

  expected=$(for line in "/i c b my file /c" "/r c c"; do
    printf 'start\tgfxpak1 %s\t%s\tshow 0\nend\n' "$line" "$(wine_path "$FOLDER")"
  done)
  # The runs as logged, flags, times and pids dropped.
  expect_eq "$(sed -E 's/\t(flags|time|pid) [^\t]*//g' "$FOLDER/gfxpak1.log")" "$expected" \
    "runs of gfxpak1"
  grep -q $'\tflags 0x1\t' "$FOLDER/gfxpak1.log" || fail "no STARTF_USESHOWWINDOW"
  [[ ! -e "$FOLDER/installer.bin" ]] || fail "the list file was not deleted"
}

missing_list_shows_the_message() {
  click_command2 no-list ''
  answer_box 0 "Patch Not Installed! Error! Install it again"
  expect_eq "$(listing "$FOLDER")" "$BEFORE" "files after the run"
}

list_cut_short_reports_the_error_and_stays() {
  click_command2 cut-short 'a,b,c,0,e\r\nf,g'
  answer_box 62 "Run-time error '62':" "Input past end of file" \
    "$(wine_path "$FOLDER")\\installer.bin"
  expect_eq "$(grep -c '^start' "$FOLDER/gfxpak1.log")" 2 "runs before the error"
  [[ -e "$FOLDER/installer.bin" ]] || fail "the list file was deleted"
}

# The list in the ANSI code page (1252 under Wine's UTF-8 locale), then in UTF-8.
list_in_either_encoding_reaches_gfxpak1() {
  local case
  for case in 'cp1252 caf\xe9' 'utf8 caf\xc3\xa9'; do
    click_command2 "${case% *}" "${case#* },b,c,0,e\r\n"
    expect_exit 0
    grep -q $'^start\tgfxpak1 /i c b caf\xc3\xa9\t' "$FOLDER/gfxpak1.log" ||
      fail "no café from the list in ${case% *}"
  done
}

run_case "a record runs hidden, in order, from the game folder, the window live and the program \
idle; the list is deleted" record_runs_hidden_in_order_while_the_window_stays_live
run_case "no list: the missing-list message, nothing touched" missing_list_shows_the_message
run_case "a list cut short: the run-time error report, the list stays" \
  list_cut_short_reports_the_error_and_stays
run_case "a list in Windows-1252 and one in UTF-8: gfxpak1 gets café from both" \
  list_in_either_encoding_reaches_gfxpak1
