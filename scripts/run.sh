#!/usr/bin/env bash
# Installs what Trimjet needs, builds it into build/ and starts it. Without arguments it opens
# the browsing main window on the sample pictures of this checkout; arguments go to the
# program unchanged (for example: OptimizeImage FILE).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ "$#" -eq 0 ]; then
  exec build/bin/Trimjet "Debug:StartMain $PWD/samples"
fi
exec build/bin/Trimjet "$@"
