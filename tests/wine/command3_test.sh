#!/usr/bin/env bash
# Command3 under Wine, clicked by another program as the hidden button allows: the add-on tree
# and the locale files byte for byte, the window left open, and the run-time error report that
# ends the program on a second click or at a missing source.
# Run by scripts/test-windows.sh (Xvfb, a running wineserver and the environment of lib.sh).
source "$(dirname "$0")/lib.sh"

readonly COMMAND3_ID=1003
ROWS_EXE="$VERDANTIX_BUILD/addon/addon-rows.exe"
[[ -f "$ROWS_EXE" ]] || fail "missing $ROWS_EXE"

# "\data\kce\x.big" as "data/kce/x.big".
unix_relative() {
  local path="${1#\\}"
  echo "${path//\\//}"
}

# The program's own tables, so that the files laid out are exactly those it copies.
FOLDERS=() SOURCES=() DESTINATIONS=() LOCALE_SOURCES=() LOCALE_DESTINATIONS=()
while IFS=$'\t' read -r kind first second; do
  case "$kind" in
    folder) FOLDERS+=("$(unix_relative "$first")") ;;
    copy)
      SOURCES+=("$(unix_relative "$first")")
      DESTINATIONS+=("$(unix_relative "$second")")
      ;;
    locale)
      LOCALE_SOURCES+=("$(unix_relative "$first")")
      LOCALE_DESTINATIONS+=("$(unix_relative "$second")")
      ;;
  esac
done < <(timeout 20 "$WINELOADER" "$ROWS_EXE" | tr -d '\r')
expect_eq "${#FOLDERS[@]} ${#SOURCES[@]} ${#LOCALE_SOURCES[@]}" "11 102 3" "table sizes"

# Every source of both tables: its name, then up to 64 KiB of noise (the script 3 MiB, so
# that one copy takes many blocks); no "dat_eng.big", so the locale step runs.
write_sources() { # FOLDER
  local i=0 file
  printf '%s\n' "${SOURCES[@]}" "${LOCALE_SOURCES[@]}" | sed 's|/[^/]*$||' | sort -u |
    (cd "$1" && xargs -d '\n' mkdir -p)
  for file in "${SOURCES[@]}" "${LOCALE_SOURCES[@]}"; do
    { printf '%s\n' "$file" && head -c $(((i++ * 7919) % 65536)) /dev/urandom; } >"$1/$file"
  done
  head -c $((3 << 20)) /dev/urandom >>"$1/${SOURCES[0]}"
}

click_command3() { probe click "$MAIN_TITLE" "$COMMAND3_ID" >/dev/null || fail "click failed"; }

# The click is done once its last file is there and the window answers again: the window's
# one thread handles nothing else while the click runs.
wait_for_click() { # LAST_FILE
  local deadline=$((SECONDS + WAIT_SECONDS))
  until [[ -e "$1" ]] && probe ping "$MAIN_TITLE" >/dev/null; do
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended during the click"
    ((SECONDS < deadline)) || fail "the click did not finish within ${WAIT_SECONDS} s"
    sleep 0.1
  done
}

# expect_error_report NUMBER DESCRIPTION PATH: the standard report, then OK ends the program.
expect_error_report() {
  wait_window "$BOX_TITLE"
  local texts
  texts=$(probe texts "$BOX_TITLE")
  grep -qP "^Static\t-?\d+\tvisible\tRun-time error '$1':$" <<<"$texts" ||
    fail "no report of error $1; the box holds:"$'\n'"$texts"
  grep -qxF "$2" <<<"$texts" || fail "no '$2' in the report: $texts"
  grep -qxF "$(wine_path "$3")" <<<"$texts" || fail "no path $3 in the report: $texts"
  probe press-ok "$BOX_TITLE" >/dev/null || fail "could not press OK"
  wait_exit || true # the report's end, whatever its status
}

files_under() { (cd "$1" && find . -mindepth 1 -type "$2" | sort); }

expect_tree_and_locale_files() { # FOLDER
  local i expected_files expected_folders
  for i in "${!SOURCES[@]}"; do
    cmp -s "$1/${SOURCES[i]}" "$1/${DESTINATIONS[i]}" || fail "${DESTINATIONS[i]} differs"
  done
  for i in "${!LOCALE_SOURCES[@]}"; do
    cmp -s "$1/${LOCALE_SOURCES[i]}" "$1/${LOCALE_DESTINATIONS[i]}" ||
      fail "${LOCALE_DESTINATIONS[i]} differs"
  done
  expected_files=$(printf './%s\n' "${DESTINATIONS[@]#data/kce/}" | sort)
  expected_folders=$(printf './%s\n' "${FOLDERS[@]:1}" | sed 's|data/kce/||' | sort)
  expect_eq "$(files_under "$1/data/kce" f)" "$expected_files" "files of the tree"
  expect_eq "$(files_under "$1/data/kce" d)" "$expected_folders" "folders of the tree"
  [[ -f "$1/data/kce/FGCCASGB.pfr" && -f "$1/data/kce/pause/B1_pause.big" ]] ||
    fail "names lost their letter case"
}

click_builds_the_tree_then_a_second_click_ends_the_program() {
  local folder before
  folder=$(new_game_folder addon)
  write_sources "$folder"
  echo "an older header" >"$folder/${LOCALE_DESTINATIONS[1]}"
  start_program "$folder"
  wait_window "$MAIN_TITLE"

  click_command3
  wait_for_click "$folder/${LOCALE_DESTINATIONS[2]}"
  expect_tree_and_locale_files "$folder"
  probe wait-window "$MAIN_TITLE" 1 >/dev/null || fail "the window closed after the click"
  ! probe wait-window "$BOX_TITLE" 1 >/dev/null || fail "a message box was shown"

  before=$(listing "$folder")
  click_command3
  expect_error_report 75 "Path/File access error" "$folder/data/kce"
  expect_eq "$(listing "$folder")" "$before" "files after the second click"
}

missing_source_stops_at_its_row() {
  local folder missing=data/gui/stad/13.big
  folder=$(new_game_folder missing-source)
  write_sources "$folder"
  rm "$folder/$missing"
  start_program "$folder"
  wait_window "$MAIN_TITLE"
  click_command3
  expect_error_report 53 "File not found" "$folder/$missing"
  expect_eq "$(find "$folder/data/kce" -type f | wc -l)" 84 "files copied before the failure"
  expect_eq "$(ls "$folder/data/kce/stad" | sort -n | xargs)" \
    "1.big 2.big 3.big 4.big 5.big 6.big 7.big 8.big 9.big 10.big 11.big 12.big" "stadium files"
  [[ ! -e "$folder/${LOCALE_DESTINATIONS[0]}" ]] || fail "the locale step ran"
}

run_case "Command3 builds the tree; a second click ends with error 75" \
  click_builds_the_tree_then_a_second_click_ends_the_program
run_case "Command3 with a missing source ends with error 53 at its row" \
  missing_source_stops_at_its_row
