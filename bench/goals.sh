#!/usr/bin/env bash
# The file-size, batch and browser benchmarks in turn, each against the tools a user would pick
# instead; every script builds what it needs in Release. The figures and their goals are in
# docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."
bench/compress.sh
bench/batch.sh "${1:-3}"
bench/browse.sh "${1:-3}"
