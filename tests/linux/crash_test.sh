#!/usr/bin/env bash
# The program killed at each of its system calls in turn, as crash-consistency studies do: after
# every kill the back-up is the previous one or a whole copy of the table, the table and then the
# archive are each as they were or switched, and a full run ends normally leaving nothing behind.
# Usage: crash_test.sh PROGRAM SAMPLE_GAME_TOOL
set -euo pipefail
program=$(realpath "$1")
sample=$(realpath "$2")
strace -f -o /dev/null true 2>/dev/null || { echo "SKIP: strace cannot trace here"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY WAYLAND_DISPLAY
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The game as a run finds it (with a back-up of an earlier run), and as a whole run leaves it.
"$sample" create before 100000 >/dev/null
cp "$program" before/verdantix-installer
echo "previous back-up" >before/data/fifa.fat.bak
cp -a before after
after/verdantix-installer </dev/null >/dev/null
listing=$(ls -A after/data)

# Which of the two states FILE (below data/) is in: "before", "after" or "neither".
state() {
  if cmp -s "run/data/$1" "before/data/$1"; then echo before
  elif cmp -s "run/data/$1" "after/data/$1"; then echo after
  else echo neither; fi
}

# Every system call of one whole run, as "NAME K": the K-th call of that name.
cp -a before run
strace -f -o calls.log run/verdantix-installer </dev/null >/dev/null
points=$(sed -nE 's/^[0-9]+ +([a-z0-9_]+)\(.*/\1/p' calls.log | awk '{ print $1, ++k[$1] }')

killed=0
while read -r name k; do
  rm -rf run && cp -a before run
  # The shell's own report of the kill goes to /dev/null with the subshell's errors.
  status=$( (strace -f -o /dev/null -e inject="$name:signal=KILL:when=$k" \
    run/verdantix-installer </dev/null >/dev/null 2>&1; echo $?) 2>/dev/null)
  ((status == 137)) || continue
  killed=$((killed + 1))
  table=$(state fifa.fat) archive=$(state zdata_02.big)
  back_up=$(cmp -s run/data/fifa.fat.bak before/data/fifa.fat && echo table || state fifa.fat.bak)
  at="killed at $name #$k"
  [[ $back_up == table || $back_up == before ]] || fail "$at: back-up neither previous nor whole"
  [[ $table != neither && $archive != neither ]] || fail "$at: table $table, archive $archive"
  [[ $archive == before || $table == after ]] || fail "$at: archive switched before the table"
  [[ $table == before || $back_up == table ]] || fail "$at: table switched before its back-up"
  message="message: Brantwell Installed"
  [[ $archive == before ]] || message="message: Brantwell Uninstalled"
  [[ $(timeout 10 run/verdantix-installer </dev/null 2>&1) == "$message" ]] ||
    fail "$at: the next run did not end with its message"
  [[ $(ls -A run/data) == "$listing" ]] || fail "$at: left $(ls -A run/data | tr '\n' ' ')"
done <<<"$points"

echo "$(wc -l <<<"$points") crash points, $killed killed, in ${SECONDS} s"
((killed > 0)) || fail "no run was killed: strace injected nothing"
((failures == 0)) || { echo "$failures check(s) failed"; exit 1; }
echo "all crash checks passed"
