#!/usr/bin/env bash
# Batch benchmark: 20 photo-like 12 MP PNG files, quality 70, 50 % scale, each tool timed as
# whole processes on the same files, one after another: trimjet-cli (--jobs 2 and 1),
# vips resize + JPEG save (Debian's libvips-tools) and ImageMagick mogrify / convert.
# Builds in Release in build-bench/; the corpus is made once in build-bench/batch-corpus/.
# Usage: bench/batch.sh [rounds]   (the best of the rounds is reported for each tool)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
cmake --build build-bench --target trimjet-cli batch_corpus >/dev/null
corpus=$PWD/build-bench/batch-corpus
out=$PWD/build-bench/batch-out
build-bench/bin/batch_corpus "$corpus" 20 >/dev/null
files=("$corpus"/photo*.png)
count=${#files[@]}
cli=$PWD/build-bench/bin/trimjet-cli
convert=/usr/bin/convert   # the ImageMagick binary itself
mogrify=/usr/bin/mogrify

vips_one() { vips resize "$1" "$2/$(basename "${1%.png}").jpg[Q=70]" 0.5; }
convert_one() { "$convert" "$1" -resize 50% -quality 70 "$2/$(basename "${1%.png}").jpg"; }
export -f vips_one convert_one
export convert

# name, then the command; the command writes into $dest.
measure() {
  local name=$1 best="" line
  shift
  for ((r = 0; r < rounds; r++)); do
    dest=$out/$name
    rm -rf "$dest" && mkdir -p "$dest"
    line=$(python3 bench/peakmem.py bash -c "$*" _ "$dest")
    if [[ -z $best ]] || (($(echo "${line%% *} < ${best%% *}" | bc))); then best=$line; fi
  done
  local secs=${best%% *} kib=${best##* } bytes
  bytes=$(cat "$out/$name"/*.jpg | wc -c)
  printf '| %s | %.2f s | %.2f | %d MiB | %d |\n' "$name" "$secs" \
    "$(echo "$count / $secs" | bc -l)" "$((kib / 1024))" "$bytes"
}

echo "| Tool ($count pictures, 4000x3000 PNG -> 2000x1500 JPEG q70) | Wall time | Pictures/s | Peak memory | Output bytes |"
echo "|---|---|---|---|---|"
measure "trimjet-cli --jobs 2" "$cli --jobs 2 --quality 70 --scale 50 --output-dir \"\$1\" ${files[*]} >/dev/null"
measure "trimjet-cli --jobs 1" "$cli --jobs 1 --quality 70 --scale 50 --output-dir \"\$1\" ${files[*]} >/dev/null"
measure "vips resize, one process per file" "for f in ${files[*]}; do vips_one \"\$f\" \"\$1\"; done"
measure "vips resize, two processes at a time" "printf '%s\n' ${files[*]} | xargs -P 2 -I{} bash -c 'vips_one {} \"\$0\"' \"\$1\""
measure "ImageMagick mogrify, one process" "$mogrify -path \"\$1\" -resize 50% -quality 70 -format jpg ${files[*]}"
measure "ImageMagick convert, two processes at a time" "printf '%s\n' ${files[*]} | xargs -P 2 -I{} bash -c 'convert_one {} \"\$0\"' \"\$1\""
