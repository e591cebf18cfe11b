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
# A fresh home at /home/konyvelo, so that the paths the pictures show (the file fields, the
# run log, the status bar) read as a bookkeeper's, the same on every machine: the driver
# runs in a mount namespace of its own, where /home has that folder over its real contents.
# What it writes under /home stays in that overlay, so the pictures go to the temporary
# folder first.
base=$(mktemp -d "${TMPDIR:-/tmp}/krinu-kezikonyv.XXXXXX")
trap 'rm -rf "$base"' EXIT
mkdir -p "$base/upper" "$base/work" "$base/shots"
if unshare --user --map-root-user --mount true 2>/dev/null; then
  run=(unshare --user --map-root-user --mount sh -c '
    mount -t overlay overlay -o "lowerdir=/home,upperdir=$0/upper,workdir=$0/work" /home &&
    mkdir /home/konyvelo && HOME=/home/konyvelo exec "$@"' "$base")
else
  echo "No mount namespace here: the pictures show the home $base/home/konyvelo" >&2
  mkdir -p "$base/home/konyvelo"
  run=(env HOME="$base/home/konyvelo")
fi
# Qt's own file dialogs (not a desktop's), Hungarian as the program shows them.
env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u QT_QPA_PLATFORMTHEME \
  LANG=hu_HU.UTF-8 TZ=Europe/Budapest \
  timeout 120 xvfb-run -a -s "-screen 0 1366x768x24" \
  "${run[@]}" "$driver" "$build/bin" examples/szamlak.csv "$base/shots"
cp "$base"/shots/*.png Help/
# The build's program folder shows the new pictures too.
cp Help/*.png "$build/bin/Help/"
echo "Pictures written to Help/."
