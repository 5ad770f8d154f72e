#!/usr/bin/env bash
# Installs the Debian packages a build target needs, only when some are missing.
# Usage: scripts/deps.sh GROUP...   (groups: core, windows, wine, gtk, fuzz, release, coverage)
set -euo pipefail

packages_for() {
  case "$1" in
    core) echo "cmake make g++ pkg-config googletest libgtest-dev libgmock-dev locales strace" ;;
    windows) echo "g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686" ;;
    wine) echo "wine64 wine fonts-wine xvfb xauth xdotool x11-utils imagemagick icoutils" ;;
    gtk) echo "libgtk-3-dev xvfb xauth xdotool x11-utils imagemagick openbox wmctrl" ;;
    fuzz) echo "clang libclang-rt-14-dev libfuzzer-14-dev" ;;
    release) echo "zip unzip osslsigncode openssl" ;;
    coverage) echo "gcovr" ;;
    *) echo "deps.sh: unknown group '$1'" >&2; exit 2 ;;
  esac
}

wanted=()
for group in "$@"; do
  for package in $(packages_for "$group"); do wanted+=("$package"); done
done

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}" >&2
sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
