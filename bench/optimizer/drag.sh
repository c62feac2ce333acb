#!/usr/bin/env bash
# Drags the optimiser's quality handle with the real pointer on a private X display under
# openbox and prints how long the figures take to settle after each release, in round trips.
# Usage: bench/optimizer/drag.sh [drags]   (BUILD=folder to use a build other than build-bench/)
# Needs xvfb, x11-utils, openbox and xdotool.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${BUILD:-build-bench}
if [ -z "${BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target optimizer_bench
bench=$build/bin/optimizer_bench
picture=$build/corpus/optimizer-12mp.jpg
mkdir -p "$build/corpus"
[ -f "$picture" ] || QT_QPA_PLATFORM=offscreen "$bench" make "$picture" 4000 3000
display=":$((400 + RANDOM % 200))"
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb ${wm:-} 2>/dev/null' EXIT
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display openbox >/dev/null 2>&1 & wm=$!
sleep 1
DISPLAY=$display "$bench" pointer "$picture" "${1:-10}"
