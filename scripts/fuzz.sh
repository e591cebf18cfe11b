#!/usr/bin/env bash
# Builds every libFuzzer target with clang (AddressSanitizer, UndefinedBehaviorSanitizer) and
# runs each for a bounded time from its committed seeds: the reader from fuzz/corpus (60 s),
# the recognisers and converters from fuzz/corpus-content (45 s). Fails on any crash, hang,
# sanitizer report or broken invariant. KRINU_FUZZ_SECONDS sets one time for every target.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-fuzz  # the fuzz preset's folder (CMakePresets.json)
# target, seed folder, default seconds
targets=(
  "reader_fuzzer fuzz/corpus 60"
  "content_fuzzer fuzz/corpus-content 45"
)
cmake --preset fuzz >/dev/null
names=()
for entry in "${targets[@]}"; do
  read -r name _ _ <<<"$entry"
  names+=("$name")
done
cmake --build --preset fuzz -j "$(nproc)" --target "${names[@]}"

# New inputs go to scratch folders; the committed seeds stay as they are.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for entry in "${targets[@]}"; do
  read -r name seeds default <<<"$entry"
  seconds=${KRINU_FUZZ_SECONDS:-$default}
  log="$dir/$name.log"
  mkdir -p "$work/$name"
  status=0
  "$dir/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$dir/$name-" "$work/$name" "$seeds" \
    >"$log" 2>&1 || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "$name FAILED (see $log and the $name-crash-* file in $dir)"
    failed=1
  else
    echo "$name passed: ${runs:-?} executions in ${seconds} s"
  fi
done
exit "$failed"
