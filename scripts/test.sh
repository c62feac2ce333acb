#!/usr/bin/env bash
# Installs what Trimjet needs, builds it with its tests into build/ and runs the whole suite,
# then runs the same suite once more built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-sanitize/), and gives each fuzz target a short run (build-fuzz/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
# A compiler cache, where one is installed, makes a second run of this script quick; paths are
# taken relative to the checkout so that clones in other folders share it.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j2

echo "== Sanitizer build"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRIMJET_SANITIZE=ON >/dev/null
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp \
  ctest --test-dir build-sanitize --output-on-failure -j2

echo "== Short fuzz pass (clang, libFuzzer)"
fuzz/run.sh 30
