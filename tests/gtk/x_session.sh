# Helpers for the front tests: a private X server with openbox, waits with timeouts, bytes.
# Sourced by the *_test.sh scripts; every process started here is stopped by its PID.

export NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory
x_pids=()

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts Xvfb on a display it picks itself (so parallel tests never collide), then openbox.
start_x_session() {
  local work=$1
  rm -f "$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  x_pids+=($!)
  local tries=0
  until [[ -s $work/display ]]; do
    ((++tries <= 100)) || fail "Xvfb did not start (see $work/xvfb.log)"
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$work/display")"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  x_pids+=($!)
  tries=0
  until timeout 5 wmctrl -m >/dev/null 2>&1; do
    ((++tries <= 100)) || fail "openbox did not start (see $work/openbox.log)"
    sleep 0.1
  done
}

stop_x_session() {
  local i
  for ((i = ${#x_pids[@]} - 1; i >= 0; i--)); do
    kill "${x_pids[i]}" 2>/dev/null || true
    wait "${x_pids[i]}" 2>/dev/null || true
  done
  x_pids=()
}

# Waits up to SECONDS for the background job PID to end; sets exit_status to its status.
wait_for_exit() {
  local pid=$1 seconds=$2 tries=0
  while kill -0 "$pid" 2>/dev/null; do
    if ((++tries > seconds * 10)); then
      kill "$pid"
      fail "process $pid still running after ${seconds}s"
    fi
    sleep 0.1
  done
  exit_status=0
  wait "$pid" || exit_status=$?
}

# Prints the X window whose title matches the regular expression, waiting up to 10 s.
find_window() {
  timeout 10 xdotool search --sync --onlyvisible --name "$1" | head -n1
}

# Prints the byte at OFFSET of FILE as two hex digits.
byte_at() {
  od -An -tx1 -j"$2" -N1 "$1" | tr -d ' \n'
}
