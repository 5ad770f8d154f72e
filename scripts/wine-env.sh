# The Wine environment and session of the Windows tests and benchmarks. Source it
# (`. scripts/wine-env.sh`), then `wine_session_start` (makes the project's prefix in the build
# folder the first time, starts Xvfb and one wineserver) and `wine_session_stop` at the end.
# By hand, after scripts/build-windows.sh:
#   . scripts/wine-env.sh && wine_session_start
#   ctest --test-dir build/win64 -R Win32      # or: "$WINELOADER" "$VERDANTIX_EXE"
#   wine_session_stop
_verdantix_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$_verdantix_root/build/wine-prefix"
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
# No prompts to install Mono or Gecko, and no menu entries written for the desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
# Wine names files through the Unix locale: without a UTF-8 one (a bare machine has no LANG)
# non-ASCII names cannot be created. Under it the ANSI code page is 1252.
export LC_ALL=C.UTF-8
export VERDANTIX_BUILD="${VERDANTIX_BUILD:-$_verdantix_root/build/win64}"
export VERDANTIX_EXE="${VERDANTIX_EXE:-$VERDANTIX_BUILD/app/VerdantixInstaller.exe}"
unset _verdantix_root

# Makes the prefix when there is none: a quarter of a minute, mostly waiting.
wine_prefix_make() {
  [[ ! -f "$WINEPREFIX/system.reg" ]] || return 0
  echo "Creating the Wine prefix $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  timeout 180 "$WINELOADER" wineboot --init >/dev/null 2>&1
  timeout 120 "$WINESERVER" -w
  # Wine draws the window frames itself: no window manager needed, and closes are immediate.
  timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    >/dev/null 2>&1
  timeout 120 "$WINESERVER" -w
}

# Makes the prefix if needed, starts Xvfb on a free display (exported as DISPLAY) and one
# wineserver that every Wine program shares until wine_session_stop.
wine_session_start() {
  wine_prefix_make
  local display_file
  display_file=$(mktemp)
  # Xvfb writes its display number once it accepts connections; it keeps the root window's
  # properties when its last client leaves.
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  WINE_SESSION_XVFB=$!
  timeout 10 bash -c 'until [[ -s "$1" ]]; do sleep 0.1; done' _ "$display_file" ||
    { echo "Xvfb gave no display in 10 s" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"
  # A panel across the top, as a taskbar takes: the work area is not the whole screen.
  timeout 10 xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,100,1024,668
  # The server's services start with the first program; started here, away from ctest, they
  # hold no test's output pipe open.
  timeout 30 "$WINESERVER" -p
  timeout 120 "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1
}

# Stops the wineserver of the prefix and the Xvfb of wine_session_start.
wine_session_stop() {
  timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  [[ -n "${WINE_SESSION_XVFB:-}" ]] || return 0
  kill "$WINE_SESSION_XVFB" 2>/dev/null || true
  timeout 10 tail --pid="$WINE_SESSION_XVFB" -f /dev/null || true
  WINE_SESSION_XVFB=""
}
