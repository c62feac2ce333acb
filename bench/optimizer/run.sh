#!/usr/bin/env bash
# Builds the optimiser benchmark in Release (build-bench/) and prints its figures for a
# 12-megapixel picture: quality change against the bare engine, and the window's peak memory.
# Usage: bench/optimizer/run.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
cmake --build build-bench --target optimizer_bench
bench=build-bench/bin/optimizer_bench
picture=build-bench/corpus/optimizer-12mp.jpg
mkdir -p build-bench/corpus
[ -f "$picture" ] || "$bench" make "$picture" 4000 3000
"$bench" quality "$picture" "${1:-9}"
"$bench" drag "$picture"
"$bench" memory "$picture"
