#!/usr/bin/env bash
# Checks the package as a vendor gets it:
#   1. the consumer tests of a Linux tree (ctest -L consumer): `cmake
#      --install` into a prefix and what it holds, the installed C example
#      built through find_package and through pkg-config and paying a printed
#      sale against the installed tefsim, the C example through find_package
#      against the build tree, and a project adding ours with add_subdirectory
#      (tests/consumers/);
#   2. the .tar.gz made from the Linux tree carries the notices: the license
#      and THIRD-PARTY-NOTICES;
#   3. the Debian packages, built by debhelper from an export of the tree
#      (scripts/package.sh --debian-only, which runs lintian --pedantic and
#      fails on any error or warning): each carries the machine-readable
#      copyright file and THIRD-PARTY-NOTICES; then they are installed, the
#      installed C example is built through pkg-config and pays a sale
#      against the installed tefsim, and they are purged, leaving no file
#      behind;
#   4. the Windows zip made from an x64 and an x86 tree holds what it should,
#      the notices included.
# In both, each program or library that holds the code of a component of
# others (found by the names that code leaves in it) must be said to hold it
# in THIRD-PARTY-NOTICES, which must have that component's section.
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
ctest --test-dir "$LINUX_TREE" -L consumer -j 2 --output-on-failure

# The components of others, each by a name its compiled code leaves in a
# binary (a type's name, a message), and what THIRD-PARTY-NOTICES calls it.
COMPONENTS=(
  'N3CLI|CLI11'
  'N4toml|toml++'
  'N4pugi|pugixml'
  'Mingw-w64 runtime failure|the mingw-w64 runtime'
  'St9exception|the GCC runtime libraries'
)
# NOTICES BINARY ROW [MARKER|NAME...]: the binary, which the notices' table
# lists as ROW, holds the code of each component whose marker it contains;
# the notices must name that component on its row and have its section.
notices_cover() {
  local notices=$1 binary=$2 row=$3 entry marker name said
  shift 3
  said=$(awk -v row="$row" 'on && /^    [^ ]/ {exit} on {print} $1 == row && /^    [^ ]/ {on = 1; print}' "$notices" |
    tr -s ' \n' '  ')
  [[ -n $said ]] || fail "THIRD-PARTY-NOTICES has no row for $row"
  for entry in "$@"; do
    marker=${entry%%|*}
    name=${entry#*|}
    LC_ALL=C grep -aqF -- "$marker" "$binary" || continue
    [[ $said == *"$name"* ]] || fail "$row holds $name, but THIRD-PARTY-NOTICES does not say so on its row"
    grep -E '^[0-9]+\. ' "$notices" | grep -qiF -- "$name" ||
      fail "THIRD-PARTY-NOTICES has no section for $name ($row holds it)"
  done
}

# The notices give the version of each component they were taken from; the
# one installed here, which the builds compiled, must be the same, or its
# copyright lines may have changed.
notices_versions() {
  local entry package title version
  for entry in 'libcli11-dev|CLI11' 'libtomlplusplus-dev|toml++' 'libpugixml-dev|pugixml' \
    'mingw-w64-common|The mingw-w64 runtime' 'gcc-mingw-w64-base|The GCC runtime libraries'; do
    package=${entry%%|*}
    title=${entry#*|}
    version=$(dpkg-query -W -f='${Version}' "$package" 2>/dev/null) || continue
    version=${version#*:}
    version=${version%%[-+~]*}
    grep -E '^[0-9]+\. ' THIRD-PARTY-NOTICES | grep -F -- "$title" | grep -qF " $version" ||
      fail "THIRD-PARTY-NOTICES is for another version of $title than $package $version, installed here: take its notices again from /usr/share/doc/$package/copyright and its headers"
  done
}

log "2. the .tar.gz"
notices_versions
cpack -G TGZ --config "$LINUX_TREE/CPackConfig.cmake" -B "$WORK/linux" >/dev/null
mkdir -p "$WORK/linux/tgz"
tar -xzf "$WORK/linux/zul00500-$VERSION-linux-x86_64.tar.gz" -C "$WORK/linux/tgz"
TGZ=$WORK/linux/tgz/zul00500-$VERSION-linux-x86_64
cmp -s LICENSE "$TGZ/share/doc/zul00500/LICENSE" || fail "the .tar.gz has no share/doc/zul00500/LICENSE, or another"
cmp -s THIRD-PARTY-NOTICES "$TGZ/share/doc/zul00500/THIRD-PARTY-NOTICES" ||
  fail "the .tar.gz has no share/doc/zul00500/THIRD-PARTY-NOTICES, or another"
for tool in zulpos tefsim; do
  notices_cover THIRD-PARTY-NOTICES "$TGZ/bin/$tool" "$tool" 'N3CLI|CLI11' 'N4toml|toml++'
done
# The library leaves pugixml and the C++ runtime to Debian's shared libraries;
# were either linked in, the notices' "nothing else" would be wrong.
readelf -d "$TGZ/lib/libPkg_Zul00500.so.$VERSION" | grep -q 'NEEDED.*libpugixml' ||
  fail "libPkg_Zul00500.so no longer loads pugixml as a shared library: THIRD-PARTY-NOTICES says it does"
readelf -d "$TGZ/lib/libPkg_Zul00500.so.$VERSION" | grep -q 'NEEDED.*libstdc++' ||
  fail "libPkg_Zul00500.so no longer loads libstdc++ as a shared library: THIRD-PARTY-NOTICES says it does"
log "the .tar.gz carries the notices"

log "3. the Debian packages (dpkg-buildpackage, lintian)"
start=$SECONDS
bash scripts/package.sh --debian-only --out "$WORK/deb"
log "built and checked by lintian in $((SECONDS - start)) s"
PACKAGES=(libpkg-zul00500-0.1 libpkg-zul00500-dev zul00500-tools)
for package in "${PACKAGES[@]}" libpkg-zul00500-0.1-dbgsym zul00500-tools-dbgsym; do
  [[ -f $WORK/deb/${package}_${VERSION}_amd64.deb ]] || fail "no ${package}_${VERSION}_amd64.deb"
done
for package in "${PACKAGES[@]}"; do
  mkdir -p "$WORK/deb/$package"
  dpkg-deb -x "$WORK/deb/${package}_${VERSION}_amd64.deb" "$WORK/deb/$package"
  doc=$WORK/deb/$package/usr/share/doc/$package
  cmp -s debian/copyright "$doc/copyright" || fail "$package: no /usr/share/doc/$package/copyright, or another"
  # Compressed, as Debian compresses the documents it installs.
  zcat "$doc/THIRD-PARTY-NOTICES.gz" 2>/dev/null | cmp -s THIRD-PARTY-NOTICES - ||
    fail "$package: no /usr/share/doc/$package/THIRD-PARTY-NOTICES.gz, or another"
done
# The copyright file is machine-readable, and has a Files stanza for each
# component the tools hold.
head -1 debian/copyright | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "debian/copyright is not in the machine-readable format"
for files in 'CLI/\*' 'toml++/\*'; do
  grep -q "^Files: $files\$" debian/copyright || fail "debian/copyright has no stanza Files: $files"
done
for tool in zulpos tefsim; do
  notices_cover THIRD-PARTY-NOTICES "$WORK/deb/zul00500-tools/usr/bin/$tool" "$tool" 'N3CLI|CLI11' 'N4toml|toml++'
done
log "the Debian packages carry the notices"

log "3b. the Debian packages installed, at work, purged"
if [[ $(id -u) -eq 0 ]]; then
  SUDO=()
elif command -v sudo >/dev/null; then
  SUDO=(sudo)
else
  fail "not root and no sudo: the Debian packages cannot be installed"
fi
# Anything of ours already installed goes first: what is checked is what was
# just built.
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${PACKAGES[@]}" >/dev/null 2>&1 || true
debs=()
for package in "${PACKAGES[@]}"; do debs+=("$WORK/deb/${package}_${VERSION}_amd64.deb"); done
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${debs[@]}" >/dev/null
for package in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$package" | grep -qx 'install ok installed' || fail "$package did not install"
  dpkg-query -L "$package" >>"$WORK/deb/installed-files"
done
# It loads the installed library and says both versions.
[[ $(zulpos --version) == *"package $VERSION"* ]] || fail "the installed zulpos does not load the package $VERSION"
cp -r /usr/share/doc/zul00500/examples/c "$WORK/deb/example"
make -s -C "$WORK/deb/example" >/dev/null || fail "the installed C example did not build through pkg-config"
bash scripts/examples.sh --installed /usr "$WORK/deb/example/sale_host" || fail "the installed packages did not pay a sale"
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${PACKAGES[@]}" >/dev/null
left=()
while IFS= read -r path; do
  [[ -f $path || -L $path ]] && left+=("$path")
done <"$WORK/deb/installed-files"
[[ ${#left[@]} -eq 0 ]] || fail "the purge left ${left[*]}"
for package in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ -z $status || $status == *" not-installed" ]] || fail "$package is not purged: $status"
done
if ldconfig -p | grep -q libPkg_Zul00500; then fail "the purge left libPkg_Zul00500 in ld.so's cache"; fi
log "installed, built against, paid a sale, purged: nothing left"

log "4. the Windows zip"
bash scripts/package.sh --out "$WORK/dist" --check-only --windows-from "$X64_TREE" "$X86_TREE" >/dev/null
ZIP=$WORK/dist/zul00500-$VERSION-windows.zip
[[ -f $ZIP ]] || fail "no $(basename "$ZIP")"
TOP=zul00500-$VERSION-windows
expected=("$TOP/README-Windows.txt" "$TOP/LICENSE.txt" "$TOP/THIRD-PARTY-NOTICES.txt" "$TOP/include/Pkg_Zul00500.h"
  "$TOP/examples/c/sale_host.c"
  "$TOP/doc/host-guide.md" "$TOP/doc/host.md" "$TOP/doc/tefsim.md" "$TOP/doc/zulpos.md" "$TOP/doc/windows.md"
  "$TOP/doc/deviations.md" "$TOP/doc/reference-dotef.png")
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
cmp -s THIRD-PARTY-NOTICES "$WORK/dist/$TOP/THIRD-PARTY-NOTICES.txt" || fail "the zip's THIRD-PARTY-NOTICES.txt is another"
for arch in x64 x86; do
  for file in Pkg_Zul00500.dll zulpos.exe tefsim.exe; do
    notices_cover THIRD-PARTY-NOTICES "$WORK/dist/$TOP/$arch/$file" "$file" "${COMPONENTS[@]}"
  done
done
log "all good: $(basename "$ZIP") holds ${#expected[@]} files"
