#!/usr/bin/env bash
# Lays out the sample game folder and runs the program in it twice, showing what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
game="build/demo/FIFA 2004"
rm -rf "build/demo"
build/native/sample/sample-game create "$game"
cp build/native/app/verdantix-installer "$game/"

echo "Sample game folder: $game"
echo "Before:"
build/native/sample/sample-game show "$game"
for run in first second; do
  echo
  echo "== The $run run of verdantix-installer =="
  "$game/verdantix-installer"
  echo "After the $run run:"
  build/native/sample/sample-game show "$game"
done
