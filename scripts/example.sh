#!/usr/bin/env bash
# The bundled example, run with krinu-cli: the registers of the database in use.
set -euo pipefail
bin=${1:-build/bin}
echo "Adózók (taxpayers):"
"$bin/krinu-cli" taxpayer list
echo "Ügyintézők (administrators):"
"$bin/krinu-cli" admin list
