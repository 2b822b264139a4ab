#!/usr/bin/env bash
# Makes the packages, in dist/ (or --out DIR):
#   zul00500-VERSION-linux-x86_64.tar.gz  the Linux install, to unpack anywhere
#   zul00500_VERSION_amd64.deb            the same as a Debian package (/usr)
#   zul00500-VERSION-windows.zip          x64\ and x86\ (DLL, import library,
#                                         .def, zulpos.exe, tefsim.exe), the
#                                         header, the examples, the host guide
#                                         and reference (doc\), README-Windows.txt
#
#   scripts/package.sh [--out DIR]
#       builds Release trees without tests in build-package/{linux,x64,x86}
#       and packages them
#   scripts/package.sh [--out DIR] --windows-from X64_TREE X86_TREE
#       only the zip, from two Windows trees already built (CI packages its
#       build-mingw-x64 and build-mingw-x86)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

OUT=dist
WINDOWS_TREES=()
while [[ $# -gt 0 ]]; do
  case $1 in
    --out) OUT=$2; shift 2 ;;
    --windows-from) WINDOWS_TREES=("$2" "$3"); shift 3 ;;
    *) echo "usage: $0 [--out DIR] [--windows-from X64_TREE X86_TREE]" >&2; exit 2 ;;
  esac
done
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

log() { echo "package.sh: $*"; }

bash scripts/deps.sh package docs

# The x64 tree gives everything it installs (its Runtime in x64\, and the
# header, examples and README); the x86 tree its Runtime (x86\).
windows_zip() {
  local x64 x86
  x64=$(cd "$1" && pwd)
  x86=$(cd "$2" && pwd)
  cmake --build "$x64" -j 2 --target Pkg_Zul00500 zulpos tefsim docs
  cmake --build "$x86" -j 2 --target Pkg_Zul00500 zulpos tefsim
  cpack -G ZIP --config "$x64/CPackConfig.cmake" -B "$OUT" \
    -D "CPACK_INSTALL_CMAKE_PROJECTS=$x64;zul00500;ALL;/;$x86;zul00500;Runtime;/"
}

if [[ ${#WINDOWS_TREES[@]} -eq 0 ]]; then
  bash scripts/deps.sh build cross
  log "Linux: build-package/linux"
  cmake --preset release -B build-package/linux -DZUL_BUILD_TESTS=OFF
  cmake --build build-package/linux -j 2
  (cd build-package/linux && cpack -G "TGZ;DEB" -B "$OUT")
  for arch in x64 x86; do
    log "Windows $arch: build-package/$arch"
    cmake --preset "mingw-$arch" -B "build-package/$arch" -DCMAKE_BUILD_TYPE=Release -DZUL_BUILD_TESTS=OFF
    cmake --build "build-package/$arch" -j 2
  done
  WINDOWS_TREES=(build-package/x64 build-package/x86)
fi
windows_zip "${WINDOWS_TREES[@]}"
rm -rf "$OUT/_CPack_Packages"
log "made:"
ls -l "$OUT"
