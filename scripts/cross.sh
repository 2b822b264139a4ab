#!/usr/bin/env bash
# Cross-builds the package, its programs and the test programs for 64-bit
# Windows in build-mingw/ (the tests are compiled, not run).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh cross
cmake --preset mingw
cmake --build --preset mingw -j 2

dll=$(find build-mingw -name Pkg_Zul00500.dll -print -quit)
if [[ -z $dll ]]; then
  echo "cross.sh: build-mingw has no Pkg_Zul00500.dll" >&2
  exit 1
fi
echo "cross.sh: built $dll"
