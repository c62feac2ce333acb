#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/ (or $TRIMJET_FUZZ_BUILD), replays the kept regression inputs, then runs each
# target for the given seconds. Fails when any target finds a crash, leak, hang or memory blow-up.
#   fuzz/run.sh [seconds-per-target, default 60] [target ...]
# The corpus grows in <build>/corpus/<target>/; findings land in <build>/findings/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=${TRIMJET_FUZZ_BUILD:-$root/build-fuzz}
all=(fuzz_image_buffer fuzz_image_file fuzz_effects fuzz_language_file fuzz_startup_args fuzz_handoff)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
flags+=" -fno-omit-frame-pointer -gline-tables-only"
CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" -DTRIMJET_SKIP="${TRIMJET_FUZZ_SKIP:-}" \
  >/dev/null
cmake --build "$build" --target "${targets[@]}" -j2
python3 "$root/fuzz/make_seeds.py" "$build/seeds"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:handle_abort=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/support/lsan.supp:print_suppressions=0

max_len() {
  case $1 in
    fuzz_image_*) echo 65536 ;;
    fuzz_handoff) echo 65536 ;;  # long enough to fill the 32,000-byte command line
    *) echo 8192 ;;
  esac
}

failed=()
mkdir -p "$build/logs"
for t in "${targets[@]}"; do
  bin=$build/fuzzers/$t
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  log=$build/logs/$t.log
  mkdir -p "$corpus" "$findings"
  kept=()
  for f in "$root/fuzz/regressions/$t"/*; do
    [ -e "$f" ] || continue
    if grep -qxF "$t/$(basename "$f")" "$root/fuzz/regressions/open.txt"; then
      echo "   (open finding not replayed: $t/$(basename "$f"))"
    else
      kept+=("$f")
    fi
  done
  if [ ${#kept[@]} -gt 0 ] && ! "$bin" -rss_limit_mb=2048 "${kept[@]}" >"$log.replay" 2>&1; then
    echo "== $t: a kept regression input fails again (see $log.replay)"
    failed+=("$t")
    continue
  fi
  echo "== $t: ${seconds}s"
  # Fork mode keeps going past a crash, an out-of-memory or a slow input, so one run collects
  # them all; every crash, leak, out-of-memory or timeout input it saves counts as a finding.
  stamp=$(mktemp)
  status=0
  "$bin" -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
    -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -max_len="$(max_len "$t")" -artifact_prefix="$findings/" \
    "$corpus" "$build/seeds/$t" >"$log" 2>&1 || status=$?
  new=$(find "$findings" -type f -newer "$stamp" \( -name 'crash-*' -o -name 'leak-*' \
    -o -name 'oom-*' -o -name 'timeout-*' \) | sort)
  # A slow input (over 10 s) is worth a look but is no failure; a hang shows as timeout-*.
  for f in $(find "$findings" -type f -newer "$stamp" -name 'slow-unit-*'); do echo "   slow: $f"; done
  rm -f "$stamp"
  last=$(grep -E '^#[0-9]+: ' "$log" | tail -n 1 || true)
  echo "   ${last%% dft_time*}; corpus $(find "$corpus" -type f | wc -l) files"
  if [ "$status" -ne 0 ] || [ -n "$new" ]; then
    echo "   FINDING (exit $status): $(grep -m1 -E 'ERROR|invariant broken|runtime error' "$log" || true)"
    for f in $new; do echo "   input: $f"; done
    echo "   log: $log"
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found problems in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no findings"
