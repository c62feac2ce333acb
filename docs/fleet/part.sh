#!/bin/sh
# One pod of the Kubernetes Indexed Job (job.yaml): part JOB_COMPLETION_INDEX of PARTS,
# the results on the shared results volume, a file per pod, so a retry keeps the figures
# of the pod before it. The exit status is trimjet-cli's: 1 pictures failed (the job's
# podFailurePolicy stops that index), 3 the run broke (retried).
parts=${PARTS:?}
part=${JOB_COMPLETION_INDEX:?not an Indexed Job pod}
photos=${PHOTOS:-/photos}
out=${OUT:-/out}
results=${RESULTS:-/results}
mkdir -p "$results" && cd "$photos" || exit 3
set -C
exec trimjet-cli --jobs "${CPUS:-1}" --keep-structure --if-exists skip --quiet --json \
  --files-from list0 -0 --shard "$part/$parts" --output-dir "$out" \
  >"$results/part-$part.${HOSTNAME:?}.jsonl"
