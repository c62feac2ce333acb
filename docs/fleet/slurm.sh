#!/bin/sh
# A Slurm job array: task K does part K of PARTS. Submit with  sbatch slurm.sh ; run parts
# again with  sbatch --array=3,7 slurm.sh . The part count is this script's, never the
# array's size, so a rerun of some tasks splits the list exactly as the first run did.
#SBATCH --array=0-15
#SBATCH --cpus-per-task=2
#SBATCH --mem=1G
parts=${PARTS:-16}
photos=${PHOTOS:-/shared/photos}
out=${OUT:-/shared/out}
results=${RESULTS:-/shared/trimjet-results}  # outside the photos
cli=${CLI:-trimjet-cli}
part=${SLURM_ARRAY_TASK_ID:?not a job array task}
if [ "$part" -ge "$parts" ]; then
  echo "array task $part is no part of 0..$((parts - 1))" >&2
  exit 2
fi
mkdir -p "$results" && cd "$photos" || exit 3
# Each task writes a file of its own: a rerun is another job, a requeued task keeps its job id
# but counts up SLURM_RESTART_COUNT, and set -C refuses to write over a file all the same.
# exec: a signal that ends trimjet-cli ends the task, so sacct shows it as a signal (0:9).
set -C
exec "$cli" --jobs "${SLURM_CPUS_PER_TASK:-1}" --keep-structure --if-exists skip --quiet --json \
  --files-from list0 -0 --shard "$part/$parts" --output-dir "$out" \
  >"$results/part-$part.job-$SLURM_JOB_ID-${SLURM_RESTART_COUNT:-0}.jsonl"
