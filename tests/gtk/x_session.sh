# Helpers for the front tests: a private X server with openbox, waits with timeouts, bytes.
# Sourced by the *_test.sh scripts; every process started here is stopped by its PID.

export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
x_pids=()

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs COMMAND... every 0.1 s until it succeeds; fails after SECONDS.
wait_until() {
  local tries=$(($1 * 10))
  shift
  until "$@"; do
    ((--tries > 0)) || return 1
    sleep 0.1
  done
}

# Makes WORK a fresh folder, starts Xvfb on a display it picks itself, then openbox; both are
# stopped when the script exits.
start_x_session() {
  local work=$1
  rm -rf "$work" && mkdir -p "$work"
  trap stop_x_session EXIT
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  x_pids+=($!)
  wait_until 10 test -s "$work/display" || fail "Xvfb did not start (see $work/xvfb.log)"
  export DISPLAY=":$(head -n1 "$work/display")"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  x_pids+=($!)
  wait_until 10 timeout 5 wmctrl -m >/dev/null 2>&1 || fail "openbox did not start"
}

stop_x_session() {
  local i
  for ((i = ${#x_pids[@]} - 1; i >= 0; i--)); do
    kill "${x_pids[i]}" 2>/dev/null || true
    wait "${x_pids[i]}" 2>/dev/null || true
  done
  x_pids=()
}

ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits up to SECONDS for the background job PID to end; sets exit_status to its status.
wait_for_exit() {
  local pid=$1
  wait_until "$2" ended "$pid" || { kill "$pid"; fail "process $pid still running after $2 s"; }
  exit_status=0
  wait "$pid" || exit_status=$?
}

# Prints the visible X window whose title matches the regular expression, waiting up to 10 s.
find_window() {
  local window
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n1) &&
    [[ -n $window ]] || fail "no window titled '$1'"
  echo "$window"
}

# Prints the byte at OFFSET of FILE as two hex digits.
byte_at() {
  od -An -tx1 -j"$2" -N1 "$1" | tr -d ' \n'
}
