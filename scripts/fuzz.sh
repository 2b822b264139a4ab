#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one from its seed corpus:
#
#   scripts/fuzz.sh [-runs=N | -max_total_time=S] [TARGET...]
#
# Targets: answer, dataset, scenario, zulpos_options (default: all of them),
# 30000 runs each unless told otherwise. Each run works in a temporary copy
# of tests/fuzz/corpus/TARGET, so the seeds stay as they are. A crash, a
# sanitizer report, a hang of more than 10 s or an allocation beyond 2 GB
# stops with the input that caused it saved in build-fuzz/findings/.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

limit=-runs=30000
targets=()
for arg in "$@"; do
  case $arg in
    -runs=* | -max_total_time=*) limit=$arg ;;
    *) targets+=("$arg") ;;
  esac
done
[[ ${#targets[@]} -gt 0 ]] || targets=(answer dataset scenario zulpos_options)

bash scripts/deps.sh fuzz
cmake --preset fuzz
cmake --build --preset fuzz

dictionary() {
  case $1 in
    answer) echo tests/fuzz/fields.dict ;;
    *) echo "tests/fuzz/$1.dict" ;;
  esac
}

# Command lines stop at 512 bytes: CLI11 tries every argument against every
# command's name, so a list of 4000 bytes costs some twenty times a real one
# and only repeats its paths (the unit tests parse such a list).
max_len() {
  case $1 in
    zulpos_options) echo 512 ;;
    *) echo 4096 ;;
  esac
}

mkdir -p build-fuzz/findings
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp -R "tests/fuzz/corpus/$target/." "$work/"
  echo "=== fuzz_$target ($limit)"
  status=0
  build-fuzz/bin/fuzz_"$target" "$limit" -seed=1 -max_len="$(max_len "$target")" -timeout=10 -rss_limit_mb=2048 \
    -dict="$(dictionary "$target")" -artifact_prefix=build-fuzz/findings/"$target"- \
    -print_final_stats=1 "$work" >"$work.log" 2>&1 || status=$?
  grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|Done |stat::|==|SUMMARY|artifact_prefix|Test unit)' "$work.log" || true
  [[ $status -eq 0 ]] || tail -n 60 "$work.log"
  rm -f "$work.log"
  rm -rf "$work"
  trap - EXIT
  if [[ $status -ne 0 ]]; then
    echo "fuzz.sh: fuzz_$target found a fault; the input is in build-fuzz/findings/" >&2
    exit 1
  fi
done
