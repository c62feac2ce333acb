#!/usr/bin/env bash
# File sizes, not speed: Trimjet's lossless tidy and progressive files against jpegtran and
# cjpeg on the Plasma wallpaper photos, as ratios in one run.
# Usage: bench/compress.sh [trimjet-cli] (default build/bin/trimjet-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(readlink -f "${1:-build/bin/trimjet-cli}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"
n=0
for f in /usr/share/wallpapers/*/contents/images/{5120x2880,2560x1600}.jpg; do
  [ -f "$f" ] || continue
  name=$(basename "$(dirname "$(dirname "$(dirname "$f")")")")-$(basename "$f" .jpg)
  cp "$f" "$work/src/$name.jpg"
  # The same photo as a camera writes it: baseline, standard Huffman tables, quality 85.
  djpeg "$f" | cjpeg -quality 85 >"$work/src/$name-camera.jpg"
  n=$((n + 1))
done
[ "$n" -gt 0 ] || { echo "no wallpapers found" >&2; exit 1; }

size() { stat -c %s "$1"; }
json_field() { sed -n "s/.*\"$2\":\\([^,}]*\\).*/\\1/p" <<<"$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f", a / b }'; }

printf '%-34s %9s | %9s %9s %6s %s | %9s %9s %6s | %9s %9s %9s %6s %6s\n' \
  file source jpegtran tidy t/jt how jt-prog tidy-prog t/jt q75-base q75-prog cjpeg-prog \
  p/b p/cj
sum_jt=0 sum_tidy=0 sum_jtp=0 sum_tidyp=0 sum_b=0 sum_p=0 sum_cp=0
for f in "$work"/src/*.jpg; do
  base=$(basename "$f" .jpg)
  src=$(size "$f")
  jt=$(jpegtran -optimize -copy all "$f" | wc -c)
  jtp=$(jpegtran -optimize -progressive -copy all "$f" | wc -c)
  # Quality 98 is above every source's own, so the tidy is used wherever it is not larger.
  line=$("$cli" --json --jobs 1 --allow-larger --quality 98 --output-dir "$work/t" "$f" | sed -n 1p)
  tidy=$(json_field "$line" bytesAfter)
  how=$([ "$(json_field "$line" lossless)" = true ] && echo lossless || echo encoded)
  linep=$("$cli" --json --jobs 1 --allow-larger --quality 98 --progressive \
    --output-dir "$work/tp" "$f" | sed -n 1p)
  tidyp=$(json_field "$linep" bytesAfter)
  # Re-encoding at 75 (below every source), baseline and progressive, and cjpeg's progressive.
  lb=$("$cli" --json --jobs 1 --allow-larger --strip --quality 75 --output-dir "$work/b" "$f" | sed -n 1p)
  lp=$("$cli" --json --jobs 1 --allow-larger --strip --quality 75 --progressive \
    --output-dir "$work/p" "$f" | sed -n 1p)
  b=$(json_field "$lb" bytesAfter)
  p=$(json_field "$lp" bytesAfter)
  cp=$(djpeg "$f" | cjpeg -quality 75 -optimize -progressive | wc -c)
  printf '%-34s %9d | %9d %9d %6s %-8s | %9d %9d %6s | %9d %9d %9d %6s %6s\n' "$base" "$src" \
    "$jt" "$tidy" "$(ratio "$tidy" "$jt")" "$how" "$jtp" "$tidyp" "$(ratio "$tidyp" "$jtp")" \
    "$b" "$p" "$cp" "$(ratio "$p" "$b")" "$(ratio "$p" "$cp")"
  sum_jt=$((sum_jt + jt)) sum_tidy=$((sum_tidy + tidy)) sum_jtp=$((sum_jtp + jtp))
  sum_tidyp=$((sum_tidyp + tidyp)) sum_b=$((sum_b + b)) sum_p=$((sum_p + p)) sum_cp=$((sum_cp + cp))
done
echo "totals: tidy/jpegtran $(ratio $sum_tidy $sum_jt), tidy-progressive/jpegtran-progressive" \
  "$(ratio $sum_tidyp $sum_jtp), progressive/baseline at q75 $(ratio $sum_p $sum_b)," \
  "progressive/cjpeg-progressive $(ratio $sum_p $sum_cp)"
