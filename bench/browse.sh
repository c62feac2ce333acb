#!/usr/bin/env bash
# Picture browser benchmark: a folder of 200 photo-like 12 MP JPEGs (20 scenes, each under ten
# names). Times the first full page of thumbnails (1000 x 800 surface) and every thumbnail of
# the folder, against vipsthumbnail making 100-pixel thumbnails of the same files. Then a mixed
# folder of the 20 scenes as 12 MP PNGs and as JPEGs: its thumbnails, and the longest time the
# window thread stood still meanwhile, with the thumbnail helper and without it (window thread).
# vipsthumbnail gets both cores too: the files are split between two processes (xargs -P 2).
# Builds in Release in build-bench-browse/ (BENCH_BUILD=DIR takes the binaries already built in
# DIR); the corpus is made once in build-bench-browse/.
# Usage: bench/browse.sh [rounds]   (the best of the rounds is reported)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
work=$PWD/build-bench-browse
build=${BENCH_BUILD:-$work}
if [[ -z ${BENCH_BUILD:-} ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMJET_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target trimjet-browser-bench trimjet-thumbnailer batch_corpus >/dev/null
mkdir -p "$work"
corpus=$work/browse-corpus
if [ ! -f "$corpus/photo200.jpg" ]; then
  "$build/bin/batch_corpus" "$work/browse-png" 20 >/dev/null
  mkdir -p "$corpus"
  for s in $(seq -w 1 20); do
    vips copy "$work/browse-png/photo$s.png" "$work/browse-png/scene$s.jpg[Q=85]"
  done
  for i in $(seq 1 200); do
    s=$(printf %02d $(((i - 1) % 20 + 1)))
    cp "$work/browse-png/scene$s.jpg" "$corpus/photo$(printf %03d "$i").jpg"
  done
fi
mixed=$work/browse-mixed
if [ ! -f "$mixed/scene20.png" ]; then
  mkdir -p "$mixed"
  for s in $(seq -w 1 20); do
    cp "$work/browse-png/photo$s.png" "$mixed/scene$s.png"
    cp "$work/browse-png/scene$s.jpg" "$mixed/scene$s.jpg"
  done
fi
files=("$corpus"/photo*.jpg)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# vipsthumbnail on both cores: the files in two halves, one process each.
thumbs() {
  local half=$((($# + 1) / 2))
  printf '%s\n' "$@" | xargs -d '\n' -P 2 -n "$half" vipsthumbnail -s 100 -o "$out/%s.jpg"
}
best() { sort -n | head -1; }

# Warm the page cache so that every tool reads the same way.
cat "${files[@]}" "$mixed"/* >/dev/null

declare -a page all vpage vall
for ((r = 0; r < rounds; r++)); do
  result=$(QT_QPA_PLATFORM=offscreen "$build/bin/trimjet-browser-bench" "$corpus")
  cells=$(awk '$1 == "page_cells" {print $2}' <<<"$result")
  page+=("$(awk '$1 == "first_page_ms" {print $2}' <<<"$result")")
  all+=("$(awk '$1 == "all_ms" {print $2}' <<<"$result")")
  t0=$(now_ms)
  thumbs "${files[@]:0:$cells}"
  t1=$(now_ms)
  thumbs "${files[@]}"
  t2=$(now_ms)
  vpage+=($((t1 - t0)))
  vall+=($((t2 - t1)))
done

p=$(printf '%s\n' "${page[@]}" | best)
a=$(printf '%s\n' "${all[@]}" | best)
vp=$(printf '%s\n' "${vpage[@]}" | best)
va=$(printf '%s\n' "${vall[@]}" | best)
echo "files ${#files[@]}, first page $cells cells, best of $rounds rounds, $(nproc) cores"
printf '%-28s %8s %8s %8s\n' "" "browser" "vips -P2" "ratio"
printf '%-28s %8s %8s %8.2f\n' "first full page (ms)" "$p" "$vp" "$(echo "$p / $vp" | bc -l)"
printf '%-28s %8s %8s %8.2f\n' "all thumbnails (ms)" "$a" "$va" "$(echo "$a / $va" | bc -l)"

# The mixed folder fits one page, so the first page is every thumbnail.
mfiles=("$mixed"/*)
declare -a mpage mstall wpage wstall vmixed
for ((r = 0; r < rounds; r++)); do
  result=$(QT_QPA_PLATFORM=offscreen "$build/bin/trimjet-browser-bench" "$mixed")
  mpage+=("$(awk '$1 == "first_page_ms" {print $2}' <<<"$result")")
  mstall+=("$(awk '$1 == "max_stall_ms" {print $2}' <<<"$result")")
  result=$(QT_QPA_PLATFORM=offscreen "$build/bin/trimjet-browser-bench" "$mixed" --no-helper)
  wpage+=("$(awk '$1 == "first_page_ms" {print $2}' <<<"$result")")
  wstall+=("$(awk '$1 == "max_stall_ms" {print $2}' <<<"$result")")
  t0=$(now_ms)
  thumbs "${mfiles[@]}"
  t1=$(now_ms)
  vmixed+=($((t1 - t0)))
done
mp=$(printf '%s\n' "${mpage[@]}" | best)
ms=$(printf '%s\n' "${mstall[@]}" | best)
wp=$(printf '%s\n' "${wpage[@]}" | best)
ws=$(printf '%s\n' "${wstall[@]}" | best)
vm=$(printf '%s\n' "${vmixed[@]}" | best)
echo
echo "mixed folder: ${#mfiles[@]} files (20 PNG, 20 JPEG, 12 MP), best of $rounds rounds"
printf '%-28s %8s %8s %8s\n' "" "helper" "window" "vips -P2"
printf '%-28s %8s %8s %8s\n' "every thumbnail (ms)" "$mp" "$wp" "$vm"
printf '%-28s %8s %8s %8s\n' "longest window stall (ms)" "$ms" "$ws" "-"
