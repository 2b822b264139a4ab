#!/usr/bin/env bash
# Installs what is missing, builds the Debug tree in build/ and runs every test.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh build
cmake --preset default
cmake --build --preset default -j 2
ctest --preset default --output-on-failure
