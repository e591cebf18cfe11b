#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in Release and once with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
jobs=$(nproc)

# Every tracked C++ file must be as clang-format 14 with .clang-format leaves it.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror ||
    { echo "error: format the files named above with clang-format-14 -i"; exit 1; }
fi

build() {  # build PRESET (CMakePresets.json names the folder and the options)
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j "$jobs"
}

# Public CSV test suite for the reader, installed into the build tree (not committed).
fetch_csv_spectrum() {
  local dir=$1
  [ -z "${KRINU_NO_NETWORK:-}" ] || return 0  # the test skips itself then
  if [ ! -d "$dir/npm/node_modules/csv-spectrum" ]; then
    mkdir -p "$dir/npm"
    (cd "$dir/npm" && npm install --no-audit --no-fund --silent csv-spectrum@1 >/dev/null 2>&1) ||
      echo "warning: could not install csv-spectrum; its test will report the missing suite"
  fi
}

build release
fetch_csv_spectrum build
(cd build && ctest --output-on-failure -j "$jobs")

build asan
fetch_csv_spectrum build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
(cd build-asan && ctest --output-on-failure -j "$jobs")

if [ -x scripts/fuzz.sh ] && command -v clang++ >/dev/null; then
  ./scripts/fuzz.sh
fi

# The Windows build, when a Qt for Windows is at hand (KRINU_WIN_QT names one, or
# scripts/build-windows.sh built one into its cache): cross-built, packed, and tested under
# Wine. Building Qt itself is left to running scripts/build-windows.sh by hand.
if [ -n "${KRINU_WIN_QT:-}" ] || [ -f "${KRINU_WIN_CACHE:-$HOME/.cache/krinu-win}/qt6-mingw64/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  start=$SECONDS
  KRINU_JOBS=$jobs ./scripts/build-windows.sh
  ./scripts/test-windows.sh
  echo "Windows build and tests: $((SECONDS - start)) s"
fi
echo "All tests passed."
