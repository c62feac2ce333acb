#!/usr/bin/env bash
# One list of pictures shared by the hosts of an ssh login file, with GNU parallel.
# Usage: parallel.sh [shard|pipe] [more parallel options, e.g. --resume-failed]
#   shard: PARTS parts, each host taking the next part when it is free (the default);
#   pipe:  parallel cuts the list itself, one block per host.
# Every host must see PHOTOS and OUT at the same place (a shared file system). Results
# come back to this machine, one file per run in RESULTS, which lies outside the photos.
set -euo pipefail
mode=${1:-shard}
shift || true
hosts=${HOSTS:-$HOME/.parallel/sshloginfile}  # "1/host" a line: one part at a time a host
photos=${PHOTOS:-/srv/photos}
out=${OUT:-/srv/out}
results=${RESULTS:-$HOME/trimjet-results}
cli=${CLI:-/usr/bin/trimjet-cli}  # ssh runs commands with a short PATH: the full path
parts=${PARTS:-16}

mkdir -p "$results"
cd "$photos"
[ -s list0 ] || find . -type f \( -iname '*.jpg' -o -iname '*.png' \) -print0 >list0
run=$results/results-$(date +%Y%m%d-%H%M%S)-$$.jsonl
common=(--keep-structure --if-exists skip --quiet --json --output-dir "$out")
set -C # never write over an earlier run's results
if [ "$mode" = pipe ]; then
  # --block -1: one block per job slot, so every host gets a share of any list.
  parallel --sshloginfile "$hosts" --workdir "$photos" --halt never \
    --joblog "$results/pipe.log" "$@" \
    --pipe-part -a list0 --recend '\0' --block -1 \
    "$cli" "${common[@]}" --files-from - -0 >"$run"
else
  parallel --sshloginfile "$hosts" --workdir "$photos" --halt never \
    --joblog "$results/parts.log" "$@" \
    "$cli" "${common[@]}" --files-from list0 -0 --shard "{}/$parts" \
    ::: $(seq 0 $((parts - 1))) >"$run"
fi
