#!/usr/bin/env bash
# Free Pascal for Windows, from Debian's fpc-source, and the Pascal example
# host (examples/pascal) built with it:
#
#   scripts/fpc-windows.sh [OUT]
#
# Debian's Free Pascal compiles for Linux only. This builds, once, into
# build-fpc/ (kept between runs, rebuilt when the compiler's version changes):
#   build-fpc/units/x86_64-win64/  the run-time library for 64-bit Windows,
#                                  compiled by Debian's ppcx64 (-Twin64)
#   build-fpc/bin/ppc386           a compiler for i386, built from the
#                                  compiler's sources by ppcx64
#   build-fpc/units/i386-win32/    the run-time library for 32-bit Windows
# Free Pascal assembles and links Windows programs itself: no other tool is
# needed. Then it compiles examples/pascal/sale_host.dpr for both, into
# OUT/win64/sale_host.exe and OUT/win32/sale_host.exe (OUT defaults to
# build-fpc/examples), and again loading the DLL at run time
# (ZUL_RUNTIME_LOADING) into OUT/win64-runtime/ and OUT/win32-runtime/. Each
# loads Pkg_Zul00500.dll from its own folder.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

log() { echo "fpc-windows.sh: $*"; }

bash scripts/deps.sh fpc-windows >/dev/null
VERSION=$(ppcx64 -iV)
SOURCES=/usr/share/fpcsrc/$VERSION
[[ -d $SOURCES/rtl && -d $SOURCES/compiler ]] || { log "no Free Pascal sources in $SOURCES"; exit 1; }
TOOLS=$ROOT/build-fpc
OUT=${1:-$TOOLS/examples}
mkdir -p "$OUT"
OUT=$(cd "$OUT" && pwd)

# One pass over make's output per step: quiet when it works, all of it when not.
quietly() {
  local logfile=$TOOLS/last-step.log
  if ! "$@" >"$logfile" 2>&1; then
    tail -n 40 "$logfile" >&2
    log "FAILED: $*"
    exit 1
  fi
}

build_tools() {
  local src=$TOOLS/src start=$SECONDS
  rm -rf "$TOOLS"
  mkdir -p "$TOOLS/bin" "$TOOLS/units"
  log "building Free Pascal $VERSION's Windows units from $SOURCES (once)"
  mkdir -p "$src"
  cp -r "$SOURCES/rtl" "$SOURCES/compiler" "$src/"
  # Debian's sources lack the files make generates or reads beside them: the
  # list of each processor's include files, and the compiler's messages
  # (installed with the compiler).
  local cpu
  for cpu in x86_64 i386; do
    {
      echo "CPUNAMES=$(cd "$src/rtl/$cpu" && ls ./*.inc | sed 's|^\./||; s|\.inc$||' | tr '\n' ' ')"
      echo 'CPUINCNAMES=$(addsuffix .inc,$(CPUNAMES))'
    } >"$src/rtl/$cpu/makefile.cpu"
  done
  cp -r "/usr/lib/$(gcc -print-multiarch)/fpc/$VERSION/msg" "$src/compiler/msg"
  (cd "$src/rtl/win64" && fpcmake -Tall -q)
  (cd "$src/rtl/win32" && fpcmake -Tall -q)
  (cd "$src/compiler" && fpcmake -Tall -q)

  quietly make -C "$src/rtl/win64" all OS_TARGET=win64 CPU_TARGET=x86_64 FPC="$(command -v ppcx64)"
  cp -r "$src/rtl/units/x86_64-win64" "$TOOLS/units/"
  # A compiler for i386 that runs here, then the library with it.
  quietly make -C "$src/compiler" compiler PPC_TARGET=i386 FPC="$(command -v ppcx64)"
  cp "$src/compiler/ppc386" "$TOOLS/bin/ppc386"
  quietly make -C "$src/rtl/win32" all OS_TARGET=win32 CPU_TARGET=i386 FPC="$TOOLS/bin/ppc386"
  cp -r "$src/rtl/units/i386-win32" "$TOOLS/units/"
  rm -rf "$src"
  echo "$VERSION" >"$TOOLS/version"
  log "the Windows units are in $TOOLS/units ($((SECONDS - start)) s)"
}

if [[ ! -f $TOOLS/version || $(cat "$TOOLS/version") != "$VERSION" ]]; then
  build_tools
fi

# compile COMPILER TARGET CPU UNITS DIR [DEFINE]: the example host for one
# Windows, with DEFINE (-dZUL_RUNTIME_LOADING: loaded at run time) or without.
compile() {
  local compiler=$1 target=$2 cpu=$3 units=$4 dir=$OUT/$5
  rm -rf "$dir"
  mkdir -p "$dir"
  # -n: not the system's fpc.cfg, whose unit paths are Linux's.
  quietly "$compiler" -n -T"$target" -P"$cpu" -Mdelphi -O2 -vw -Sew -Fu"$units" -FE"$dir" -FU"$dir" ${6:-} \
    examples/pascal/sale_host.dpr
  rm -f "$dir"/*.o "$dir"/*.ppu
  log "built $dir/sale_host.exe"
}

compile "$(command -v ppcx64)" win64 x86_64 "$TOOLS/units/x86_64-win64" win64
compile "$TOOLS/bin/ppc386" win32 i386 "$TOOLS/units/i386-win32" win32
compile "$(command -v ppcx64)" win64 x86_64 "$TOOLS/units/x86_64-win64" win64-runtime -dZUL_RUNTIME_LOADING
compile "$TOOLS/bin/ppc386" win32 i386 "$TOOLS/units/i386-win32" win32-runtime -dZUL_RUNTIME_LOADING
