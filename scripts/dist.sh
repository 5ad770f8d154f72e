#!/usr/bin/env bash
# Lays out the three programs of the builds (make native, make windows) in the release folder,
# with SHA256SUMS, their checksums.
# Usage: scripts/dist.sh [FOLDER]   (default dist)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-dist}"
readonly programs=(VerdantixInstaller.exe VerdantixInstaller-x86.exe verdantix-installer)

mkdir -p "$out"
strip -o "$out/verdantix-installer" build/native/app/verdantix-installer
cp build/win64/app/VerdantixInstaller.exe "$out/VerdantixInstaller.exe"
cp build/win32/app/VerdantixInstaller.exe "$out/VerdantixInstaller-x86.exe"

(cd "$out" && sha256sum "${programs[@]}" >SHA256SUMS)
ls -l "$out"
