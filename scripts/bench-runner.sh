#!/usr/bin/env bash
# The process runner on Linux, with the stand-in gfxpak1: the runner's own CPU time while a tool
# runs for 2 s (target under 20 ms) and the delay from one tool's end to the next tool's start
# (target under 5 ms). Usage: scripts/bench-runner.sh [BUILD_FOLDER]   (default build/native)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/native}"
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target runner_bench gfxpak1_standin -j2 >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/verdantix-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "Process runner (terminal front, pidfd wait):"
"$build/tools/runner_bench" "$work" | sed 's/^/  /'
