#!/usr/bin/env bash
# Lays out the three programs of the builds (make native, make windows) in the release folder:
# the .exe files signed with Authenticode when SIGN_CERT and SIGN_KEY name a certificate and its
# key (PEM or DER), then SHA256SUMS, their checksums. With --release, also the archive for
# Windows users, verdantix-installer-VERSION.zip.
# Usage: scripts/dist.sh [--release] [FOLDER]   (default dist)
set -euo pipefail
cd "$(dirname "$0")/.."
release=""
if [[ "${1:-}" == --release ]]; then
  release=1
  shift
fi
out="${1:-dist}"
readonly programs=(VerdantixInstaller.exe VerdantixInstaller-x86.exe verdantix-installer)
readonly windows_programs=(VerdantixInstaller.exe VerdantixInstaller-x86.exe)
scripts/deps.sh release

mkdir -p "$out"
rm -f "$out"/verdantix-installer-*.zip
strip -o "$out/verdantix-installer" build/native/app/verdantix-installer
cp build/win64/app/VerdantixInstaller.exe "$out/VerdantixInstaller.exe"
cp build/win32/app/VerdantixInstaller.exe "$out/VerdantixInstaller-x86.exe"

# The checksums are those of the programs as shipped, so the signatures go in first.
if [[ -n "${SIGN_CERT:-}${SIGN_KEY:-}" ]]; then
  if [[ ! -f "${SIGN_CERT:-}" || ! -f "${SIGN_KEY:-}" ]]; then
    echo "dist.sh: SIGN_CERT and SIGN_KEY must both name files (the certificate, its key)" >&2
    exit 2
  fi
  for exe in "${windows_programs[@]}"; do
    osslsigncode sign -certs "$SIGN_CERT" -key "$SIGN_KEY" -h sha256 -n "Verdantix Installer" \
      -in "$out/$exe" -out "$out/$exe.signed" >/dev/null
    mv "$out/$exe.signed" "$out/$exe"
  done
  echo "Signed ${windows_programs[*]} with $SIGN_CERT"
fi
(cd "$out" && sha256sum "${programs[@]}" >SHA256SUMS)

if [[ -n "$release" ]]; then
  version=$(sed -n 's/^project(VerdantixInstaller VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
  [[ -n "$version" ]] || { echo "dist.sh: no version in CMakeLists.txt's project()" >&2; exit 1; }
  stage=$(mktemp -d)
  trap 'rm -rf "$stage"' EXIT
  (cd "$out" && cp "${windows_programs[@]}" SHA256SUMS "$stage/")
  # The texts with Windows line ends, for Notepad.
  sed 's/$/\r/' release/README.txt >"$stage/README.txt"
  sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
  # One archive for one commit: the members in a fixed order, with the last commit's time, fixed
  # permissions and no owners.
  epoch="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
  chmod 0644 "$stage"/*
  touch -d "@$epoch" "$stage"/*
  archive="$(cd "$out" && pwd)/verdantix-installer-$version.zip"
  (cd "$stage" && TZ=UTC zip -X -q "$archive" "${windows_programs[@]}" SHA256SUMS README.txt \
    LICENSE.txt)
fi
ls -l "$out"
