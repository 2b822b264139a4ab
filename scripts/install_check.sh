#!/usr/bin/env bash
# Checks the package as a vendor gets it:
#   1. `cmake --install` of a Linux tree into a temporary prefix: the files
#      are there, the library carries its version, and the CMake package
#      shows consumers only the installed include folder;
#   2. the installed C example built against it through find_package and
#      through pkg-config, and a C++ host linking the static library;
#   3. both C hosts pay a printed two-payment sale against the installed
#      tefsim;
#   4. the Windows zip made from an x64 and an x86 tree holds what it should.
#
#   scripts/install_check.sh LINUX_TREE X64_TREE X86_TREE
#
# The trees must be configured and built (CI passes build, build-mingw-x64
# and build-mingw-x86).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
[[ $# -eq 3 ]] || { echo "usage: $0 LINUX_TREE X64_TREE X86_TREE" >&2; exit 2; }
LINUX_TREE=$1
X64_TREE=$2
X86_TREE=$3

WORK=$(mktemp -d "${TMPDIR:-/tmp}/zul-install.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
log() { echo "install_check.sh: $*"; }
fail() {
  echo "install_check.sh: FAILED: $*" >&2
  exit 1
}

bash scripts/deps.sh package docs
# The header is the one source of the version.
VERSION=$(sed -n 's/^#define ZUL_VERSION_\(MAJOR\|MINOR\|PATCH\) \([0-9]*\).*/\2/p' include/Pkg_Zul00500.h | paste -sd.)
SOVERSION=$(echo "$VERSION" | cut -d. -f1-2)

log "1. cmake --install $LINUX_TREE into a temporary prefix"
PREFIX=$WORK/prefix
cmake --build "$LINUX_TREE" -j 2 --target Pkg_Zul00500 zul00500 zulpos tefsim zul_completions docs >/dev/null
cmake --install "$LINUX_TREE" --prefix "$PREFIX" >/dev/null
LIBDIR=$(dirname "$(find "$PREFIX" -name "libPkg_Zul00500.so.$VERSION" -print -quit)")
[[ $LIBDIR != . ]] || fail "no libPkg_Zul00500.so.$VERSION"
for file in "$LIBDIR/libPkg_Zul00500.so" "$LIBDIR/libPkg_Zul00500.so.$SOVERSION" "$LIBDIR/libzul00500.a" \
  "$LIBDIR/cmake/Zul00500/Zul00500Config.cmake" "$LIBDIR/pkgconfig/Pkg_Zul00500.pc" \
  "$PREFIX/include/Pkg_Zul00500.h" "$PREFIX/include/zul00500/zul00500.h" "$PREFIX/bin/zulpos" \
  "$PREFIX/bin/tefsim" "$PREFIX/share/bash-completion/completions/zulpos" \
  "$PREFIX/share/doc/zul00500/examples/c/sale_host.c" "$PREFIX/share/doc/zul00500/examples/pascal/Pkg_Zul00500.pas" \
  "$PREFIX/share/doc/zul00500/host-guide.md" "$PREFIX/share/doc/zul00500/html/index.html" \
  "$PREFIX/share/doc/zul00500/html/group__zul__sale.html"; do
  [[ -e $file ]] || fail "not installed: ${file#"$PREFIX"/}"
done
readelf -d "$LIBDIR/libPkg_Zul00500.so.$VERSION" | grep -q "SONAME.*\[libPkg_Zul00500.so.$SOVERSION\]" ||
  fail "the library's soname is not libPkg_Zul00500.so.$SOVERSION"
if grep -E -e "$ROOT" -e '-W(error|all|extra)' "$LIBDIR"/cmake/Zul00500/*.cmake "$LIBDIR/pkgconfig/Pkg_Zul00500.pc"; then
  fail "the installed package points into the source tree or carries our warning flags"
fi
[[ $("$PREFIX/bin/zulpos" --version | head -1) == "zulpos $VERSION" ]] || fail "zulpos --version"
[[ $("$PREFIX/bin/tefsim" --version) == "tefsim $VERSION" ]] || fail "tefsim --version"

log "2. the C example through find_package and through pkg-config; a C++ host of the static library"
EXAMPLE=$PREFIX/share/doc/zul00500/examples/c
cmake -S "$EXAMPLE" -B "$WORK/c-cmake" -DCMAKE_PREFIX_PATH="$PREFIX" >/dev/null
cmake --build "$WORK/c-cmake" >/dev/null
cp -r "$EXAMPLE" "$WORK/c-pkgconfig"
PKG_CONFIG_PATH=$LIBDIR/pkgconfig make -s -C "$WORK/c-pkgconfig" >/dev/null
mkdir -p "$WORK/cxx"
cat >"$WORK/cxx/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(static_host LANGUAGES CXX)
find_package(Zul00500 REQUIRED COMPONENTS static)
add_executable(static_host main.cpp)
target_compile_features(static_host PRIVATE cxx_std_20)
target_link_libraries(static_host PRIVATE Zul00500::zul00500)
CMAKE
cat >"$WORK/cxx/main.cpp" <<'CXX'
#include <iostream>
#include "zul00500/zul00500.h"
int main() {
  zul00500::Initialize();
  const std::string sequence = zul00500::GetSequence();
  std::cout << sequence << " " << zul00500::TipoRede("C") << "\n";
  zul00500::Finalize();
  return sequence.size() == 10 ? 0 : 1;
}
CXX
cmake -S "$WORK/cxx" -B "$WORK/cxx/build" -DCMAKE_PREFIX_PATH="$PREFIX" >/dev/null
cmake --build "$WORK/cxx/build" >/dev/null
"$WORK/cxx/build/static_host" >/dev/null || fail "the C++ host of the static library"

log "3. both C hosts against the installed tefsim and library"
bash scripts/examples.sh --installed "$PREFIX" "$WORK/c-cmake/sale_host" "$WORK/c-pkgconfig/sale_host"

log "4. the Windows zip"
bash scripts/package.sh --out "$WORK/dist" --windows-from "$X64_TREE" "$X86_TREE" >/dev/null
ZIP=$WORK/dist/zul00500-$VERSION-windows.zip
[[ -f $ZIP ]] || fail "no $(basename "$ZIP")"
TOP=zul00500-$VERSION-windows
expected=("$TOP/README-Windows.txt" "$TOP/include/Pkg_Zul00500.h" "$TOP/examples/c/sale_host.c" "$TOP/doc/host-guide.md")
# The reference as the x64 tree made it, every page.
while IFS= read -r page; do expected+=("$TOP/doc/html/$page"); done < <(cd "$X64_TREE/docs/html" && find . -type f | sed 's|^\./||')
for file in Pkg_Zul00500.pas sale_host.dpr; do expected+=("$TOP/examples/pascal/$file"); done
for file in Pkg_Zul00500.cs SaleHost.cs; do expected+=("$TOP/examples/csharp/$file"); done
for arch in x64 x86; do
  for file in Pkg_Zul00500.dll libPkg_Zul00500.dll.a Pkg_Zul00500.def zulpos.exe tefsim.exe; do
    expected+=("$TOP/$arch/$file")
  done
done
(cd "$WORK/dist" && cmake -E tar xf "$ZIP")
actual=$(cd "$WORK/dist" && find "$TOP" -type f | sort)
if [[ $actual != "$(printf '%s\n' "${expected[@]}" | sort)" ]]; then
  diff <(printf '%s\n' "${expected[@]}" | sort) <(echo "$actual") >&2 || true
  fail "the zip does not hold exactly what it should (- missing, + unexpected)"
fi
x86_64-w64-mingw32-objdump -f "$WORK/dist/$TOP/x64/Pkg_Zul00500.dll" | grep -q 'pei-x86-64' || fail "x64\\ holds no 64-bit DLL"
x86_64-w64-mingw32-objdump -f "$WORK/dist/$TOP/x86/Pkg_Zul00500.dll" | grep -q 'pei-i386' || fail "x86\\ holds no 32-bit DLL"
[[ -f $WORK/dist/$TOP/doc/html/group__zul__sale.html ]] || fail "the zip's reference has no page for the sale"
log "all good: $(basename "$ZIP") holds ${#expected[@]} files"
