#!/usr/bin/env bash
# The bundled example, run with krinu-cli: the registers of the database in use, then the
# November 2024 invoice list (examples/szamlak.csv, made by scripts/make-example.py) turned
# into the return for that month, with the first taxpayer and administrator of the database.
#   scripts/example.sh [BIN_DIR [OUT_DIR]]     (defaults: build/bin, build/example)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bin=${1:-$root/build/bin}
out_dir=${2:-$root/build/example}
example="$root/examples/szamlak.csv"
from=2024-11-01
to=2024-11-30
mkdir -p "$out_dir"
out_dir="$(cd "$out_dir" && pwd)"
xml="$out_dir/szamlak-2024-11.xml"
echo "== Adózók (taxpayers)"
"$bin/krinu-cli" taxpayer list
echo "== Ügyintézők (administrators)"
"$bin/krinu-cli" admin list
echo "== Példa bemenet (example input): $example, időszak (period) $from .. $to"
status=0
"$bin/krinu-cli" convert "$example" --from "$from" --to "$to" --out "$xml" \
  --log "$out_dir/szamlak-2024-11.log" --skipped "$out_dir/szamlak-2024-11-kihagyott.txt" ||
  status=$?
if [ "$status" -ne 0 ]; then
  echo "krinu-cli convert failed (status $status)" >&2
  exit "$status"
fi
echo "== Napló (run log): $out_dir/szamlak-2024-11.log"
cat "$out_dir/szamlak-2024-11.log"
echo "== Kihagyott adatsorok (skipped rows): $out_dir/szamlak-2024-11-kihagyott.txt"
echo "== XML: $xml"
