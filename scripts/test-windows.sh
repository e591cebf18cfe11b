#!/usr/bin/env bash
# The Windows build under Wine, after scripts/build-windows.sh:
#  - every test suite of build-win/tests run once (the window tests need a desktop and are
#    left to the Linux build, so they are not built for Windows);
#  - the bundled example through krinu-cli.exe, whose XML must equal the Linux build's
#    (build/bin/krinu-cli) byte for byte;
#  - krinu.exe opening the example on a virtual screen (its windows listed, a picture kept);
#  - the installer: a silent install, the installed krinu-cli.exe at work, a silent
#    uninstall that leaves the user's data folder.
# Wine runs as a Hungarian user's Windows: LC_ALL=hu_HU.UTF-8 gives the ANSI code page 1250
# and the Hungarian date formats.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache=${KRINU_WIN_CACHE:-$HOME/.cache/krinu-win}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
export WINEPREFIX=$cache/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stage=$root/build-win/stage/Krinu
version=$(cat build-win/version.txt)
[ -x "$stage/krinu-cli.exe" ] || { echo "no Windows build: run scripts/build-windows.sh" >&2; exit 2; }

step() { printf '== %s (%s)\n' "$*" "$(date +%T)"; }
winpath() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

if ! locale -a 2>/dev/null | grep -qix 'hu_HU.utf8'; then
  localedef -i hu_HU -f UTF-8 hu_HU.UTF-8
fi
export LC_ALL=hu_HU.UTF-8

if [ ! -f "$WINEPREFIX/.krinu-ready" ]; then
  step "Wine prefix in $WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
  touch "$WINEPREFIX/.krinu-ready"
fi

failed=0
passed=0
skipped=0
bad=()

# The program folder's DLLs serve the test suites as well.
export WINEPATH
WINEPATH=$(winpath "$stage")
# The build's own bin/ is the program folder of the krinu-cli processes that the tests start
# (a batch's workers); they find the platform plugin as the installed program does.
cp -r "$stage/platforms" "$stage/qt.conf" build-win/bin/
# The public CSV suite that test.sh fetched for the Linux build serves this one too; without
# it its test skips itself.
if [ -d build/npm/node_modules/csv-spectrum ]; then
  [ -e build-win/npm ] || ln -s ../build/npm build-win/npm
else
  export KRINU_NO_NETWORK=1
fi
# A number of GoogleTest's closing summary: count LOG PASSED|FAILED|SKIPPED.
count() { tr -d '\r' <"$1" | sed -nE "s/^\\[  $2 *\\] ([0-9]+) tests?[.,].*/\\1/p" | tail -n1; }
step "Test suites"
# The suites the build has now (build.ninja names them; an old one may lie beside them).
for name in $(sed -nE 's|^build tests/([A-Za-z0-9_]+)\.exe:.*|\1|p' build-win/build.ninja | sort -u); do
  log=build-win/tests/$name.log
  status=0
  (cd build-win/tests && timeout 600 wine "./$name.exe" >"$root/$log" 2>&1) || status=$?
  p=$(count "$log" PASSED)
  f=$(count "$log" FAILED)
  s=$(count "$log" SKIPPED)
  f=${f:-0}
  s=${s:-0}
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
  skipped=$((skipped + ${s:-0}))
  printf '%-26s %4s passed %3s failed %3s skipped (exit %s)\n' "$name" "${p:-0}" "${f:-0}" "${s:-0}" "$status"
  if [ "$status" -ne 0 ] || [ "$f" -ne 0 ] || [ -z "$p" ]; then
    bad+=("$name")
    tr -d '\r' <"$log" | grep -E '^\[  FAILED  \] [A-Z]|Failure$' | sort -u | head -n 40 || true
    [ "$f" -ne 0 ] || failed=$((failed + 1))  # it ended before reporting
  fi
done

example=$root/examples/szamlak.csv
period=(--from 2024-11-01 --to 2024-11-30)
check() {  # WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok: $what"
  else
    failed=$((failed + 1))
    bad+=("$what")
    echo "FAILED: $what"
  fi
}

out=$root/build-win/example
rm -rf "$out" && mkdir -p "$out"
step "krinu-cli.exe convert of the example"
# The example as a bookkeeper converts it, with a new data folder for each program.
wine "$stage/krinu-cli.exe" --data-dir "$(winpath "$out/data-win")" convert "$(winpath "$example")" \
  "${period[@]}" --out "$(winpath "$out/windows.xml")" >"$out/windows.log" 2>&1 || true
if [ -x build/bin/krinu-cli ]; then
  build/bin/krinu-cli --data-dir "$out/data-linux" convert "$example" "${period[@]}" \
    --out "$out/linux.xml" >"$out/linux.log" 2>&1 || true
  check "the example's XML is the Linux build's" cmp "$out/linux.xml" "$out/windows.xml"
else
  check "the example's XML is the reference" cmp tests/data/szamlak-2024-11/expected/szamlak-2024-11.xml "$out/windows.xml"
fi

step "krinu.exe with the example on a virtual screen"
# The window as a bookkeeper first sees it: the example loaded, which ends in the load's
# warning box over the main window. Both must be on the screen; the picture is kept to look at.
window_with_example() {
  local shot=$out/krinu-window.png
  # A Wine session still running from the steps before has no screen: its windows would
  # never reach the virtual one. Start afresh.
  wineserver -w
  xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
    wine "$1" --data-dir "$2" "$3" >/dev/null 2>&1 &
    for _ in $(seq 60); do
      sleep 1
      xwininfo -root -tree | grep -q "\"Figyelmeztetés\"" && break
    done
    sleep 1
    xwininfo -root -tree >"$4"
    ! command -v import >/dev/null || import -window root "$5"
    wineserver -k' _ "$stage/krinu.exe" "$(winpath "$out/data-gui")" "$(winpath "$example")" \
    "$out/windows.txt" "$shot" || true
  grep -q '"Figyelmeztetés"' "$out/windows.txt" && grep -q 'XML nyomtatványra' "$out/windows.txt" &&
    { [ ! -f "$shot" ] || echo "picture: $shot"; }
}
check "krinu.exe shows the example loaded" window_with_example

step "Installer"
target='C:\Krinu-teszt'
installed=$WINEPREFIX/drive_c/Krinu-teszt
rm -rf "$installed"
wine "dist/Krinu-$version-setup.exe" /S "/D=$target" >/dev/null 2>&1 || true
wineserver -w
check "silent install" test -x "$installed/krinu.exe" -a -f "$installed/platforms/qwindows.dll" \
  -a -f "$installed/translations/qtbase_hu.qm"
check "Start menu and desktop shortcuts" test -f \
  "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Krinu/Krinu.lnk" \
  -a -f "$WINEPREFIX/drive_c/users/Public/Desktop/Krinu.lnk"
# The installed program with the user's own data folder (%USERPROFILE%\.Krinu).
profile_data=$WINEPREFIX/drive_c/users/$(id -un)/.Krinu
rm -rf "$profile_data"
(cd "$out" && wine "$target\\krinu-cli.exe" convert "$(winpath "$example")" "${period[@]}" \
  --out installed.xml >/dev/null 2>&1) || true
check "the installed krinu-cli.exe converts the example" cmp "$out/windows.xml" "$out/installed.xml"
check "the data folder is %USERPROFILE%\\.Krinu" test -f "$profile_data/Pelodin.db"
# In place (_?=) the uninstaller runs to its end before wine returns.
wine "$target\\Eltavolitas.exe" /S "_?=$target" >/dev/null 2>&1 || true
wineserver -w
check "silent uninstall removes the program" test ! -e "$installed/krinu.exe" -a ! -e \
  "$WINEPREFIX/drive_c/users/Public/Desktop/Krinu.lnk"
check "uninstall leaves the user's data" test -f "$profile_data/Pelodin.db"
rm -rf "$installed"

[ ${#bad[@]} -eq 0 ] || echo "Failed under Wine: ${bad[*]}"
echo "Windows (Wine): $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
