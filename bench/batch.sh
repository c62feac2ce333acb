#!/usr/bin/env bash
# Batch benchmark: trimjet-cli --jobs 2 against libvips two processes at a time (xargs -P 2),
# quality 70, on two sets: 5 photo-like 12 MP PNGs (batch_corpus) and 20 JPEG photos (Debian's
# plasma-workspace-wallpapers, 5120 x 2880, ten scenes under two names each; made from the
# PNGs when those wallpapers are not installed). Each set at 50 % (vips resize) and at 100 %
# (vips copy). Rounds alternate the two tools so that other load hits both alike; the best
# time and the lowest peak of the rounds are reported, with the ratios. Peak memory is the
# whole process tree's (bench/peakmem.py); both tools have two pictures in work at a time.
# Builds in Release in build-bench/; BENCH_BUILD=DIR takes the binaries already built in DIR.
# Usage: bench/batch.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
build=${BENCH_BUILD:-$PWD/build-bench}
if [[ -z ${BENCH_BUILD:-} ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target trimjet-cli trimjet-batch-worker batch_corpus >/dev/null
cli=$build/bin/trimjet-cli
work=$PWD/build-bench
pngs=$work/batch-png
jpegs=$work/batch-jpeg
out=$work/batch-out
mkdir -p "$pngs" "$jpegs"
"$build/bin/batch_corpus" "$pngs" 5 >/dev/null
if [[ ! -f $jpegs/photo20.jpg ]]; then
  mapfile -t scenes < <(find /usr/share/wallpapers -path '*/images/5120x2880.*' 2>/dev/null | sort)
  ((${#scenes[@]} >= 10)) || scenes=("$pngs"/photo*.png)
  for i in $(seq 1 20); do
    src=${scenes[$(((i - 1) % ${#scenes[@]}))]}
    vips copy "$src" "$jpegs/photo$(printf %02d "$i").jpg[Q=90]"
  done
fi

# name, then the command; the command writes into $1. Prints "seconds KiB".
run() {
  local dest=$out/$1
  shift
  rm -rf "$dest" && mkdir -p "$dest"
  python3 bench/peakmem.py bash -c "$*" _ "$dest"
}
vips_resize() { vips resize "$1" "$2/$(basename "${1%.*}").jpg[Q=70]" 0.5; }
vips_copy() { vips copy "$1" "$2/$(basename "${1%.*}").jpg[Q=70]"; }
export -f vips_resize vips_copy

echo "| Set, scale | trimjet-cli --jobs 2 | vips, xargs -P 2 | Time ratio | Peak trimjet (per picture) | Peak vips (per picture) | Memory ratio |"
echo "|---|---|---|---|---|---|---|"
for set in png jpeg; do
  dir=$pngs
  [[ $set == jpeg ]] && dir=$jpegs
  files=("$dir"/photo*.*)
  for scale in 50 100; do
    op=vips_resize
    ((scale == 100)) && op=vips_copy
    bt="" bm="" vt="" vm=""
    for ((r = 0; r < rounds; r++)); do
      read -r t m < <(run trimjet "$cli --jobs 2 --quality 70 --scale $scale --output-dir \"\$1\" ${files[*]} >/dev/null")
      [[ -z $bt ]] || (($(echo "$t < $bt" | bc))) && bt=$t
      [[ -z $bm ]] || ((m < bm)) && bm=$m
      read -r t m < <(run vips "printf '%s\n' ${files[*]} | xargs -P 2 -I{} bash -c '$op {} \"\$0\"' \"\$1\"")
      [[ -z $vt ]] || (($(echo "$t < $vt" | bc))) && vt=$t
      [[ -z $vm ]] || ((m < vm)) && vm=$m
    done
    printf '| %d %s, %d %% | %.2f s | %.2f s | %.2f | %d MiB (%d) | %d MiB (%d) | %.2f |\n' \
      "${#files[@]}" "$set" "$scale" "$bt" "$vt" "$(echo "$bt / $vt" | bc -l)" \
      "$((bm / 1024))" "$((bm / 2048))" "$((vm / 1024))" "$((vm / 2048))" "$(echo "$bm / $vm" | bc -l)"
  done
done
