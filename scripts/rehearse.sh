#!/usr/bin/env bash
# The certification rehearsal's built-in book, as CI runs it:
#   scripts/rehearse.sh                  build/bin/zulpos; report in build/rehearsal/
#   scripts/rehearse.sh --wine x64|x86   build-mingw-ARCH/bin/zulpos.exe under wine
#                                        (scripts/wine.sh's loaders; x86 said loudly
#                                        not run where the kernel runs no 32-bit
#                                        program); report in build-mingw-ARCH/rehearsal/
#   scripts/rehearse.sh --screenshots    the two pictures of docs/rehearsal.md, taken
#                                        with headless Chromium from build/bin/zulpos's
#                                        reports of the built-in book and of
#                                        docs/rehearsal-wrong-on-purpose.toml
# The first two write index.html, junit.xml and rehearsal.json and fail when a
# case fails. Build the tree first (scripts/test.sh, scripts/cross.sh ARCH).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

usage() { echo "usage: $0 [--wine x64|x86 | --screenshots]" >&2; }

run_book() {
  local out=$1
  shift
  rm -rf "$out"
  "$@" rehearse --builtin --report "$out"
}

chromium_shot() {
  local picture=$1 size=$2 page=$3 profile
  profile=$(mktemp -d)
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --hide-scrollbars --screenshot="$picture" --window-size="$size" \
    "file://$PWD/$page" >/dev/null 2>&1
  rm -rf "$profile"
  echo "rehearse.sh: $picture"
}

case ${1:-} in
  "")
    [[ -x build/bin/zulpos ]] || { echo "rehearse.sh: build/bin/zulpos is missing: run scripts/test.sh" >&2; exit 1; }
    run_book build/rehearsal build/bin/zulpos
    ;;
  --wine)
    arch=${2:-}
    [[ $arch == x64 || $arch == x86 ]] || { usage; exit 2; }
    build=build-mingw-$arch
    [[ -f $build/bin/zulpos.exe ]] || { echo "rehearse.sh: $build has no zulpos.exe: run scripts/cross.sh $arch" >&2; exit 1; }
    source scripts/wine.sh
    if [[ $arch == x86 ]] && ! wine32_can_run; then
      wine32_skip "the built-in book as $build/bin/zulpos.exe"
      exit 0
    fi
    export WINEPREFIX=$PWD/$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
    if [[ ! -d $WINEPREFIX ]]; then
      wine_run "$arch" wineboot --init >/dev/null 2>&1
      wineserver --wait
    fi
    wine_command "$arch"
    status=0
    run_book "$build/rehearsal" "${WINE_COMMAND[@]}" "$build/bin/zulpos.exe" || status=$?
    wineserver --kill || true
    exit $status
    ;;
  --screenshots)
    [[ -x build/bin/zulpos ]] || { echo "rehearse.sh: build/bin/zulpos is missing: run scripts/test.sh" >&2; exit 1; }
    bash scripts/deps.sh chromium
    run_book build/rehearsal build/bin/zulpos
    chromium_shot docs/rehearsal-summary.png 1280,1900 build/rehearsal/index.html
    rm -rf build/rehearsal-wrong
    build/bin/zulpos rehearse docs/rehearsal-wrong-on-purpose.toml --report build/rehearsal-wrong || true
    chromium_shot docs/rehearsal-failing-case.png 1280,1650 build/rehearsal-wrong/index.html
    ;;
  *)
    usage
    exit 2
    ;;
esac
