#!/usr/bin/env bash
# Builds the engine benchmark in Release (build-bench/) and prints its comparisons.
# Usage: bench/run.sh [runs per figure]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
cmake --build build-bench --target engine_bench
exec build-bench/bin/engine_bench "$PWD/build-bench/corpus" "${1:-9}"
