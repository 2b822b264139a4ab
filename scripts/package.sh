#!/usr/bin/env bash
# Makes the packages, in dist/ (or --out DIR), from Release trees:
#   zul00500-VERSION-linux-x86_64.tar.gz   the whole Linux install, to unpack
#                                          anywhere
#   libpkg-zul00500-0.1_VERSION_amd64.deb  the shared library
#   libpkg-zul00500-dev_VERSION_amd64.deb  header, CMake and pkg-config files,
#                                          example hosts, the host guide and
#                                          reference
#   zul00500-tools_VERSION_amd64.deb       zulpos and tefsim, completions,
#                                          manual pages
#   *-dbgsym_VERSION_amd64.deb             the library's and the tools'
#                                          debugging symbols
#   zul00500_VERSION_amd64.{changes,buildinfo}
#   zul00500-VERSION-windows.zip           x64\ and x86\ (DLL, import library,
#                                          .def, zulpos.exe, tefsim.exe), the
#                                          header, the examples, the host guide
#                                          and reference (doc\),
#                                          README-Windows.txt, LICENSE.txt
#
#   scripts/package.sh [--out DIR]
#       builds Release trees without tests in build-package/{linux,x64,x86}
#       and packages them; lintian, where installed, checks the .debs
#   scripts/package.sh [--out DIR] --linux-only
#       the Linux packages alone, for a machine without mingw-w64
#   scripts/package.sh [--out DIR] --debian-only
#       the Debian packages alone (scripts/install_check.sh)
#
# The Debian packages are Debian's own way: debian/ built by debhelper
# (dpkg-buildpackage -us -uc -b) in an export of the tree as git sees it
# (committed or not, untracked files included, ignored ones not), then
# checked by lintian.
#   scripts/package.sh [--out DIR] --windows-from X64_TREE X86_TREE
#       only the zip, from two Windows Release trees already built
#   scripts/package.sh [--out DIR] --check-only --windows-from X64_TREE X86_TREE
#       the same from trees of any build type (CI checks the zip of its Debug
#       trees); not for shipping
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

usage() {
  echo "usage: $0 [--out DIR] [--linux-only | --debian-only | [--check-only] --windows-from X64_TREE X86_TREE]" >&2
  exit 2
}
OUT=dist
WINDOWS_TREES=()
LINUX_ONLY=0
DEBIAN_ONLY=0
CHECK_ONLY=0
while [[ $# -gt 0 ]]; do
  case $1 in
    --out) [[ $# -ge 2 ]] || usage; OUT=$2; shift 2 ;;
    --linux-only) LINUX_ONLY=1; shift ;;
    --debian-only) DEBIAN_ONLY=1; shift ;;
    --check-only) CHECK_ONLY=1; shift ;;
    --windows-from) [[ $# -ge 3 ]] || usage; WINDOWS_TREES=("$2" "$3"); shift 3 ;;
    *) usage ;;
  esac
done
[[ $LINUX_ONLY -eq 0 || ${#WINDOWS_TREES[@]} -eq 0 ]] || usage
[[ $DEBIAN_ONLY -eq 0 || ($LINUX_ONLY -eq 0 && ${#WINDOWS_TREES[@]} -eq 0) ]] || usage
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

log() { echo "package.sh: $*"; }

bash scripts/deps.sh package docs

build_type() { sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$1/CMakeCache.txt"; }

# Packages are made from Release trees only.
require_release() {
  local type
  type=$(build_type "$1")
  if [[ $type != Release && $CHECK_ONLY -eq 0 ]]; then
    echo "package.sh: $1 is a $type tree; packages come from Release trees (--check-only to check the zip of another)" >&2
    exit 1
  fi
}

# The .tar.gz, from a Release tree installed under /usr.
linux_tarball() {
  local tree=build-package/linux
  bash scripts/deps.sh build
  log "Linux: $tree (Release)"
  rm -f "$tree/CMakeCache.txt"
  cmake --preset release -B "$tree" -DZUL_BUILD_TESTS=OFF -DZUL_WARNINGS_AS_ERRORS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
  require_release "$tree"
  cmake --build "$tree" -j 2
  (cd "$tree" && cpack -G TGZ -B "$OUT")
}

# The Debian packages, built by debhelper from an export of the tree. The
# export always lies at the same place (under a lock, one build at a time),
# so that ccache, where there is one, finds what an earlier build of any
# clone compiled: the compiler's command lines name that place.
debian_packages() {
  bash scripts/deps.sh build package
  local version place=${TMPDIR:-/tmp}/zul00500-debian index tree source
  version=$(sed -n 's/^#define ZUL_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]*\).*/\2/p' include/Pkg_Zul00500.h | paste -sd.)
  mkdir -p "$place"
  exec 9>"$place/lock"
  flock 9
  source=$place/zul00500-$version
  rm -rf "$place"/zul00500-* "$place"/*.deb "$place"/*.changes "$place"/*.buildinfo
  mkdir -p "$source"
  # The tree as git sees it, through an index of our own: the user's stays
  # as it is.
  index=$(mktemp "$place/index.XXXXXX")
  cp "$(git rev-parse --git-path index)" "$index"
  GIT_INDEX_FILE=$index git add -A
  tree=$(GIT_INDEX_FILE=$index git write-tree)
  rm -f "$index"
  git archive "$tree" | tar -x -C "$source"
  # debhelper gives the build a HOME of its own: ccache must be told where
  # its cache is.
  if command -v ccache >/dev/null; then
    export CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
  fi
  log "Debian: dpkg-buildpackage in $source"
  (cd "$source" && dpkg-buildpackage -us -uc -b -j2) >"$place/build.log" 2>&1 ||
    { tail -40 "$place/build.log" >&2; log "dpkg-buildpackage failed (log: $place/build.log)"; exit 1; }
  cp "$place"/*.deb "$place"/*.changes "$place"/*.buildinfo "$OUT"/
  rm -rf "$source" "$place"/*.deb "$place"/*.changes "$place"/*.buildinfo
  flock -u 9
  log "lintian --pedantic (any error or warning fails):"
  lintian --pedantic --display-info --fail-on error,warning "$OUT"/zul00500_"$version"_*.changes
}

# The x64 tree gives everything it installs (its Runtime in x64\, and the
# header, examples, README and license); the x86 tree its Runtime (x86\).
windows_zip() {
  local x64 x86
  x64=$(cd "$1" && pwd)
  x86=$(cd "$2" && pwd)
  require_release "$x64"
  require_release "$x86"
  cmake --build "$x64" -j 2 --target Pkg_Zul00500 zulpos tefsim docs
  cmake --build "$x86" -j 2 --target Pkg_Zul00500 zulpos tefsim
  cpack -G ZIP --config "$x64/CPackConfig.cmake" -B "$OUT" \
    -D "CPACK_INSTALL_CMAKE_PROJECTS=$x64;zul00500;ALL;/;$x86;zul00500;Runtime;/"
}

if [[ $DEBIAN_ONLY -eq 1 ]]; then
  debian_packages
elif [[ ${#WINDOWS_TREES[@]} -eq 0 ]]; then
  linux_tarball
  debian_packages
  if [[ $LINUX_ONLY -eq 0 ]]; then
    bash scripts/deps.sh cross
    for arch in x64 x86; do
      log "Windows $arch: build-package/$arch (Release)"
      cmake --preset "mingw-$arch" -B "build-package/$arch" -DCMAKE_BUILD_TYPE=Release -DZUL_BUILD_TESTS=OFF \
        >/dev/null
      cmake --build "build-package/$arch" -j 2
    done
    WINDOWS_TREES=(build-package/x64 build-package/x86)
  fi
fi
if [[ ${#WINDOWS_TREES[@]} -gt 0 ]]; then
  windows_zip "${WINDOWS_TREES[@]}"
fi
rm -rf "$OUT/_CPack_Packages"
log "made:"
ls -l "$OUT"
