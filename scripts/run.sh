#!/usr/bin/env bash
# Installs what Trimjet needs, builds it into build/ and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
exec build/bin/Trimjet "$@"
