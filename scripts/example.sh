#!/usr/bin/env bash
# The bundled example, run with krinu-cli: the registers of the database in use, then the
# bundled invoice list taken in as the window would take it.
set -euo pipefail
bin=${1:-build/bin}
example="$(cd "$(dirname "$0")/.." && pwd)/examples/szamlak.csv"
echo "== Adózók (taxpayers)"
"$bin/krinu-cli" taxpayer list
echo "== Ügyintézők (administrators)"
"$bin/krinu-cli" admin list
echo "== Példa bemenet (example input): $example"
"$bin/krinu-cli" load "$example"
