#!/usr/bin/env bash
# Installs what is missing, builds build/ and runs the demo of the command-line
# host: it loads the package and walks through what the package can do.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh build
cmake --preset default
cmake --build --preset default -j 2

if [[ ! -x build/bin/zulpos ]]; then
  echo "demo.sh: build/bin/zulpos was not built; the command-line host is not part of this tree yet" >&2
  exit 1
fi
exec build/bin/zulpos demo "$@"
