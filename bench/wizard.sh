#!/usr/bin/env bash
# Batch wizard benchmark: the wizard's run (worker processes, one per core) against
# trimjet-cli --jobs on the same 20 photo-like 12 MP PNG files, quality 70, 50 % scale.
# Builds in Release in build-bench/; the corpus is shared with bench/batch.sh.
# Usage: bench/wizard.sh [rounds]   (the best of the rounds is reported for each)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
cmake --build build-bench --target trimjet-cli trimjet-batch-worker wizard_bench batch_corpus >/dev/null
corpus=$PWD/build-bench/batch-corpus
out=$PWD/build-bench/wizard-out
build-bench/bin/batch_corpus "$corpus" 20 >/dev/null
files=("$corpus"/photo*.png)
jobs=$(nproc)
best() { sort -n | head -1; }
cli_times=() wizard_times=()
for ((r = 0; r < rounds; r++)); do
  rm -rf "$out" && mkdir -p "$out/cli" "$out/wizard"
  start=$(date +%s.%N)
  build-bench/bin/trimjet-cli --jobs "$jobs" --quality 70 --scale 50 --output-dir "$out/cli" "${files[@]}" >/dev/null
  cli_times+=("$(echo "$(date +%s.%N) - $start" | bc)")
  wizard_times+=("$(build-bench/bin/wizard_bench "$out/wizard" "${files[@]}")")
  cmp -s <(cat "$out"/cli/*.jpg) <(cat "$out"/wizard/*.jpg) || { echo "outputs differ" >&2; exit 1; }
done
cli=$(printf '%s\n' "${cli_times[@]}" | best)
wizard=$(printf '%s\n' "${wizard_times[@]}" | best)
echo "| Run (${#files[@]} pictures, 4000x3000 PNG -> 2000x1500 JPEG q70, $jobs workers) | Wall time |"
echo "|---|---|"
printf '| trimjet-cli --jobs %d | %.2f s |\n' "$jobs" "$cli"
printf '| batch wizard run | %.2f s |\n' "$wizard"
printf 'ratio wizard / cli: %.2f (target at most 1.1)\n' "$(echo "$wizard / $cli" | bc -l)"
