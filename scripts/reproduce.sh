#!/usr/bin/env bash
# Checks that the release is reproducible: runs make release in two fresh clones of the last
# commit, in different folders, one after the other, and compares the two dist/ folders byte
# for byte, printing what differs. Run as root, the second build runs as the user nobody, with
# another umask, time zone and locale.
# Usage: scripts/reproduce.sh   (make reproduce; it takes some minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
# A signing key (signatures carry their time) or the caller's make options would spoil it.
unset SIGN_CERT SIGN_KEY MAKEFLAGS MAKELEVEL
commit=$(git rev-parse HEAD)
if [[ -n "$(git status --porcelain --untracked-files=no)" ]]; then
  echo "Changes not committed are left out: both clones hold commit $commit."
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/verdantix-reproduce.XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
first="$work/first/verdantix-installer"
second="$work/second/a longer folder/Verdantix"

clone() { # FOLDER
  git clone -q --no-checkout "$PWD" "$1"
  git -C "$1" checkout -q --detach "$commit"
}

# make_release FOLDER [COMMAND...]: runs make release in FOLDER, through COMMAND when given.
make_release() {
  local folder="$1" start=$SECONDS
  shift
  if ! "$@" make -C "$folder" release >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log"
    echo "reproduce.sh: make release failed in $folder" >&2
    exit 1
  fi
  echo "Built in $((SECONDS - start)) s: $folder"
}

echo "make release of $commit, twice:"
clone "$first"
make_release "$first"
clone "$second"
if [[ $(id -u) -eq 0 ]] && id nobody >/dev/null 2>&1; then
  echo "(the second build as nobody, with umask 077, TZ=Pacific/Kiritimati and LC_ALL=C)"
  chown -R nobody:nogroup "$second"
  make_release "$second" setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env HOME="$second" USER=nobody TZ=Pacific/Kiritimati LC_ALL=C bash -c 'umask 077 && "$@"' -
else
  make_release "$second"
fi

echo "Comparing dist/:"
differ=""
while IFS= read -r name; do
  a="$first/dist/$name" b="$second/dist/$name"
  if [[ ! -f "$a" || ! -f "$b" ]]; then
    echo "  only in one build:  $name"
    differ=1
  elif cmp -s "$a" "$b"; then
    echo "  identical  $(sha256sum <"$a" | cut -c1-64)  $name"
  else
    echo "  DIFFERENT  $name: $(cmp -l "$a" "$b" 2>/dev/null | wc -l) bytes differ, sizes" \
      "$(stat -c %s "$a") and $(stat -c %s "$b"); the first (offset: byte and byte, octal):"
    cmp -l "$a" "$b" 2>/dev/null | head -n 10 | awk '{ printf "    0x%x: %s %s\n", $1 - 1, $2, $3 }'
    differ=1
  fi
done < <( (ls "$first/dist" && ls "$second/dist") | sort -u)

if [[ -n "$differ" ]]; then
  echo "reproduce.sh: the two builds differ" >&2
  exit 1
fi
echo "The two builds are identical."
