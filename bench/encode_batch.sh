#!/usr/bin/env bash
# The JPEG encoder on real photos, each figure side by side with its reference in one run, the two
# sides alternated round by round so that other load on the machine hits both alike; medians of
# the rounds and their ratios. The photos: Debian's plasma-workspace-wallpapers, 20 scenes cut to
# 4:3 and scaled to 4000 x 3000 (12 MP) by vips thumbnail, saved as JPEG Q=92. Quality Q (default
# 75, vips' own default) on both sides; both keep the metadata and optimise the Huffman tables.
#  1. batch: trimjet-cli --jobs 2 against xargs -P 2 vips copy IN OUT.jpg[Q=Q,optimize_coding];
#     wall time and the tree's peak memory (bench/peakmem.py). Goal: time at most 0.9 x.
#  2. one 8000 x 6000 JPEG (48 MP, Volna scaled, Q=92): trimjet-cli --jobs 1 against vips copy;
#     peak memory. Goal: at most 2 x.
#  3. auto quality: trimjet-cli --jobs 1 --quality auto[:AUTO_LEVEL] against --quality Q, the
#     first AUTO_N (10) photos one after another. Goal: at most 3 x.
#  4. the first 3 photos re-encoded at Q by trimjet-cli (plain), trimjet-cli --tuned, and djpeg
#     piped into cjpeg -optimize or into mozjpeg's cjpeg (PEERS); whole processes, decode included.
# Prints the load average before each step. Usage: bench/encode_batch.sh [trimjet-cli] [rounds]
# (default build/bin/trimjet-cli, 3); WORK=DIR keeps the corpus there between runs; STEPS lists
# the steps to run (default "1 2 3 4").
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(readlink -f "${1:-build/bin/trimjet-cli}")
rounds=${2:-3}
q=${QUALITY:-75}
peers=${PEERS:-$PWD/../shared/tools/peers}
steps=${STEPS:-1 2 3 4}
peakmem=$PWD/bench/peakmem.py
work=${WORK:-}
if [[ -z $work ]]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
walls=/usr/share/wallpapers
scenes=${SCENES:-"Altai Flow Honeywave IceCold Kay MilkyWay Patak SafeLanding Shell Volna
  Canopee Cascade Cluster Kokkini Opal PastelHills Autumn BytheWater ColorfulCups EveningGlow"}
src=$work/src
mkdir -p "$src"
i=0
for s in $scenes; do
  i=$((i + 1))
  f=$src/photo$(printf %02d $i).jpg
  [[ -f $f ]] && continue
  # The widest landscape picture of the scene.
  in=$(find "$walls/$s/contents/images" -name '*x*.*' | awk -F/ '{split($NF, d, /[x.]/);
    if (d[1] + 0 > d[2] + 0) print d[1], $0}' | sort -n | tail -1 | cut -d' ' -f2)
  [[ -n $in ]] || { echo "no wallpaper $s (apt-get install plasma-workspace-wallpapers)" >&2; exit 1; }
  vips thumbnail "$in" "$f[Q=92]" 4000 --height 3000 --size both --crop centre
done
photos=("$src"/photo*.jpg)
big=$work/big8000x6000.jpg
[[ -f $big ]] || vips thumbnail "$walls/Volna/contents/images/5120x2880.jpg" "$big[Q=92]" 8000 \
  --height 6000 --size both --crop centre

median() { sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
# peak DEST CMD...: runs CMD with an empty DEST; prints "seconds KiB".
peak() {
  local dest=$1
  shift
  rm -rf "$dest" && mkdir -p "$dest"
  python3 "$peakmem" "$@"
}
# secs CMD...: wall seconds of CMD.
secs() {
  local t0
  t0=$(date +%s%N)
  "$@" >/dev/null
  awk -v d=$(($(date +%s%N) - t0)) 'BEGIN { printf "%.3f", d / 1e9 }'
}
load() { echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"; }
out=$work/out
echo "trimjet-cli: $cli, built $(date -r "$cli" '+%F %T'), checkout at $(git log -1 --format=%h)"

if [[ " $steps " == *" 1 "* ]]; then
  echo "== 1. ${#photos[@]} JPEGs 4000x3000 Q=92 -> Q=$q: trimjet-cli --jobs 2 vs xargs -P 2 vips copy [optimize_coding]; $(load)"
  : >"$work/t1"
  for ((r = 1; r <= rounds; r++)); do
    read -r tt tm < <(peak "$out/t" "$cli" --quiet --jobs 2 --quality "$q" --output-dir "$out/t" "${photos[@]}")
    read -r vt vm < <(peak "$out/v" bash -c 'cd "$1" && ls photo*.jpg | xargs -P 2 -I{} vips copy {} "$2/{}.jpg[Q=$3,optimize_coding]"' \
      _ "$src" "$out/v" "$q")
    echo "round $r: trimjet $tt s $((tm / 1024)) MiB, vips $vt s $((vm / 1024)) MiB, time ratio $(ratio "$tt" "$vt"); $(load)"
    echo "$tt $vt $tm $vm $(ratio "$tt" "$vt")" >>"$work/t1"
  done
  tb=$(du -cb "$out"/t/*.jpg | tail -1 | cut -f1) vb=$(du -cb "$out"/v/*.jpg | tail -1 | cut -f1)
  tt=$(cut -d' ' -f1 "$work/t1" | median) vt=$(cut -d' ' -f2 "$work/t1" | median)
  echo "medians: trimjet $tt s, vips $vt s, ratio of medians $(ratio "$tt" "$vt")," \
    "median ratio $(cut -d' ' -f5 "$work/t1" | median) (goal 0.9 or less);" \
    "peak $(($(cut -d' ' -f3 "$work/t1" | median) / 1024)) / $(($(cut -d' ' -f4 "$work/t1" | median) / 1024)) MiB;" \
    "bytes $tb / $vb = $(ratio "$tb" "$vb")"
fi

if [[ " $steps " == *" 2 "* ]]; then
  echo "== 2. one JPEG 8000x6000 Q=92 -> Q=$q: trimjet-cli --jobs 1 vs vips copy [optimize_coding]; $(load)"
  : >"$work/t2"
  for ((r = 1; r <= rounds; r++)); do
    read -r tt tm < <(peak "$out/t" "$cli" --quiet --jobs 1 --quality "$q" --output-dir "$out/t" "$big")
    read -r vt vm < <(peak "$out/v" vips copy "$big" "$out/v/big.jpg[Q=$q,optimize_coding]")
    echo "round $r: trimjet $tt s $((tm / 1024)) MiB, vips $vt s $((vm / 1024)) MiB, memory ratio $(ratio "$tm" "$vm"); $(load)"
    echo "$tt $vt $tm $vm $(ratio "$tm" "$vm")" >>"$work/t2"
  done
  tm=$(cut -d' ' -f3 "$work/t2" | median) vm=$(cut -d' ' -f4 "$work/t2" | median)
  echo "medians: peak trimjet $((tm / 1024)) MiB, vips $((vm / 1024)) MiB, ratio $(ratio "$tm" "$vm") (goal 2 or less);" \
    "time $(cut -d' ' -f1 "$work/t2" | median) / $(cut -d' ' -f2 "$work/t2" | median) s"
fi

if [[ " $steps " == *" 3 "* ]]; then
  level=${AUTO_LEVEL:+:$AUTO_LEVEL}
  set -- "${photos[@]:0:${AUTO_N:-10}}"
  echo "== 3. $# photos 4000x3000, trimjet-cli --jobs 1: --quality auto$level vs --quality $q; $(load)"
  : >"$work/t3"
  for ((r = 1; r <= rounds; r++)); do
    rm -rf "$out/f" "$out/a"
    ft=$(secs "$cli" --quiet --jobs 1 --quality "$q" --output-dir "$out/f" "$@")
    at=$(secs "$cli" --json --jobs 1 --quality "auto$level" --output-dir "$out/a" "$@")
    echo "round $r: fixed $ft s, auto $at s, ratio $(ratio "$at" "$ft"); $(load)"
    echo "$ft $at $(ratio "$at" "$ft")" >>"$work/t3"
  done
  "$cli" --json --jobs 1 --quality "auto$level" --output-dir "$out/a2" "$@" |
    sed -n 's/.*"lossless":\([a-z]*\).*"quality":\([0-9]*\).*/\2\1/p' | sed 's/false//; s/true/ (lossless)/' |
    tr '\n' ',' | sed 's/,$/\n/; s/^/qualities found: /'
  echo "medians: fixed $(cut -d' ' -f1 "$work/t3" | median) s, auto $(cut -d' ' -f2 "$work/t3" | median) s," \
    "median ratio $(cut -d' ' -f3 "$work/t3" | median) (goal 3 or less)"
fi

if [[ " $steps " == *" 4 "* ]]; then
  # From the same JPEG files on every side: the peers read the pixels from djpeg through a pipe.
  # djpeg alone and trimjet-cli on a 64 x 48 JPEG (its process start) are timed for reference.
  echo "== 4. 3 photos 4000x3000 JPEG -> Q=$q, one process (or pipe) each; $(load)"
  [[ -f $work/tiny.jpg ]] || vips thumbnail "${photos[0]}" "$work/tiny.jpg[Q=92]" 64
  encode() {
    local name=$1 i=$2 f=${photos[$2]}
    case $name in
      plain) "$cli" --quiet --jobs 1 --if-exists replace --quality "$q" --output-dir "$out/e-plain" "$f" ;;
      tuned) "$cli" --quiet --jobs 1 --if-exists replace --tuned --quality "$q" --output-dir "$out/e-tuned" "$f" ;;
      cjpeg) djpeg "$f" | cjpeg -quality "$q" -optimize -outfile "$out/e-cjpeg$i.jpg" ;;
      mozjpeg) djpeg "$f" | "$peers/moz-cjpeg" -quality "$q" -outfile "$out/e-moz$i.jpg" ;;
      djpeg) djpeg -outfile "$out/e-djpeg.ppm" "$f" ;;
      start) "$cli" --quiet --jobs 1 --if-exists replace --quality "$q" --output-dir "$out/e-start" "$work/tiny.jpg" ;;
    esac
  }
  rm -rf "$out"/e-* && mkdir -p "$out"
  : >"$work/t4"
  for ((r = 1; r <= rounds; r++)); do
    line=""
    for name in plain tuned cjpeg mozjpeg djpeg start; do
      t=0
      for i in 0 1 2; do t=$(awk -v a="$t" -v b="$(secs encode $name $i)" 'BEGIN { print a + b }'); done
      line+="$t "
    done
    read -r p t c m d s0 <<<"$line"
    echo "round $r (3 photos, s): plain $p, tuned $t, djpeg|cjpeg -optimize $c, djpeg|mozjpeg $m, djpeg $d, start $s0;" \
      "tuned/plain $(ratio "$t" "$p"), tuned/cjpeg $(ratio "$t" "$c"), tuned/mozjpeg $(ratio "$t" "$m"), plain/cjpeg $(ratio "$p" "$c"); $(load)"
    echo "$line" >>"$work/t4"
  done
  col() { cut -d' ' -f"$1" "$work/t4" | median; }
  bytes() { du -cb "$@" | tail -1 | cut -f1; }
  read -r p t c m d s0 <<<"$(col 1) $(col 2) $(col 3) $(col 4) $(col 5) $(col 6)"
  echo "medians of 3 photos (s): plain $p, tuned $t, cjpeg $c, mozjpeg $m, djpeg $d, start $s0;" \
    "ratios of medians: tuned/plain $(ratio "$t" "$p"), tuned/cjpeg $(ratio "$t" "$c"), tuned/mozjpeg $(ratio "$t" "$m")," \
    "plain/cjpeg $(ratio "$p" "$c")"
  echo "bytes of the 3: plain $(bytes "$out"/e-plain/*.jpg), tuned $(bytes "$out"/e-tuned/*.jpg)," \
    "cjpeg $(bytes "$out"/e-cjpeg*.jpg), mozjpeg $(bytes "$out"/e-moz*.jpg)"
fi
