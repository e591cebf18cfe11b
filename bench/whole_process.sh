#!/bin/bash
# Whole processes side by side on one export, as a user would run them: Python's csv load
# of the same file with the same conversions (the yardstick), `krinu-cli load` and
# `krinu-cli convert`. Rounds are interleaved so that a busy machine slows all three alike;
# medians of wall time, user + system time, and the largest peak RSS are printed, with each
# one's ratio to Python's. Run by hand on a Release build, never as a test.
#
#   bench/whole_process.sh CSV [ROUNDS] [PYTHON_LOAD]
#
# CSV: e.g. made by `gen-invoices --lines 999999 --encoding cp1250 --sep ';' --header
# --seed 1 --out /tmp/inv.csv`; PYTHON_LOAD defaults to ../shared/tools/bench-py-load beside
# the repository. KRINU_CLI overrides build/bin/krinu-cli.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
csv=${1:?usage: whole_process.sh CSV [ROUNDS] [PYTHON_LOAD]}
rounds=${2:-5}
pyload=${3:-$here/../shared/tools/bench-py-load}
cli=${KRINU_CLI:-$here/build/bin/krinu-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KRINU_ANSI_CODEPAGE=${KRINU_ANSI_CODEPAGE:-1250}

run() {  # name command...
  local name=$1
  shift
  /usr/bin/time -o "$work/t" -f "%e %U %S %M" "$@" >/dev/null 2>"$work/err" ||
    { echo "$name failed:" >&2; cat "$work/err" >&2; exit 1; }
  echo "$name $(cat "$work/t")" >>"$work/times"
}

"$cli" --data-dir "$work/data" taxpayer list >/dev/null 2>&1
for _ in $(seq "$rounds"); do
  run python "$pyload" "$csv" --encoding cp1250
  run load "$cli" --data-dir "$work/data" load "$csv" --skipped "$work/skipped.txt"
  run convert "$cli" --data-dir "$work/data" convert "$csv" --out "$work/out.xml" \
    --from 2024-01-01 --to 2024-12-31 --log "$work/run.log"
done

python3 - "$work/times" <<'PY'
import statistics, sys
runs = {}
for line in open(sys.argv[1]):
    name, wall, user, system, rss = line.split()
    runs.setdefault(name, []).append((float(wall), float(user) + float(system), int(rss) / 1024))
base_wall = statistics.median(r[0] for r in runs["python"])
base_cpu = statistics.median(r[1] for r in runs["python"])
print(f"{'':8} {'wall s':>7} {'ratio':>6} {'cpu s':>7} {'ratio':>6} {'peak MB':>8}")
for name, rs in runs.items():
    wall = statistics.median(r[0] for r in rs)
    cpu = statistics.median(r[1] for r in rs)
    print(f"{name:8} {wall:7.2f} {wall / base_wall:6.3f} {cpu:7.2f} {cpu / base_cpu:6.3f} "
          f"{max(r[2] for r in rs):8.0f}")
print("goals: convert <= 0.30 x python and <= 300 MB; load <= 0.15 x python and <= 200 MB")
PY
