#!/usr/bin/env bash
# Checks Trimjet's SSIMULACRA2 against the reference tool: crops of the KDE wallpapers (grainy,
# smooth, colourful) as JPEG at several qualities, 4:2:0 and 4:4:4, both scores side by side
# and the largest difference (the goal is at most 1). Then the time of one score of a
# megapixel against the tool's.
# Usage: bench/similarity.sh [quality_probe] (default: build/bin/quality_probe)
set -euo pipefail
cd "$(dirname "$0")/.."
probe=$(readlink -f "${1:-build/bin/quality_probe}")
peer=${PEER:-/work/shared/tools/peers/ssimulacra2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
n=0
for w in Autumn BytheWater ColorfulCups Altai Path Honeywave Cluster Kokkini; do
  f=$(ls /usr/share/wallpapers/$w/contents/images/* 2>/dev/null | sort -V | tail -1) || continue
  vips extract_area "$f" "$work/$w.png[strip]" 700 500 512 384 2>/dev/null || continue
  vips copy "$work/$w.png" "$work/$w.ppm"
  for q in 20 50 75 90; do cjpeg -quality $q "$work/$w.ppm" >"$work/$w-$q.jpg" 2>/dev/null; done
  cjpeg -quality 60 -sample 1x1 "$work/$w.ppm" >"$work/$w-60s.jpg"
  n=$((n + 1))
done
[ "$n" -gt 0 ] || { echo "no wallpapers found" >&2; exit 1; }
printf '%-22s %10s %10s %7s\n' file reference trimjet diff
worst=0
for j in "$work"/*-*.jpg; do
  base=$(basename "$j")
  ref=$("$peer" "$work/${base%%-*}.png" "$j")
  own=$("$probe" score "$work/${base%%-*}.png" "$j")
  diff=$(awk -v a="$ref" -v b="$own" 'BEGIN { d = b - a; printf "%.3f", d }')
  worst=$(awk -v w="$worst" -v d="$diff" 'BEGIN { d = d < 0 ? -d : d; print (d > w ? d : w) }')
  printf '%-22s %10.3f %10.3f %7s\n' "$base" "$ref" "$own" "$diff"
done
echo "largest difference: $worst"
f=/usr/share/wallpapers/Altai/contents/images/5120x2880.png
vips extract_area "$f" "$work/mp.png[strip]" 1000 800 1024 1024
vips copy "$work/mp.png" "$work/mp.ppm"
cjpeg -quality 80 "$work/mp.ppm" >"$work/mp.jpg"
t() { local s e; s=$(date +%s%N); "$@" >/dev/null; e=$(date +%s%N); echo $(((e - s) / 1000000)); }
echo "one megapixel, ms (files read included): reference $(t "$peer" "$work/mp.png" "$work/mp.jpg")," \
  "trimjet $(t "$probe" score "$work/mp.png" "$work/mp.jpg")"
