#!/usr/bin/env bash
# Line and branch coverage of src/tef, src/printing and src/cancellation,
# reached by the unit and crash tests, and by settlement_sim's days
# (docs/simulation.md). Builds an instrumented tree in build-coverage/ and
# sums gcov's figures over the sources of the three folders.
#
#   bash scripts/coverage.sh [--histories N] [--jobs J]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

histories=10000
jobs=2
while [ $# -gt 0 ]; do
  case $1 in
    --histories) histories=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    *) echo "usage: bash scripts/coverage.sh [--histories N] [--jobs J]" >&2; exit 2 ;;
  esac
done

tree=build-coverage
mkdir -p "$tree"
cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Debug -DZUL_BUILD_TESTS=ON -DZUL_WARNINGS_AS_ERRORS=ON \
  -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_C_FLAGS="--coverage -O0" \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage > "$tree/configure.log"
cmake --build "$tree" -j "$jobs" --target unit_tests crash_tests settlement_sim > "$tree/build.log"

objects=$tree/CMakeFiles/zul00500_objects.dir

# Sums gcov's per-file figures for the .cpp files of src/tef, src/printing and
# src/cancellation:
# "lines 1234/1500 82.3%  branches taken 900/1400 64.3%".
measure() {
  local folder total=0
  for folder in tef printing cancellation; do
    (cd "$objects/src/$folder" && gcov -n -b ./*.gcno 2> /dev/null) || true
  done | awk '
    /^File .*src\/(tef|printing|cancellation)\/[^\/]*\.cpp'"'"'$/ { take = 1; next }
    /^File / { take = 0; next }
    take && /^Lines executed:/ { split($2, a, ":"); pct = a[2] + 0; n = $4 + 0; lines += n; hit += pct * n / 100 }
    take && /^Taken at least once:/ { split($4, a, ":"); pct = a[2] + 0; n = $6 + 0; branches += n; taken += pct * n / 100 }
    END { printf "lines %d/%d %.1f%%  branches taken %d/%d %.1f%%\n", hit + 0.5, lines, 100 * hit / lines, taken + 0.5, branches, 100 * taken / branches }'
}

reset() { find "$tree" -name '*.gcda' -delete; }

reset
"$tree/bin/unit_tests" --gtest_brief=1 > /dev/null
"$tree/bin/crash_tests" --gtest_brief=1 > /dev/null
echo "unit and crash tests:      $(measure)"

reset
"$tree/bin/settlement_sim" --histories "$histories" --jobs "$jobs" --no-shrink > /dev/null 2>&1 || true
echo "settlement_sim, $histories days: $(measure)"

# Both: gcov adds the counts of a second run to the files of the first.
"$tree/bin/unit_tests" --gtest_brief=1 > /dev/null
"$tree/bin/crash_tests" --gtest_brief=1 > /dev/null
echo "all three together:        $(measure)"
