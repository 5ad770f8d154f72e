# Sets the Wine environment of the Windows tests; source it: `. scripts/wine-env.sh`.
# The prefix is the project's own, in the build folder (scripts/test-windows.sh creates it).
# By hand, after scripts/test-windows.sh has run once:
#   . scripts/wine-env.sh
#   Xvfb :77 -nolisten tcp & export DISPLAY=:77
#   "$WINESERVER" -p && "$WINELOADER" cmd /c exit >/dev/null   # services start away from ctest
#   ctest --test-dir build/win64 -R Win32      # or: "$WINELOADER" "$VERDANTIX_EXE"
#   "$WINESERVER" -k                           # then stop Xvfb by its PID
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
