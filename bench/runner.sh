#!/usr/bin/env bash
# The process runner with a stand-in gfxpak1: the runner's own CPU time while a tool runs for
# 2 s (target under 20 ms) and the delay from one tool's end to the next tool's start (target
# under 5 ms). On Linux through the POSIX platform; then, when the Windows build, its probe and
# a Wine prefix are there, the real .exe under Wine driven through Command2.
# Usage: bench/runner.sh [BUILD_FOLDER]   (default build/native)
set -euo pipefail
cd "$(dirname "$0")/.."

readonly LONG_RUN_MS=2000
readonly GAP_RECORDS=15 # two runs each

# wait_log FOLDER PATTERN COUNT: waits, at most 10 s, for COUNT such lines in the tool's log.
wait_log() {
  local deadline=$((SECONDS + 10)) count
  for (( ; ; )); do
    count=$(grep -c "$2" "$1/gfxpak1.log" 2>/dev/null) || count=0
    ((count < $3)) || return 0
    ((SECONDS < deadline)) || fail "fewer than $3 '$2' lines in the gfxpak1 log"
    sleep 0.02
  done
}

# installer_game NAME RECORDS CONTROL: a game folder with the program, the stand-in, RECORDS
# records in the list and the stand-in's "MILLISECONDS STATUS"; prints it.
installer_game() {
  local folder i
  folder=$(new_game_folder "$1")
  cp "$TEST_BUILD/gfxpak1.exe" "$folder/"
  for ((i = 0; i < $2; ++i)); do printf 'a,b,c,0,e\r\n'; done >"$folder/installer.bin"
  echo "$3" >"$folder/gfxpak1.control"
  echo "$folder"
}

click_command2() {
  cd "$WORK"
  start_program "$1"
  wait_window "$MAIN_TITLE"
  probe click "$MAIN_TITLE" 1002 >/dev/null || fail "could not click Command2"
}

# The Windows program under Wine; runs in the Wine session of scripts/wine-env.sh, with the
# helpers of tests/wine/lib.sh.
wine_bench() {
  source tests/wine/lib.sh

  local folder before after
  folder=$(installer_game cpu 1 "$LONG_RUN_MS 0")
  click_command2 "$folder"
  wait_log "$folder" '^start' 1
  before=$(program_cpu_ms)
  wait_log "$folder" '^end' 1
  after=$(program_cpu_ms)
  wait_exit
  echo "  program CPU during a ${LONG_RUN_MS} ms tool run: $((after - before)) ms"

  folder=$(installer_game gaps "$GAP_RECORDS" "0 0")
  click_command2 "$folder"
  wait_exit
  # Times are in 100 ns units: from each "end" to the following "start".
  awk -F'\t' '
    { for (i = 1; i <= NF; ++i) if ($i ~ /^time /) t = substr($i, 6) }
    $1 == "end" { last_end = t }
    $1 == "start" && last_end != "" { printf "%.3f\n", (t - last_end) / 10000 }
  ' "$folder/gfxpak1.log" | sort -n | awk '
    { gaps[++n] = $1 }
    END {
      printf "  tool end to next tool start over %d gaps: median %.2f ms, max %.2f ms\n",
             n, gaps[int((n + 1) / 2)], gaps[n]
    }'
}

if [[ "${1:-}" == --in-wine-session ]]; then
  wine_bench
  exit
fi

build="${1:-build/native}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target runner_bench gfxpak1_standin -j2 >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/verdantix-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$build/tests/gfxpak1" "$work/"
echo "Process runner on Linux (terminal front, pidfd wait):"
"$build/bench/runner_bench" "$work" | sed 's/^/  /'

source scripts/wine-env.sh
if [[ -f "$VERDANTIX_EXE" && -f "$VERDANTIX_BUILD/tests/wine/probe.exe" && -x "$WINELOADER" ]] &&
  command -v Xvfb >/dev/null; then
  echo "Process runner under Wine (the program through Command2, MsgWaitForMultipleObjects):"
  trap 'wine_session_stop; rm -rf "$work"' EXIT
  wine_session_start
  timeout 300 bash bench/runner.sh --in-wine-session
else
  echo "Process runner under Wine: skipped (needs make windows and the packages of Wine)"
fi
