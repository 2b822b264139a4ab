#!/usr/bin/env bash
# Installs what the project needs on a Debian machine, and only what is missing.
#
#   scripts/deps.sh build   compilers, CMake, pugixml, GoogleTest sources, CLI11,
#                           toml++, Doxygen (the reference is part of the build)
#   scripts/deps.sh cross   the above for mingw-w64 (POSIX threads), 64-bit and
#                           32-bit, plus the pugixml source package in
#                           build-deps/pugixml
#   scripts/deps.sh wine    wine for 64-bit and 32-bit programs (adds the i386
#                           architecture), a virtual X server for the window
#                           tests, the fonts the dialogs are drawn with, and
#                           netpbm for the dialog's picture; then says whether
#                           this machine's kernel runs 32-bit programs at all
#   scripts/deps.sh bench   the build set plus Google Benchmark and GNU time
#   scripts/deps.sh package what packaging and the install check use:
#                           debhelper (builds the .debs from debian/), ccache
#                           (their build's compiler cache), pkg-config,
#                           help2man (the tools' manual pages), lintian
#                           (checks the .debs)
#   scripts/deps.sh docs    Doxygen, for the host's reference (the docs target)
#   scripts/deps.sh chromium  headless Chromium, for the reference's picture
#                           (scripts/docs-screenshot.sh) and those of
#                           docs/rehearsal.md
#   scripts/deps.sh examples  Free Pascal and Mono, for the example hosts
#   scripts/deps.sh fpc-windows  Free Pascal's sources and fpcmake, from which
#                           scripts/fpc-windows.sh builds the units for
#                           i386-win32 and x86_64-win64
#   scripts/deps.sh fuzz    clang with libFuzzer and the sanitizers, CMake, pugixml,
#                           CLI11, toml++
#
# Several sets may be named at once. Running it again changes nothing.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
DEPS_DIR="$ROOT/build-deps"
SRC_LIST=/etc/apt/sources.list.d/zul-src.sources
export DEBIAN_FRONTEND=noninteractive

# CLI11 and toml++ are used from their headers: the mingw builds use the same
# headers.
BUILD_PACKAGES=(cmake make g++ libpugixml-dev googletest libcli11-dev libtomlplusplus-dev doxygen)
CROSS_PACKAGES=(cmake make googletest libcli11-dev libtomlplusplus-dev dpkg-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix)
# wine32 runs the 32-bit programs; xvfb-run and xauth give the dialog tests a
# screen; fonts-liberation stands in for Arial.
WINE_PACKAGES=(wine wine64 wine32:i386 xvfb xauth netpbm fonts-liberation fonts-wine)
# On a day the i386 package lists cannot be fetched whole, apt cannot install
# wine32: the 64-bit wine alone then runs the x64 programs, and the x86
# stages build and check theirs without running them (scripts/wine.sh).
WINE64_PACKAGES=(wine wine64 xvfb xauth netpbm fonts-liberation fonts-wine)
BENCH_PACKAGES=(libbenchmark-dev time)
# debhelper builds the .debs from debian/ (dpkg-buildpackage), ccache keeps
# that build from compiling again what it compiled before, and lintian checks
# them; the tools' manual pages are made by help2man; the install check
# builds the C example through pkg-config.
PACKAGE_PACKAGES=(dpkg-dev debhelper ccache pkg-config file help2man lintian)
EXAMPLE_PACKAGES=(fp-compiler mono-mcs mono-runtime)
DOCS_PACKAGES=(doxygen)
FPC_WINDOWS_PACKAGES=(fp-compiler fp-utils fpc-source make)
FUZZ_PACKAGES=(cmake make clang libclang-rt-14-dev libpugixml-dev libcli11-dev libtomlplusplus-dev)

if [[ $(id -u) -eq 0 ]]; then
  SUDO=()
elif command -v sudo >/dev/null; then
  SUDO=(sudo)
else
  echo "deps.sh: not root and no sudo: cannot install packages" >&2
  exit 1
fi

log() { echo "deps.sh: $*"; }

apt_updated=0
# A mirror caught mid-sync fails an update now and then ("File has unexpected
# size ... Mirror sync in progress?"): try again after a pause, and in the end
# go on with the lists apt has, so that an install that needs nothing new
# still works and one that does says what it missed.
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    log "apt-get update"
    if "${SUDO[@]}" apt-get update -qq; then
      apt_updated=1
      return 0
    fi
    [[ $attempt -eq 3 ]] || sleep $((attempt * 15))
  done
  log "apt-get update failed three times: going on with the package lists apt has"
  apt_updated=1
}

is_installed() {
  [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null) == "install ok installed" ]]
}

# A package run cut short (a machine stopped halfway through an install) leaves
# packages unpacked but not configured, and apt then refuses every install
# with "dpkg was interrupted". Finish that run first: configure what was
# unpacked, then let apt complete what it still lacks.
dpkg_checked=0
finish_interrupted_dpkg() {
  [[ $dpkg_checked -eq 0 ]] || return 0
  dpkg_checked=1
  if [[ -z $(ls -A /var/lib/dpkg/updates 2>/dev/null) && -z $(dpkg --audit 2>/dev/null) ]]; then
    return 0
  fi
  log "an earlier package run was interrupted: dpkg --configure -a"
  "${SUDO[@]}" dpkg --configure -a || true
  [[ $apt_updated -eq 1 ]] || apt_update
  log "apt-get install -f (completing it)"
  "${SUDO[@]}" apt-get install -y -qq -f
}

install_missing() {
  local missing=() pkg
  finish_interrupted_dpkg
  for pkg in "$@"; do
    is_installed "$pkg" || missing+=("$pkg")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0
  [[ $apt_updated -eq 1 ]] || apt_update
  log "installing ${missing[*]}"
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# deb-src twins of the enabled "deb" stanzas of Debian's own deb822 list, so
# that `apt-get source` reaches the same suites as the installed packages.
write_src_list() {
  local deb822=/etc/apt/sources.list.d/debian.sources text=""
  if [[ -r $deb822 ]]; then
    text=$(awk '
      BEGIN { RS = ""; ORS = "\n\n" }
      {
        n = split($0, lines, "\n"); out = ""; keep = 0; field = ""; enabled = 1
        for (i = 1; i <= n; i++) {
          line = lines[i]
          if (line ~ /^#/) continue
          if (line ~ /^[ \t]/) { if (field != "") out = out "\n" line; continue }
          split(line, kv, ":"); name = tolower(kv[1]); field = ""
          if (name == "types") { if (line ~ /[: \t]deb([ \t]|$)/) keep = 1; continue }
          if (name == "enabled" && line ~ /[: \t]no[ \t]*$/) enabled = 0
          if (name == "uris" || name == "suites" || name == "components" || name == "signed-by") {
            field = name; out = out "\n" line
          }
        }
        if (keep && enabled && out != "") print "Types: deb-src" out
      }' "$deb822")
  fi
  if [[ -n $text ]]; then
    log "adding deb-src entries in $SRC_LIST"
    printf '%s\n' "$text" | "${SUDO[@]}" tee "$SRC_LIST" >/dev/null
    return 0
  fi
  # Older machines keep one-line entries in sources.list.
  local legacy=/etc/apt/sources.list
  if [[ -r $legacy ]] && grep -Eq '^deb[[:space:]]' "$legacy"; then
    log "adding deb-src lines in ${SRC_LIST%.sources}.list"
    sed -n 's/^deb\([[:space:]]\)/deb-src\1/p' "$legacy" | "${SUDO[@]}" tee "${SRC_LIST%.sources}.list" >/dev/null
    return 0
  fi
  echo "deps.sh: no Debian 'deb' entries found to derive deb-src entries from" >&2
  exit 1
}

has_source() { apt-cache showsrc "$1" 2>/dev/null | grep -q '^Package:'; }

# wine32 is an i386 package: the architecture must be known to dpkg and apt.
add_i386_architecture() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  log "dpkg --add-architecture i386"
  "${SUDO[@]}" dpkg --add-architecture i386
  apt_update
}

# The pugixml source tree for the Windows build, in build-deps/pugixml.
fetch_pugixml_source() {
  local dest="$DEPS_DIR/pugixml"
  if [[ ! -f $dest/src/pugixml.cpp ]]; then
    if ! has_source pugixml; then
      [[ -e $SRC_LIST || -e ${SRC_LIST%.sources}.list ]] || write_src_list
      apt_update
      has_source pugixml || { echo "deps.sh: apt knows no source package pugixml" >&2; exit 1; }
    fi
    local work
    mkdir -p "$DEPS_DIR"
    work=$(mktemp -d "$DEPS_DIR/pugixml.XXXXXX")
    log "apt-get source pugixml"
    # As root, apt would try to download as _apt into a folder it cannot write.
    local sandbox=()
    [[ $(id -u) -ne 0 ]] || sandbox=(-o APT::Sandbox::User=root)
    (cd "$work" && apt-get source -qq "${sandbox[@]}" pugixml)
    local tree
    tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'pugixml-*' | head -n 1)
    if [[ -z $tree || ! -f $tree/src/pugixml.cpp ]]; then
      echo "deps.sh: apt-get source pugixml gave no source tree in $work" >&2
      exit 1
    fi
    rm -rf "$dest"
    mv "$tree" "$dest"
    rm -rf "$work"
  fi
  log "pugixml sources in $dest"
}

[[ $# -gt 0 ]] || set -- build
for set_name in "$@"; do
  case $set_name in
    build) install_missing "${BUILD_PACKAGES[@]}" ;;
    cross)
      install_missing "${CROSS_PACKAGES[@]}"
      fetch_pugixml_source
      ;;
    wine)
      add_i386_architecture
      if ! install_missing "${WINE_PACKAGES[@]}"; then
        log "WINE32 COULD NOT BE INSTALLED (the i386 package lists?): installing the 64-bit wine alone"
        install_missing "${WINE64_PACKAGES[@]}"
      fi
      source "$ROOT/scripts/wine.sh"
      wine32_report
      ;;
    bench) install_missing "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}" ;;
    package) install_missing "${PACKAGE_PACKAGES[@]}" ;;
    examples) install_missing "${EXAMPLE_PACKAGES[@]}" ;;
    docs) install_missing "${DOCS_PACKAGES[@]}" ;;
    chromium) install_missing chromium ;;
    fpc-windows) install_missing "${FPC_WINDOWS_PACKAGES[@]}" ;;
    fuzz) install_missing "${FUZZ_PACKAGES[@]}" ;;
    *)
      echo "usage: $0 [build|cross|wine|bench|package|docs|chromium|examples|fpc-windows|fuzz]..." >&2
      exit 2
      ;;
  esac
done
