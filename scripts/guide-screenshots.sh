#!/usr/bin/env bash
# Regenerates the pictures of the user guide (Help/*.png) from the built program: the real
# windows under a virtual X screen of 1366x768, a fresh home folder (so a new database with
# its sample taxpayer and administrator) and the bundled example examples/szamlak.csv.
#   scripts/guide-screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
./scripts/install-deps.sh --gui
desktop-file-validate data/krinu.desktop
cmake --build "$build" --target krinu krinu-guide-shots -j2 >/dev/null
driver=$(find "$build" -name krinu-guide-shots -type f -perm -u+x | head -n 1)
[ -n "$driver" ] || { echo "krinu-guide-shots was not built" >&2; exit 1; }
# A fresh home on a fixed path, so that the paths in the pictures read the same every time.
base=${TMPDIR:-/tmp}/krinu-kezikonyv
rm -rf "$base"
home=$base/home/konyvelo
mkdir -p "$home"
trap 'rm -rf "$base"' EXIT
# Qt's own file dialogs (not a desktop's), Hungarian as the program shows them.
env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u QT_QPA_PLATFORMTHEME \
  HOME="$home" LANG=hu_HU.UTF-8 TZ=Europe/Budapest \
  timeout 120 xvfb-run -a -s "-screen 0 1366x768x24" \
  "$driver" "$build/bin" examples/szamlak.csv Help
# The build's program folder shows the new pictures too.
cp Help/*.png "$build/bin/Help/"
echo "Pictures written to Help/."
