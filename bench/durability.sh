#!/usr/bin/env bash
# Cost of the folder sync after each rename: 20 real photographs of 14.7 MP (5120x2880, the
# largest JPEGs of Debian's plasma-workspace-wallpapers, cycled) optimised over themselves by
# trimjet-cli --jobs 1 under strace, which times every fsync: the one after a rename is the
# folder's, the other the new file's data. Also the run's wall time without strace.
# Usage: bench/durability.sh [build dir, default build]   (needs strace and the wallpapers)
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build}/bin/trimjet-cli
mapfile -t photos < <(ls /usr/share/wallpapers/*/contents/images*/5120x2880.jpg)
[ ${#photos[@]} -gt 0 ] || { echo "no wallpapers: apt-get install plasma-workspace-wallpapers"; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/trimjet-durability-XXXXXX")
trap 'rm -rf "$work"' EXIT
fill() {
  rm -f "$work"/*.jpg
  for i in $(seq -w 1 20); do cp "${photos[$(( (10#$i - 1) % ${#photos[@]} ))]}" "$work/photo$i.jpg"; done
  sync
}
fill
start=$(date +%s.%N)
"$cli" --quiet --jobs 1 --allow-larger --overwrite "$work" >/dev/null
end=$(date +%s.%N)
fill
strace -qq -T -e trace=fsync,rename -o "$work/trace" "$cli" --quiet --jobs 1 --allow-larger \
  --overwrite "$work" >/dev/null
awk -v wall="$(echo "$end - $start" | bc)" '
  /^rename\(/ { renamed = 1; next }
  /^fsync\(/ { t = $NF; gsub(/[<>]/, "", t)
               if (renamed) { dir += t; nd++ } else { data += t; nf++ }
               renamed = 0 }
  END { printf "run without strace: %.2f s for 20 photos\n", wall
        printf "file data fsync:   %d calls, %.3f s (%.1f ms each)\n", nf, data, 1000 * data / nf
        printf "folder fsync:      %d calls, %.3f s (%.1f ms each)\n", nd, dir, 1000 * dir / nd }' \
  "$work/trace"
