#!/bin/bash
# A month's batch of many taxpayers: JOBS exports of LINES lines each (200 x 5,000 by
# default), made once as JOBS separate `krinu-cli convert` processes (the yardstick) and
# once as one `krinu-cli batch`, with --jobs 1 and with --jobs 2. Prints wall time, user +
# system time and peak RSS of each, the batch's ratio to the separate processes, and
# checks that every XML of the batch equals the one `convert` wrote for its row. Run by
# hand on a Release build, never as a test.
#
#   bench/batch_scale.sh [JOBS] [LINES] [DISTINCT]
#
# DISTINCT (default 20) exports are generated and shared out among the rows; each row has
# its own taxpayer period and output. KRINU_CLI overrides build/bin/krinu-cli; GEN_INVOICES
# the generator (default ../shared/tools/gen-invoices beside the repository).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
jobs=${1:-200}
lines=${2:-5000}
distinct=${3:-20}
cli=${KRINU_CLI:-$here/build/bin/krinu-cli}
gen=${GEN_INVOICES:-$here/../shared/tools/gen-invoices}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir in conv b1 b2
data="$work/data"

"$cli" --data-dir "$data" taxpayer add --tax-number 12345678242 --name "Minta Kft" \
  --bank OTP --account 117730161111101800000000 >/dev/null 2>&1
# Exports whose layout the automatic detection reads (a few seeds of the generator give a
# preview it cannot decide; they are passed over).
made=0
seed=1
while [ "$made" -lt "$distinct" ]; do
  "$gen" --lines "$lines" --seed "$seed" --year 2024 --partners 200 --header \
    --out "in/e$made.csv" 2>/dev/null
  seed=$((seed + 1))
  if "$cli" --data-dir "$data" load "in/e$made.csv" >/dev/null 2>&1; then made=$((made + 1)); fi
done

printf 'Bemenet;Adószám;Ügyintéző;Kezdete;Vége;Kimenet\n' >m1.csv
printf 'Bemenet;Adószám;Ügyintéző;Kezdete;Vége;Kimenet\n' >m2.csv
for ((i = 0; i < jobs; i++)); do
  month=$(printf '%02d' $((i % 12 + 1)))
  last=$(date -d "2024-$month-01 +1 month -1 day" +%d)
  row="in/e$((i % distinct)).csv;12345678242;0001;2024-$month-01;2024-$month-$last"
  echo "$row;b1/r$i.xml" >>m1.csv
  echo "$row;b2/r$i.xml" >>m2.csv
done

measure() {  # name command...
  local name=$1
  shift
  /usr/bin/time -o "$work/t" -f "%e %U %S %M" "$@" >/dev/null 2>"$work/err" || true
  read -r wall user sys rss <"$work/t"
  printf '%-22s wall %7.2f s   cpu %7.2f s   peak RSS %7d kB\n' "$name" "$wall" \
    "$(echo "$user + $sys" | bc)" "$rss"
  echo "$wall" >"$work/$name.wall"
}

separate() {
  tail -n +2 m1.csv | while IFS=';' read -r input tax admin from to out; do
    "$cli" --data-dir "$data" convert "$input" --out "conv/$(basename "$out")" \
      --taxpayer "$tax" --admin "$admin" --from "$from" --to "$to" \
      --log "conv/$(basename "$out" .xml).log" >/dev/null 2>&1 || true
  done
}
export -f separate
export cli data

echo "$jobs jobs of $lines lines ($distinct distinct exports), $(nproc) cores"
measure separate-converts bash -c separate
measure batch-jobs-1 "$cli" --data-dir "$data" batch m1.csv --jobs 1
measure batch-jobs-2 "$cli" --data-dir "$data" batch m2.csv --jobs 2
# Peak RSS of the separate processes is that of one of them; the batch's should stay near it.
for name in batch-jobs-1 batch-jobs-2; do
  echo "$name / separate-converts: $(echo "scale=2; $(cat "$work/$name.wall") / $(cat "$work/separate-converts.wall")" | bc)"
done

differ=0
for ((i = 0; i < jobs; i++)); do
  cmp -s "conv/r$i.xml" "b1/r$i.xml" || differ=$((differ + 1))
  cmp -s "b1/r$i.xml" "b2/r$i.xml" || differ=$((differ + 1))
done
echo "XML differing from convert's: $differ of $((2 * jobs))"
