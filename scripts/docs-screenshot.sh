#!/usr/bin/env bash
# A picture of the host's reference as a browser shows it: the page of the
# sale's routine, DoTEF, from the docs target of a build tree, taken with
# headless Chromium into docs/reference-dotef.png.
#
#   scripts/docs-screenshot.sh [BUILD]     (default build/, configured)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${1:-build}

bash scripts/deps.sh docs chromium >/dev/null
cmake --build "$build" --target docs
page=$(cd "$build/docs/html" && pwd)/group__zul__sale.html
[[ -f $page ]] || { echo "docs-screenshot.sh: no $page" >&2; exit 1; }
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
# Without the background-networking flags Chromium tries the network, which
# is closed, many times.
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --user-data-dir="$profile" --hide-scrollbars \
  --screenshot="$PWD/docs/reference-dotef.png" --window-size=1280,2620 "file://$page" 2>/dev/null
echo "docs-screenshot.sh: docs/reference-dotef.png"
