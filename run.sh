#!/usr/bin/env bash
# Installs what is missing, builds Krinu (Release) and starts it. Without a display it runs
# the bundled example with krinu-cli instead and says where the result is.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh --gui
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
bin=build/bin
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/krinu" "$@"
fi
echo "No display: running the bundled example with krinu-cli."
./scripts/example.sh "$bin"
