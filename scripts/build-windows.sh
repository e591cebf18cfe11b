#!/usr/bin/env bash
# Cross-builds Krinu for 64-bit Windows on Debian 12 and packs it:
#   build-win/                      the build (programs in build-win/bin, test suites in build-win/tests)
#   dist/Krinu-<version>-win64.zip  the program folder
#   dist/Krinu-<version>-setup.exe  the installer
# Everything comes from Debian: the MinGW-w64 compilers, NSIS, and the sources of Qt, SQLite
# and PCRE2 (Debian's source packages, fetched with apt). What is built once is kept in the
# cache folder (KRINU_WIN_CACHE, default ~/.cache/krinu-win), so a second run only builds
# Krinu itself.
#
# Qt for Windows, first found of:
#   KRINU_WIN_QT   a prefix (with lib/cmake/Qt6) or a .tar.xz of one
#   the cache's qt6-mingw64/
#   built here from Debian's qt6-base source (once: about 72 CPU-minutes)
# KRINU_JOBS sets the parallel jobs (default: the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache=${KRINU_WIN_CACHE:-$HOME/.cache/krinu-win}
jobs=${KRINU_JOBS:-$(nproc)}
toolchain=$root/cmake/mingw64-toolchain.cmake
host=x86_64-w64-mingw32
deps=$cache/deps
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

step() { printf '== %s (%s)\n' "$*" "$(date +%T)"; }

install_packages() {
  local pkgs=(build-essential cmake ninja-build pkg-config dpkg-dev xz-utils zip tcl
              g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
              qt6-base-dev qt6-base-dev-tools qt6-translations-l10n googletest nsis
              wine wine64 fonts-wine locales xvfb xauth x11-utils)
  local missing=() p
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# apt with a source list of its own: the machine's archives as deb-src entries, lists and
# caches under the cache folder, so that the system's apt configuration stays as it is.
private_apt() {
  local dir=$cache/apt
  mkdir -p "$dir/sources.list.d" "$dir/lists/partial" "$dir/cache/archives/partial"
  apt-get -q -o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$dir/sources.list.d" \
    -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" -o APT::Sandbox::User=root "$@"
}

write_source_list() {
  local list=$cache/apt/sources.list.d/krinu-src.sources
  mkdir -p "$(dirname "$list")"
  : >"$list.new"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    # Every stanza again, as deb-src.
    sed -E 's/^Types:.*/Types: deb-src/' "$f" >>"$list.new"
    echo >>"$list.new"
  done
  if [ -s /etc/apt/sources.list ]; then
    local type uri suite comps
    while read -r type uri suite comps; do
      [ "$type" = deb ] || continue
      case $uri in \[*) uri=$suite; suite=${comps%% *}; comps=${comps#* } ;; esac
      printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n\n' "$uri" "$suite" "$comps" >>"$list.new"
    done </etc/apt/sources.list
  fi
  mv "$list.new" "$list"
}

# Unpacks the upstream tarball of a Debian source package into $cache/src/ and prints the
# folder it made.
fetch_source() {
  local pkg=$1 src=$cache/src
  mkdir -p "$src"
  if ! ls "$src/${pkg}"_*.orig.tar.* >/dev/null 2>&1; then
    write_source_list
    private_apt update >/dev/null
    # Only the upstream tarball is used. A mirror may lack the newest version's other
    # files; the release's own version has the same tarball.
    (cd "$src" && private_apt source --download-only "$pkg" >/dev/null 2>&1) ||
      ls "$src/${pkg}"_*.orig.tar.* >/dev/null 2>&1 ||
      (cd "$src" && private_apt source --download-only "$pkg/$(. /etc/os-release && echo "$VERSION_CODENAME")" >/dev/null)
  fi
  local tarball
  tarball=$(ls "$src/${pkg}"_*.orig.tar.* | head -n1)
  local top
  top=$(tar tf "$tarball" | sed -n '1s|/.*||p')  # read whole: head would break the pipe
  [ -d "$src/$top" ] || tar xf "$tarball" -C "$src"
  echo "$src/$top"
}

# Qt base for Windows with the options of the prebuilt one (shared/cache/README.md):
# QtCore, QtGui, QtWidgets, the Windows platform plugin and style; no ICU, OpenGL or network.
build_qt() {
  local prefix=$1 dir
  step "Qt for Windows from Debian's qt6-base source into $prefix"
  dir=$(fetch_source qt6-base)
  local build=$cache/build/qtbase
  rm -rf "$build"
  cmake -G Ninja -S "$dir" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_network=OFF \
    -DFEATURE_sql=OFF -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_vulkan=OFF -DFEATURE_freetype=OFF -DFEATURE_icu=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_jpeg=OFF -DFEATURE_system_zlib=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_doubleconversion=OFF
  [ -n "${KRINU_QT_CONFIGURE_ONLY:-}" ] && return 0
  ninja -C "$build" -j "$jobs"
  rm -rf "$prefix"
  ninja -C "$build" install
  find "$prefix" -name '*.dll' -exec $host-strip --strip-unneeded {} +
  rm -rf "$build"
}

find_qt() {
  local given=${KRINU_WIN_QT:-}
  if [ -n "$given" ]; then
    if [ -d "$given" ]; then
      qt=$(cd "$given" && pwd)
      return 0
    fi
    [ -f "$given" ] || { echo "KRINU_WIN_QT: no such prefix or tarball: $given" >&2; exit 2; }
    # A tarball is unpacked once, into a folder named after its checksum.
    local sum
    sum=$(sha256sum "$given" | cut -c1-16)
    local dest=$cache/qt-$sum
    if [ ! -d "$dest" ]; then
      step "Unpacking $given"
      rm -rf "$dest.tmp" && mkdir -p "$dest.tmp"
      tar xf "$given" -C "$dest.tmp"
      mv "$dest.tmp" "$dest"
    fi
    qt=$(dirname "$(find "$dest" -path '*/lib/cmake/Qt6/qt.toolchain.cmake' | head -n1)")
    qt=$(cd "$qt/../../.." && pwd)
    return 0
  fi
  qt=$cache/qt6-mingw64
  [ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ] || build_qt "$qt"
}

cross_cmake() {  # SOURCE BUILD [options]: a CMake project built and installed into $deps
  local src=$1 build=$2
  shift 2
  rm -rf "$build"
  cmake -G Ninja -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" "$@" >/dev/null
  ninja -C "$build" -j "$jobs" >/dev/null
  ninja -C "$build" install >/dev/null
  rm -rf "$build"
}

# SQLite: Debian's source makes the amalgamation on the host, which MinGW turns into a DLL.
build_sqlite() {
  [ -f "$deps/.sqlite" ] && return 0
  step "SQLite for Windows"
  local dir build=$cache/build/sqlite
  dir=$(fetch_source sqlite3)
  rm -rf "$build" && mkdir -p "$build" "$deps/bin" "$deps/lib" "$deps/include"
  (cd "$build" && "$dir/configure" >/dev/null && make sqlite3.c >/dev/null)
  # The options of Debian's own library that change what SQL accepts.
  $host-gcc-posix -O2 -shared -o "$deps/bin/sqlite3.dll" "$build/sqlite3.c" \
    -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS4 -DSQLITE_ENABLE_FTS5 \
    -DSQLITE_ENABLE_RTREE -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_JSON1 \
    -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_UNLOCK_NOTIFY -DSQLITE_ENABLE_DBSTAT_VTAB \
    -Wl,--out-implib,"$deps/lib/libsqlite3.dll.a"
  $host-strip --strip-unneeded "$deps/bin/sqlite3.dll"
  cp "$build/sqlite3.h" "$dir/src/sqlite3ext.h" "$deps/include/" 2>/dev/null ||
    cp "$build/sqlite3.h" "$deps/include/"
  rm -rf "$build"
  touch "$deps/.sqlite"
}

build_pcre2() {
  [ -f "$deps/.pcre2" ] && return 0
  step "PCRE2 (16-bit) for Windows"
  local dir
  dir=$(fetch_source pcre2)
  cross_cmake "$dir" "$cache/build/pcre2" -DBUILD_SHARED_LIBS=ON -DBUILD_STATIC_LIBS=OFF \
    -DPCRE2_BUILD_PCRE2_8=OFF -DPCRE2_BUILD_PCRE2_16=ON -DPCRE2_SUPPORT_JIT=ON \
    -DPCRE2_BUILD_PCRE2GREP=OFF -DPCRE2_BUILD_TESTS=OFF
  find "$deps/bin" -name '*pcre2*.dll' -exec $host-strip --strip-unneeded {} +
  touch "$deps/.pcre2"
}

build_gtest() {
  [ -f "$deps/.gtest" ] && return 0
  step "GoogleTest for Windows"
  cross_cmake /usr/src/googletest "$cache/build/googletest" -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON
  touch "$deps/.gtest"
}

install_packages
find_qt
build_sqlite
build_pcre2
build_gtest

step "Krinu for Windows (Qt: $qt)"
cmake -G Ninja -S . -B build-win \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DKRINU_WIN_DEPS="$deps" -DCMAKE_BUILD_TYPE=Release -DKRINU_WERROR=ON >/dev/null
cmake --build build-win -j "$jobs"

step "Program folder and packages"
version=$(cat build-win/version.txt)
stage=build-win/stage/Krinu
rm -rf build-win/stage
cmake --install build-win --prefix "$stage" >/dev/null
find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec $host-strip --strip-unneeded {} +
mkdir -p dist
rm -f "dist/Krinu-$version-win64.zip" "dist/Krinu-$version-setup.exe"
(cd build-win/stage && zip -qr9 "$root/dist/Krinu-$version-win64.zip" Krinu)
makensis -V2 -DSTAGE="$root/$stage" -DOUTFILE="$root/dist/Krinu-$version-setup.exe" \
  build-win/krinu.nsi
ls -l "dist/Krinu-$version-win64.zip" "dist/Krinu-$version-setup.exe"
