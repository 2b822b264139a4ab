#!/usr/bin/env bash
# Runs the Windows test programs of one architecture under wine:
#   scripts/wine-test.sh x64|x86
# after scripts/cross.sh has built build-mingw-x64/ or build-mingw-x86/.
# Each test program runs once (ctest --preset mingw-ARCH), in a fresh wine
# prefix inside the build tree, on a virtual X server for the window tests.
# The picture of the network dialog lands in build-mingw-ARCH/network-dialog.png.
#
# On a machine whose kernel runs no 32-bit program, x86 runs only the checks
# that need no wine (the DLL's export table against the header; the import
# library's check program is linked but not started), says loudly
# that the test programs were built but not run, and exits 0.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine.sh

usage() { echo "usage: $0 x64|x86" >&2; }

inside=0
if [[ ${1:-} == --inside-display ]]; then
  inside=1
  shift
fi
arch=${1:-}
case $arch in
  x64 | x86) ;;
  *)
    usage
    exit 2
    ;;
esac
build=build-mingw-$arch

if [[ $inside -eq 0 ]]; then
  bash scripts/deps.sh wine
  if [[ ! -f $build/bin/unit_tests.exe ]]; then
    echo "wine-test.sh: $build has no unit_tests.exe; build it with: bash scripts/cross.sh $arch" >&2
    exit 1
  fi
  if [[ $arch == x86 ]] && ! wine32_can_run; then
    # The import library's check is a Windows program: here it is linked
    # (so every routine resolved at link time) but cannot be started.
    ctest --preset mingw-x86 -R '^PackageExports\.' -E 'TheImportLibraryLinksEveryRoutine'
    wine32_skip "the x86 test programs ($build/bin/*.exe, import_library_check.exe included)"
    exit 0
  fi
  # One X server for the whole run; wine and every test program share it.
  exec xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" "$0" --inside-display "$arch"
fi

export WINEPREFIX=$PWD/$build/wineprefix
export WINEDEBUG=-all
# No offers to download Mono or Gecko into the fresh prefix.
export WINEDLLOVERRIDES="mscoree=;mshtml="

rm -rf "$WINEPREFIX" "$build/tests/network-dialog.bmp" "$build/network-dialog.png"
echo "wine-test.sh: a fresh wine prefix in $WINEPREFIX"
wine_run "$arch" wineboot --init >/dev/null 2>&1
# No window manager runs on the virtual screen: windows that wine lets one
# manage would each take two seconds to go away.
wine_run "$arch" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver --wait

status=0
ctest --preset "mingw-$arch" --output-on-failure || status=$?
wineserver --kill || true

if [[ -f $build/tests/network-dialog.bmp ]]; then
  bmptopnm "$build/tests/network-dialog.bmp" 2>/dev/null | pnmtopng -compression 9 >"$build/network-dialog.png"
  echo "wine-test.sh: the network dialog as shown: $build/network-dialog.png"
fi
exit $status
