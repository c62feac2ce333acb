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
set -C # each task writes its own file; a rerun is another job and never overwrites one
"$cli" --jobs "${SLURM_CPUS_PER_TASK:-1}" --keep-structure --if-exists skip --quiet --json \
  --files-from list0 -0 --shard "$part/$parts" --output-dir "$out" \
  >"$results/part-$part.job-$SLURM_JOB_ID.jsonl"
