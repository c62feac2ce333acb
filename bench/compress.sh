#!/usr/bin/env bash
# File sizes: Trimjet's lossless tidy and progressive files against jpegtran and
# cjpeg on the Plasma wallpaper photos, as ratios in one run.
# Then auto quality: bytes against peers at the same measured similarity, and its time.
# Then the encoder: bytes at the same look (SSIMULACRA2, Butteraugli) against libjpeg-turbo,
# mozjpeg and jpegli (bench/encoder_rd.py), its time on a 12 MP photo, and its files read
# alike by djpeg and libvips. ENCODER_ONLY=1 runs that part alone.
# Usage: bench/compress.sh [trimjet-cli] (default: built in Release in build-bench/;
# quality_probe is taken from beside it). AUTO_ONLY=1 runs the auto quality part alone; AUTO_PHOTOS lists
# wallpaper paths below /usr/share/wallpapers for it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z ${1:-} ]]; then
  # From a clean checkout: a Release build of what this bench runs, in build-bench/.
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
  cmake --build build-bench --target trimjet-cli trimjet-batch-worker quality_probe encoder_probe >/dev/null
fi
cli=$(readlink -f "${1:-build-bench/bin/trimjet-cli}")
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

if [ "${AUTO_ONLY:-0}" != 1 ] && [ "${ENCODER_ONLY:-0}" != 1 ]; then
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
fi

if [ "${ENCODER_ONLY:-0}" != 1 ]; then
# Auto quality: bytes at equal measured quality. Trimjet's auto (high) result sets the
# similarity (quality_probe's luma SSIM, full size); each peer gets the lowest quality of its
# own that reaches it, found by bisection, and its bytes are compared. Then the time of auto
# quality against one fixed-quality round trip on a large photo.
probe=$(dirname "$cli")/quality_probe
[ -x "$probe" ] || { echo "build quality_probe first: cmake --build build --target quality_probe" >&2; exit 1; }
ssim() { "$probe" ssim "$1" "$2"; }
ge() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
# peer QUALITY SOURCE PPM OUT: one peer's file at a quality.
encode_peer() {
  case "$peer" in
    cjpeg) cjpeg -quality "$1" -optimize "$3" >"$4" ;;
    vips) vips copy "$2" "$4[Q=$1,optimize_coding,strip]" ;;
    convert) convert "$2" -strip -quality "$1" "$4" ;;
  esac
}
# The lowest quality of the peer whose file reaches the similarity; prints "bytes quality ssim".
match_peer() {
  local src=$1 ppm=$2 target=$3 lo=0 hi=101 mid out="$work/peer-$peer.jpg"
  while [ $((hi - lo)) -gt 1 ]; do
    mid=$(((lo + hi) / 2))
    encode_peer "$mid" "$src" "$ppm" "$out"
    if ge "$(ssim "$src" "$out")" "$target"; then hi=$mid; else lo=$mid; fi
  done
  [ "$hi" -le 100 ] || hi=100
  encode_peer "$hi" "$src" "$ppm" "$out"
  echo "$(size "$out") $hi $(ssim "$src" "$out")"
}
photos=${AUTO_PHOTOS:-"Volna/contents/images/5120x2880.jpg Flow/contents/images/5120x2880.jpg
  Altai/contents/images/5120x2880.png Kay/contents/images/5120x2880.png
  Kite/contents/images/2560x1600.jpg Path/contents/images/2560x1600.jpg"}
echo
printf '%-10s %8s %3s %9s | %9s %7s | %13s %13s %13s | %6s\n' photo ssim q auto \
  q70 ssim70 cjpeg@q vips@q convert@q auto/best
sum_auto=0 sum_best=0
for p in $photos; do
  src=/usr/share/wallpapers/$p
  [ -f "$src" ] || continue
  name=${p%%/*}
  vips copy "$src" "$work/$name.ppm"
  line=$("$cli" --json --jobs 1 --allow-larger --strip --quality auto --output-dir "$work/auto" "$src" | sed -n 1p)
  out="$work/auto/$(basename "${src%.*}").jpg"
  auto=$(size "$out") q=$(json_field "$line" quality) target=$(ssim "$src" "$out")
  "$cli" --json --jobs 1 --allow-larger --strip --quality 70 --output-dir "$work/q70" "$src" >/dev/null
  out70="$work/q70/$(basename "${src%.*}").jpg"
  best=0 cells=()
  for peer in cjpeg vips convert; do
    read -r pb pq _ < <(match_peer "$src" "$work/$name.ppm" "$target")
    cells+=("$pb@$pq")
    if [ "$best" -eq 0 ] || [ "$pb" -lt "$best" ]; then best=$pb; fi
  done
  printf '%-10s %8s %3s %9d | %9d %7s | %13s %13s %13s | %6s\n' "$name" "$target" "$q" "$auto" \
    "$(size "$out70")" "$(ssim "$src" "$out70")" "${cells[@]}" "$(ratio "$auto" "$best")"
  sum_auto=$((sum_auto + auto)) sum_best=$((sum_best + best))
  rm -rf "$work/auto" "$work/q70" "$work/$name.ppm"
done
echo "totals: auto/best peer at the same similarity $(ratio $sum_auto $sum_best) (goal: 0.90 or less)"
large=/usr/share/wallpapers/Volna/contents/images/5120x2880.jpg
[ -f "$large" ] && echo "time on $(basename "$(dirname "$(dirname "$(dirname "$large")")")") 5120x2880:" \
  "$("$probe" time "$large") (goal: ratio 3 or less)"
fi

encoder=$(dirname "$cli")/encoder_probe
[ -x "$encoder" ] || { echo "build encoder_probe first" >&2; exit 1; }
echo
python3 bench/encoder_rd.py "$encoder" "$work/rd"
# Every file reads the same in djpeg and libvips (the preview decodes with libjpeg's
# accurate DCT, as djpeg does).
same=0 files=0
for f in "$work"/rd/*.png; do
  for mode in "" progressive; do
    "$encoder" "$f" "$work/x.jpg" 75 $mode >/dev/null
    djpeg -dct int -ppm "$work/x.jpg" >"$work/d.ppm"
    vips rawsave "$work/d.ppm" "$work/d.raw"
    vips rawsave "$work/x.jpg" "$work/v.raw"
    cmp -s "$work/d.raw" "$work/v.raw" && same=$((same + 1))
    files=$((files + 1))
  done
done
echo "files decoded alike by djpeg and libvips: $same of $files"
big=/usr/share/wallpapers/Honeywave/contents/images/5120x2880.jpg
if [ -f "$big" ]; then
  vips crop "$big" "$work/big.png" 0 0 4200 2880
  vips copy "$work/big.png" "$work/big.ppm"
  ms() { "$encoder" "$work/big.png" "$work/x.jpg" 75 "$@" | cut -d' ' -f2; }
  start=$(date +%s%N)
  cjpeg -quality 75 -optimize "$work/big.ppm" >"$work/x.jpg"
  cj=$((($(date +%s%N) - start) / 1000000))
  echo "12 MP photo (4200 x 2880), ms: cjpeg -optimize $cj (reading the file included)," \
    "plain $(ms plain), trimjet $(ms), progressive $(ms progressive), without trellis $(ms notrellis)"
fi
