#!/usr/bin/env bash
# Cross-builds the package, its programs and the test programs for 64-bit
# Windows in build-mingw-x64/ (the tests are compiled, not run).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh cross
cmake --preset mingw-x64
cmake --build --preset mingw-x64 -j 2

dll=$(find build-mingw-x64 -name Pkg_Zul00500.dll -print -quit)
if [[ -z $dll ]]; then
  echo "cross.sh: build-mingw-x64 has no Pkg_Zul00500.dll" >&2
  exit 1
fi
echo "cross.sh: built $dll"
