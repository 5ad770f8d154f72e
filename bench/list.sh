#!/usr/bin/env bash
# Times how Command2 reads its list, from the disk to each record's command lines, on lists of
# 100 MiB: records in ASCII, records in the ANSI code page, and one quote left open (a single
# item as long as the list). The target, 10 MiB/s for each, holds only while the reading grows
# with the list's length and no faster.
set -euo pipefail
cd "$(dirname "$0")/.."
bench=build/native/bench/list-bench
[[ -x "$bench" ]] || { echo "list.sh: $bench is missing; run make native" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/verdantix-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "Reading installer.bin:"
"$bench" "$work" 100 10
