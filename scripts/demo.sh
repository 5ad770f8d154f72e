#!/usr/bin/env bash
# Lays out the sample game folder and runs the program in it twice, showing what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
game="build/demo/FIFA 2004"
rm -rf "build/demo"
build/native/sample/sample-game create "$game"
cp build/native/app/verdantix-installer "$game/"

echo "Sample game folder: $game"
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  echo "(Each run shows its message in a dialog: press OK to go on.)"
elif [[ -t 0 ]]; then
  echo "(Each run prints its message and waits for Enter, as a message box waits for OK.)"
fi
echo "Before:"
build/native/sample/sample-game show "$game"
for run in first second; do
  echo
  echo "== The $run run of verdantix-installer =="
  "$game/verdantix-installer"
  echo "After the $run run:"
  build/native/sample/sample-game show "$game"
done
