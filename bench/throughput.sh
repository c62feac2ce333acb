#!/usr/bin/env bash
# One machine's throughput, to size a fleet (docs/scaling.md): trimjet-cli at its defaults
# (quality 70, no resizing) over the photographs of Debian's plasma-workspace-wallpapers,
# read from a find -print0 list as a fleet job would, --jobs 2 and --jobs 1.
# Builds in Release in build-bench/. Needs the package (not part of scripts/setup.sh):
#   apt-get install plasma-workspace-wallpapers
# Usage: bench/throughput.sh [rounds]   (the best of the rounds is reported)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
photos=/usr/share/wallpapers
[[ -d $photos ]] || { echo "no $photos: apt-get install plasma-workspace-wallpapers" >&2; exit 1; }
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
cmake --build build-bench --target trimjet-cli >/dev/null
cli=$PWD/build-bench/bin/trimjet-cli
out=$PWD/build-bench/fleet-out
peakmem=$PWD/bench/peakmem.py
list=$PWD/build-bench/fleet-list0
# Real files only: the package's links name the same pictures again.
(cd "$photos" && find . -type f \( -name '*.jpg' -o -name '*.png' \) -print0 | sort -z) >"$list"

# Megapixels and pictures from one run's JSON summary and lines.
rm -rf "$out"
(cd "$photos" && "$cli" --json --keep-structure --files-from "$list" -0 --output-dir "$out") |
  python3 -c '
import json, sys
rows = [json.loads(l) for l in sys.stdin]
pics = [r for r in rows if "summary" not in r and r["status"] == "written"]
mp = sum(r["width"] * r["height"] for r in pics) / 1e6
s = rows[-1]
print(len(pics), mp, s["bytesBefore"], s["bytesAfter"])' >"$out.sizes"
read -r count mp before after <"$out.sizes"
printf '%d pictures, %.1f megapixels, %.1f MB -> %.1f MB; load average %s\n\n' "$count" "$mp" \
  "$(echo "$before / 1000000" | bc -l)" "$(echo "$after / 1000000" | bc -l)" \
  "$(cut -d' ' -f1-3 /proc/loadavg)"

echo "| Run | Wall time (best of $rounds) | Megapixels/s | Pictures/s | Peak memory |"
echo "|---|---|---|---|---|"
for jobs in 2 1; do
  best=""
  for ((r = 0; r < rounds; r++)); do
    rm -rf "$out"
    line=$(cd "$photos" && python3 "$peakmem" "$cli" --jobs $jobs --quiet --keep-structure \
      --files-from "$list" -0 --output-dir "$out")
    if [[ -z $best ]] || (($(echo "${line%% *} < ${best%% *}" | bc))); then best=$line; fi
  done
  secs=${best%% *} kib=${best##* }
  printf '| --jobs %d | %.2f s | %.1f | %.1f | %d MiB |\n' "$jobs" "$secs" \
    "$(echo "$mp / $secs" | bc -l)" "$(echo "$count / $secs" | bc -l)" "$((kib / 1024))"
done
