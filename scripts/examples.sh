#!/usr/bin/env bash
# Runs the example hosts' sale (examples/) against the manager simulator:
# each host loads the package, chooses a network, pays 100.00 in two card
# payments (40.00 + 60.00) and prints the receipts. The host guide's program
# (docs/host-guide.md, built as guide_host) runs its whole day at the till.
#
#   scripts/examples.sh [BUILD]      the C, Free Pascal and C# hosts and the
#                                    guide's on Linux, against
#                                    BUILD/lib/libPkg_Zul00500.so (default
#                                    build/, which must be built)
#   scripts/examples.sh --wine BUILD...
#                                    under wine against the DLL of each
#                                    Windows build (build-mingw-x64...): the C
#                                    host on the prefix's drives, the C host
#                                    with a drive root and a host directory
#                                    outside it, and the Free Pascal host
#                                    built for that Windows
#                                    (scripts/fpc-windows.sh); an x86 build
#                                    where this machine runs no 32-bit
#                                    program is said loudly to be skipped
#   scripts/examples.sh --installed PREFIX HOST...
#                                    C hosts built against an installed
#                                    package, against PREFIX's tefsim and
#                                    library (scripts/install_check.sh)
#
# Prints each host's run time; exits non-zero when a host's sale fails.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
source scripts/wine.sh

WORK=$(mktemp -d "${TMPDIR:-/tmp}/zul-examples.XXXXXX")
TEFSIM_PID=""
cleanup() {
  stop_tefsim
  # wine's server outlives the last program for a while, writing into the
  # prefix: it goes first.
  if [[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]]; then
    wineserver --kill >/dev/null 2>&1 || true
    wineserver --wait >/dev/null 2>&1 || true
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT

log() { echo "examples.sh: $*"; }

# tefsim BIN DRIVE_ROOT: serves c:\tef_dial\ and c:\tef_disc\ under DRIVE_ROOT.
start_tefsim() {
  local tefsim=$1 drive=$2 waited=0
  "$tefsim" --roots dial,disc --drive-root "$drive" --poll-ms 20 --log "$WORK/tefsim.log" \
    >"$WORK/tefsim.out" 2>&1 &
  TEFSIM_PID=$!
  until [[ -d $drive/c/tef_dial/resp && -d $drive/c/tef_disc/resp ]]; do
    if ((waited >= 100)); then
      log "tefsim did not get ready"
      cat "$WORK/tefsim.out" >&2
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
}

stop_tefsim() {
  if [[ -n $TEFSIM_PID ]]; then
    kill "$TEFSIM_PID" 2>/dev/null || true
    wait "$TEFSIM_PID" 2>/dev/null || true
    TEFSIM_PID=""
  fi
}

# A fresh host directory as a host's installation ships it.
make_host_dir() {
  rm -rf "$1"
  mkdir -p "$1/Dados/Cadastros" "$1/Dados/TefDisc/Pendente"
}

# run NAME COMMAND...: runs one host's sale, fresh manager, fresh directories.
FAILED=0
run_host() {
  local name=$1 start ms
  shift
  log "--- $name"
  start=$(date +%s%N)
  local status=0
  timeout 300 "$@" >"$WORK/$name.out" 2>&1 || status=$?
  if [[ $status -eq 0 ]] && grep -q "^result=ok" "$WORK/$name.out"; then
    ms=$((($(date +%s%N) - start) / 1000000))
    log "$name: sale paid and printed in $((ms / 1000)).$(printf '%03d' $((ms % 1000))) s"
  else
    log "$name: FAILED (exit status $status)"
    FAILED=1
  fi
  cat "$WORK/$name.out"
}

linux_hosts() {
  local build=${1:-build}
  build=$(cd "$build" && pwd)
  local lib=$build/lib tefsim=$build/bin/tefsim
  [[ -f $lib/libPkg_Zul00500.so && -x $tefsim && -x $build/bin/c_sale_host && -x $build/bin/guide_host ]] ||
    { log "$build has no libPkg_Zul00500.so, tefsim, c_sale_host or guide_host: build it first"; exit 2; }
  local drive=$WORK/drive host=$WORK/host
  export LD_LIBRARY_PATH=$lib${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}

  log "building the Free Pascal and C# hosts"
  mkdir -p "$WORK/pascal" "$WORK/pascal-runtime" "$WORK/csharp"
  # Bound by the unit's external declarations, and loaded at run time by the
  # unit's ZulLoad: the same host, with ZUL_RUNTIME_LOADING defined.
  fpc -Mdelphi -O2 -vw -Sew -FE"$WORK/pascal" -Fl"$lib" examples/pascal/sale_host.dpr >"$WORK/fpc.out" 2>&1 ||
    { cat "$WORK/fpc.out"; exit 1; }
  fpc -Mdelphi -O2 -vw -Sew -dZUL_RUNTIME_LOADING -FE"$WORK/pascal-runtime" examples/pascal/sale_host.dpr \
    >"$WORK/fpc.out" 2>&1 || { cat "$WORK/fpc.out"; exit 1; }
  # Loaded at run time, it must not need the library to start.
  if readelf -d "$WORK/pascal-runtime/sale_host" | grep -q 'NEEDED.*Pkg_Zul00500'; then
    log "the Pascal host built for run-time loading links the library"; exit 1
  fi
  mcs -warnaserror -out:"$WORK/csharp/sale_host.exe" examples/csharp/Pkg_Zul00500.cs examples/csharp/SaleHost.cs

  local hosts=(c pascal pascal-runtime csharp guide)
  for name in "${hosts[@]}"; do
    rm -rf "$drive"
    make_host_dir "$host"
    start_tefsim "$tefsim" "$drive"
    case $name in
      c) run_host c "$build/bin/c_sale_host" libPkg_Zul00500.so "$drive" "$host" ;;
      pascal) run_host pascal "$WORK/pascal/sale_host" "$drive" "$host" ;;
      pascal-runtime) run_host pascal-runtime "$WORK/pascal-runtime/sale_host" "$drive" "$host" ;;
      csharp) run_host csharp mono "$WORK/csharp/sale_host.exe" "$drive" "$host" ;;
      guide) run_host guide "$build/bin/guide_host" libPkg_Zul00500.so "$drive" "$host" ;;
    esac
    stop_tefsim
  done
}

# The C host under wine. Linux's tefsim serves the prefix's c:\ through a
# drive root whose c is the prefix's drive_c.
# The Windows form of a Linux path, through wine's drive Z: (the root).
windows_path() { echo "Z:${1//\//\\}"; }

wine_hosts() {
  local tefsim=build/bin/tefsim
  [[ -x $tefsim ]] || { log "the Linux tefsim (build/bin/tefsim) is needed: build it first"; exit 2; }
  export WINEPREFIX=$WORK/wineprefix WINEDEBUG=-all
  log "making the wine prefix"
  wine_run x64 wineboot --init >/dev/null 2>&1
  local drive=$WORK/winedrive
  mkdir -p "$drive"
  ln -s "$WINEPREFIX/drive_c" "$drive/c"
  log "building the Free Pascal host for Windows"
  bash scripts/fpc-windows.sh "$WORK/fpc"
  for build in "$@"; do
    local bin=$build/bin
    [[ -f $bin/Pkg_Zul00500.dll && -f $bin/c_sale_host.exe ]] ||
      { log "$build has no Pkg_Zul00500.dll or c_sale_host.exe: build it first"; exit 2; }
    local arch name=wine-$(basename "$build")
    arch=$(pe_arch "$bin/Pkg_Zul00500.dll")
    if [[ $arch == x86 ]] && ! wine32_can_run; then
      wine32_skip "the C and Free Pascal hosts against $bin/Pkg_Zul00500.dll"
      continue
    fi
    wine_command "$arch"

    # 1. The C host on the prefix's own drives.
    rm -rf "$WINEPREFIX/drive_c/tef_dial" "$WINEPREFIX/drive_c/tef_disc"
    make_host_dir "$WINEPREFIX/drive_c/zulhost"
    start_tefsim "$tefsim" "$drive"
    run_host "$name" "${WINE_COMMAND[@]}" "$bin/c_sale_host.exe" Pkg_Zul00500.dll "" 'c:\zulhost'
    stop_tefsim

    # 2. An integrator's rehearsal: a drive root, and a host directory outside
    # it that does not exist. The package moves the host directory under the
    # root and makes its directories there; nothing is written where it says.
    local rooted=$WORK/rooted-$arch outside=$WORK/outside-$arch/host
    mkdir -p "$rooted"
    start_tefsim "$tefsim" "$rooted"
    run_host "$name-rooted" "${WINE_COMMAND[@]}" "$bin/c_sale_host.exe" Pkg_Zul00500.dll \
      "$(windows_path "$rooted")" "$(windows_path "$outside")"
    stop_tefsim
    if [[ ! -f $rooted/z$outside/Dados/Cadastros/DIRTEF.cds || -e $WORK/outside-$arch ]]; then
      log "$name-rooted: FAILED: the host directory did not move under the drive root"
      FAILED=1
    fi

    # 3. The Free Pascal host, built for this Windows, beside the DLL: bound
    # by the unit's external declarations, then loaded at run time.
    local pascal variant
    for variant in "" -runtime; do
      pascal=$WORK/fpc/$([[ $arch == x64 ]] && echo win64 || echo win32)$variant
      cp "$bin/Pkg_Zul00500.dll" "$pascal/"
      rm -rf "$WINEPREFIX/drive_c/tef_dial" "$WINEPREFIX/drive_c/tef_disc"
      make_host_dir "$WINEPREFIX/drive_c/zulhost"
      start_tefsim "$tefsim" "$drive"
      run_host "$name-pascal$variant" "${WINE_COMMAND[@]}" "$pascal/sale_host.exe" "" 'c:\zulhost'
      stop_tefsim
    done
  done
}

# C hosts built against the package installed in PREFIX.
installed_hosts() {
  local prefix host drive=$WORK/drive home=$WORK/host
  prefix=$(cd "$1" && pwd)
  shift
  local library
  library=$(find "$prefix" -name libPkg_Zul00500.so -print -quit)
  [[ -n $library && -x $prefix/bin/tefsim ]] || { log "$prefix has no libPkg_Zul00500.so or bin/tefsim"; exit 2; }
  for host in "$@"; do
    rm -rf "$drive"
    make_host_dir "$home"
    start_tefsim "$prefix/bin/tefsim" "$drive"
    run_host "installed-$(basename "$(dirname "$host")")" "$host" "$library" "$drive" "$home"
    stop_tefsim
  done
}

if [[ ${1:-} == --installed ]]; then
  shift
  installed_hosts "$@"
elif [[ ${1:-} == --wine ]]; then
  shift
  [[ $# -gt 0 ]] || set -- build-mingw-x64 build-mingw-x86
  wine_hosts "$@"
else
  linux_hosts "$@"
fi
exit $FAILED
