#!/usr/bin/env bash
# Builds the reader's libFuzzer target with clang (AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz and runs it for a bounded time from the seeds in fuzz/corpus. Fails on any
# crash, hang, sanitizer report or broken invariant. KRINU_FUZZ_SECONDS sets the time (60).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz
seconds=${KRINU_FUZZ_SECONDS:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target reader_fuzzer

# New inputs go to a scratch folder; the committed seeds stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
log="$dir/reader_fuzzer.log"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
"$dir/fuzz/reader_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=4096 -print_final_stats=1 -artifact_prefix="$dir/" "$work" fuzz/corpus \
  >"$log" 2>&1 || status=$?
runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
if [ "$status" -ne 0 ]; then
  tail -n 60 "$log"
  echo "reader fuzzing FAILED (see $log and the crash-* file in $dir)"
  exit 1
fi
echo "reader fuzzing passed: ${runs:-?} executions in ${seconds} s"
