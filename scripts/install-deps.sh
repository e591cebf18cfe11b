#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Krinu need; asks apt
# only for what is missing, so a second run is quick.
set -euo pipefail
pkgs=(build-essential cmake pkg-config git ca-certificates
      qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev libpcre2-dev libsqlite3-dev
      libgtest-dev libgmock-dev libbenchmark-dev
      clang libclang-rt-14-dev clang-format-14
      fonts-dejavu-core)
# npm fetches the public CSV test suite. A machine whose Node.js comes with its own npm
# (not Debian's package) keeps it: Debian's npm would conflict with that nodejs.
command -v npm >/dev/null 2>&1 || pkgs+=(nodejs npm)
# --gui: what running the windows without a desktop needs (the guide's pictures, the
# .desktop file's check).
if [ "${1:-}" = "--gui" ]; then pkgs+=(xvfb xauth desktop-file-utils); fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
