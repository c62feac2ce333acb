#!/usr/bin/env bash
# Auto quality's levels in the reference measure's units: each photo through
# trimjet-cli --quality auto:LEVEL, the whole file scored by the reference SSIMULACRA2 tool
# against its source. The goal: every score within 3 of its level's (70, 80, 90).
# Usage: bench/autolevels.sh [trimjet-cli] (default: build/bin/trimjet-cli); PHOTOS lists
# wallpaper paths below /usr/share/wallpapers.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(readlink -f "${1:-build/bin/trimjet-cli}")
peer=${PEER:-/work/shared/tools/peers/ssimulacra2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photos=${PHOTOS:-"Volna/contents/images/5120x2880.jpg Altai/contents/images/5120x2880.png
  Kay/contents/images/5120x2880.png Flow/contents/images/2560x1440.jpg
  Path/contents/images/2560x1600.jpg Autumn/contents/images/2560x1600.jpg
  ColorfulCups/contents/images/2560x1600.jpg BytheWater/contents/images/2560x1600.jpg"}
declare -A target=([medium]=70 [high]=80 [visually-lossless]=90)
printf '%-14s %-18s %3s %9s %8s\n' photo level q bytes score
worst=0
for p in $photos; do
  src=/usr/share/wallpapers/$p
  [ -f "$src" ] || continue
  name=${p%%/*}
  # The reference tool reads the source as the picture Trimjet sees (PNG for any format).
  vips copy "$src" "$work/src.png"
  for level in medium high visually-lossless; do
    line=$("$cli" --json --jobs 1 --allow-larger --strip --quality "auto:$level" \
      --output-dir "$work/out" "$src" | sed -n 1p)
    out="$work/out/$(basename "${src%.*}").jpg"
    q=$(sed -n 's/.*"quality":\([0-9]*\).*/\1/p' <<<"$line")
    score=$("$peer" "$work/src.png" "$out")
    # A lossless rewrite of a JPEG source is the source's own pixels: no level to miss.
    if grep -q '"lossless":true' <<<"$line"; then
      printf '%-14s %-18s %3s %9d %8.2f lossless\n' "$name" "$level" "$q" "$(stat -c %s "$out")" "$score"
      rm -rf "$work/out"
      continue
    fi
    worst=$(awk -v w="$worst" -v s="$score" -v t="${target[$level]}" \
      'BEGIN { d = s - t; d = d < 0 ? -d : d; print (d > w ? d : w) }')
    printf '%-14s %-18s %3s %9d %8.2f\n' "$name" "$level" "$q" "$(stat -c %s "$out")" "$score"
    rm -rf "$work/out"
  done
done
echo "largest distance from a level's score: $worst (goal: 3 or less)"
