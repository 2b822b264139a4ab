#!/usr/bin/env bash
# Checks the package as a vendor gets it:
#   1. the consumer tests of a Linux tree (ctest -L consumer): `cmake
#      --install` into a prefix and what it holds, the installed C example
#      built through find_package and through pkg-config and paying a printed
#      sale against the installed tefsim, the C example through find_package
#      against the build tree, and a project adding ours with add_subdirectory
#      (tests/consumers/);
#   2. the Windows zip made from an x64 and an x86 tree holds what it should.
#
#   scripts/install_check.sh LINUX_TREE X64_TREE X86_TREE
#
# The trees must be configured (CI passes build, build-mingw-x64 and
# build-mingw-x86, which the earlier stages built).
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

log "1. the consumer tests of $LINUX_TREE"
# What cmake --install needs built; the trees of the earlier stages have it.
cmake --build "$LINUX_TREE" -j 2
ctest --test-dir "$LINUX_TREE" -L consumer --output-on-failure

log "2. the Windows zip"
bash scripts/package.sh --out "$WORK/dist" --check-only --windows-from "$X64_TREE" "$X86_TREE" >/dev/null
ZIP=$WORK/dist/zul00500-$VERSION-windows.zip
[[ -f $ZIP ]] || fail "no $(basename "$ZIP")"
TOP=zul00500-$VERSION-windows
expected=("$TOP/README-Windows.txt" "$TOP/LICENSE.txt" "$TOP/include/Pkg_Zul00500.h" "$TOP/examples/c/sale_host.c"
  "$TOP/doc/host-guide.md")
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
