# Sets the Wine environment of the Windows tests; source it: `. scripts/wine-env.sh`.
# The prefix is the project's own, in the build folder (scripts/test-windows.sh creates it).
_verdantix_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="$_verdantix_root/build/wine-prefix"
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
# No prompts to install Mono or Gecko, and no menu entries written for the desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64
export VERDANTIX_BUILD="${VERDANTIX_BUILD:-$_verdantix_root/build/win64}"
export VERDANTIX_EXE="${VERDANTIX_EXE:-$VERDANTIX_BUILD/app/VerdantixInstaller.exe}"
unset _verdantix_root
