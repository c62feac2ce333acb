#!/usr/bin/env bash
# Runs the fleet recipes of docs/fleet/ as written, only the hosts and folders changed:
# GNU parallel over ssh to an sshd of its own on 127.0.0.1 and 127.0.0.2 (root's own key,
# loopback only), by parts and by blocks, with one part killed and rerun; the Slurm array
# script and the Kubernetes pod script under the variables their schedulers set. After each,
# every picture of a 200-picture list must have been written exactly once.
# Usage: bench/fleet.sh   (uses build/bin/trimjet-cli; CLI=... for another)
set -uo pipefail
cd "$(dirname "$0")/.."
src=$PWD
cli=${CLI:-$src/build/bin/trimjet-cli}
[ -x "$cli" ] || { echo "no $cli: cmake --build build --target trimjet-cli trimjet-batch-worker" >&2; exit 1; }
work=$(mktemp -d /tmp/trimjet-fleet.XXXXXX)
sshd_pid=""
cleanup() {
  [ -n "$sshd_pid" ] && kill "$sshd_pid" 2>/dev/null
  [ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# 200 pictures in 20 folders, names with blanks, every format of samples/.
photos=$work/photos
for i in $(seq -w 1 20); do
  mkdir -p "$photos/roll $i" && cp "$src"/samples/*.* "$photos/roll $i/"
  rm -f "$photos/roll $i/make_samples.sh"
done
(cd "$photos" && find . -type f ! -name 'list0*' -print0 | sort -z >list0.new && mv list0.new list0)
count=$(tr -cd '\0' <"$photos/list0" | wc -c)
echo "list: $count pictures"

# Every listed picture once in OUT and nothing else there; every picture in the run's result
# files, none written twice, each summary naming its part.
check() {
  python3 - "$photos" "$1" "$2" "${@:3}" <<'PY' || fail "$2"
import json, os, sys
photos, out, label, files = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
names = [n for n in open(os.path.join(photos, "list0"), "rb").read().decode().split("\0") if n and n != "./list0"]
want = {os.path.normpath(os.path.splitext(n)[0]) + ".jpg" for n in names}
have = {os.path.relpath(os.path.join(d, f), out) for d, _, fs in os.walk(out) for f in fs}
done, reported, summaries = {}, set(), 0
for f in files:
    for line in open(f):
        o = json.loads(line)
        if o.get("summary"):
            summaries += 1
            assert "/" in o["shard"], o
            continue
        reported.add(o["source"])
        if o["status"] in ("written", "kept"):
            done[o["source"]] = done.get(o["source"], 0) + 1
sources = {os.path.normpath(os.path.join(photos, n)) for n in names}
errors = []
if have != want:
    errors.append(f"outputs: {len(want - have)} missing, {len(have - want)} extra {sorted(have - want)[:3]}")
# A killed part may lose the lines not yet sent back; the rerun then reports those as skipped.
if reported != sources or any(c > 1 for c in done.values()):
    errors.append(f"results: {len(sources - reported)} never reported, {sum(c > 1 for c in done.values())} written twice")
print(f"{label}: {len(have)} outputs for {len(names)} pictures, {summaries} summaries"
      + ("" if not errors else " -- " + "; ".join(errors)))
sys.exit(1 if errors else 0)
PY
}

# --- GNU parallel over ssh ---------------------------------------------------------------
mkdir -p /run/sshd ~/.ssh && chmod 700 ~/.ssh
[ -f ~/.ssh/id_ed25519 ] || ssh-keygen -q -t ed25519 -N '' -f ~/.ssh/id_ed25519
grep -qF "$(cut -d' ' -f2 ~/.ssh/id_ed25519.pub)" ~/.ssh/authorized_keys 2>/dev/null ||
  cat ~/.ssh/id_ed25519.pub >>~/.ssh/authorized_keys
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
cat >"$work/sshd_config" <<CONF
Port 2222
ListenAddress 127.0.0.1
ListenAddress 127.0.0.2
HostKey $work/host_key
PidFile $work/sshd.pid
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
CONF
/usr/sbin/sshd -D -e -f "$work/sshd_config" 2>"$work/sshd.log" &
sshd_pid=$!
ssh_cmd="ssh -p 2222 -o BatchMode=yes -o StrictHostKeyChecking=accept-new -o UserKnownHostsFile=$work/known_hosts"
printf '1/root@127.0.0.1\n1/root@127.0.0.2\n' >"$work/hosts"
export PARALLEL_SSH=$ssh_cmd  # the port and the scratch known-hosts file
for _ in $(seq 50); do $ssh_cmd root@127.0.0.1 true 2>/dev/null && break; sleep 0.1; done
$ssh_cmd root@127.0.0.2 true || { cat "$work/sshd.log"; echo "sshd on 127.0.0.1 and .2 is not reachable"; exit 1; }
# What a non-interactive ssh command sees: the reason for the full path in the recipe.
echo "PATH over ssh: $($ssh_cmd root@127.0.0.1 'echo $PATH')"

export HOSTS=$work/hosts PHOTOS=$photos CLI=$cli PARTS=4
# By shards; shard 2 is killed once it has written a picture, then run again.
export OUT=$work/out-parts RESULTS=$work/results-parts
part2=$(cd "$photos" && "$cli" -n --json --keep-structure --files-from list0 -0 --shard 2/4 -o "$OUT" |
  python3 -c 'import json,sys; print("\n".join(json.loads(l)["destination"] for l in sys.stdin if "summary" not in l))')
docs/fleet/parallel.sh shard >"$work/first.log" 2>&1 &
runner=$!
killed=""
while kill -0 "$runner" 2>/dev/null && [ -z "$killed" ]; do
  if printf '%s\n' "$part2" | while read -r f; do [ -e "$f" ] && exit 0; done; then
    killed=$(pgrep -f -- "^$cli .*--shard 2/4$" | head -n 1)
    [ -n "$killed" ] && kill -KILL "$killed"
  fi
  sleep 0.02
done
wait "$runner"
echo "first run: exit $? (shard 2 killed: pid ${killed:-none, it ended first})"
awk -F'\t' 'NR > 1 {sub(/.*--shard /, "", $9); sub(/.*@/, "", $2)
  print "  part " $9 ": host " $2 ", exit " $7 ", signal " $8}' "$RESULTS/parts.log"
docs/fleet/parallel.sh shard --resume-failed >"$work/rerun.log" 2>&1 || fail "the rerun of the failed part: $(cat "$work/rerun.log")"
echo "rerun: $(($(wc -l <"$RESULTS/parts.log") - 1)) jobs in the log"
check "$OUT" "parallel by shards, shard 2 killed and rerun" "$RESULTS"/results-*.jsonl
[ "$(cut -f2 "$RESULTS/parts.log" | sort -u | grep -c 127.0.0)" -eq 2 ] || fail "not both hosts took parts"

# By blocks of the list: both hosts get one.
export OUT=$work/out-pipe RESULTS=$work/results-pipe
docs/fleet/parallel.sh pipe >"$work/pipe.log" 2>&1 || fail "parallel by blocks: $(cat "$work/pipe.log")"
check "$OUT" "parallel by blocks (--block -1)" "$RESULTS"/results-*.jsonl
[ "$(tail -n +2 "$RESULTS/pipe.log" | wc -l)" -eq 2 ] || fail "by blocks: not one block per host"

# --- Slurm: the array's tasks, shard 2 lost, then sbatch --array=2 and a rerun of shard 1 -----
export OUT=$work/out-slurm RESULTS=$work/results-slurm
slurm() { SLURM_ARRAY_TASK_ID=$1 SLURM_JOB_ID=$2 SLURM_CPUS_PER_TASK=1 sh docs/fleet/slurm.sh; }
for k in 0 1 3; do slurm $k $((100 + k)) || fail "slurm task $k"; done
first=$(md5sum "$RESULTS/part-1.job-101-0.jsonl")
slurm 2 200 || fail "slurm rerun of task 2"
slurm 1 201 || fail "slurm rerun of task 1"
echo "$first" | md5sum -c --quiet || fail "the first run's results of part 1 changed"
check "$OUT" "slurm array, task 2 rerun, task 1 rerun" "$RESULTS"/*.jsonl
slurm 4 300 2>/dev/null && fail "a task outside 0..PARTS-1 ran"

# --- Kubernetes: the pods of the Indexed Job, index 2 retried ------------------------------
export OUT=$work/out-k8s RESULTS=$work/results-k8s
pod() { PATH=$(dirname "$cli"):$PATH JOB_COMPLETION_INDEX=$1 HOSTNAME=trimjet-photos-$1-$2 CPUS=1 sh docs/fleet/part.sh; }
for k in 0 1 2 3; do pod $k a || fail "pod $k"; done
pod 2 b || fail "the retry of index 2"
check "$OUT" "kubernetes indexed job, index 2 retried" "$RESULTS"/*.jsonl
# The statuses its podFailurePolicy acts on: 1 for a picture that fails, 3 for a broken run.
mkdir -p "$work/bad" && printf 'not a picture' >"$work/bad/a.png" && printf './a.png\0' >"$work/bad/list0"
PARTS=1 PHOTOS=$work/bad OUT=$work/out-bad pod 0 c 2>/dev/null
[ $? -eq 1 ] || fail "a failing picture does not give exit status 1"
PHOTOS=$photos OUT=/proc/trimjet-out pod 0 d 2>/dev/null
[ $? -eq 3 ] || fail "an output folder that cannot be made does not give exit status 3"

[ "$failures" -eq 0 ] && echo "fleet recipes: all checks passed"
exit "$failures"
