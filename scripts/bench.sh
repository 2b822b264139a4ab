#!/usr/bin/env bash
# Measures how fast and how lean the package is and writes one table (in
# Markdown) with the machine it ran on into docs/performance.md, between its
# two marks, and prints it. Each figure is a ratio, a count or a
# growth factor measured in the same run, so that it means something on
# another machine:
#
#   P1  wall time of a sale against a tefsim that answers at once, over the
#       pauses the package must make (median and worst of --runs runs):
#       a total payment (floor 1,950 ms) and a printed sale of two payments
#       (floor 7,150 ms)
#   P2  CPU seconds over wall seconds while the package waits: a 15-second
#       silent-manager status wait, a 20-second cancellation answer wait
#   P3  the store with 10 to 10,000 stored answers (Google Benchmark, bench/):
#       the time at 1,000 and the growth for ten times the answers; and the
#       real leftover scan, every leftover settled, in virtual time
#       (bench/scan_bench.cpp)
#   P4  the unit suite's wall time (ctest -L unit in build/, as
#       scripts/test.sh runs it); with --ci also the whole of .ci/run on a
#       fresh clone
#   P5  peak resident memory of a printed sale of two payments
#   P5b peak resident memory of a sale whose manager writes a 100 MB answer
#       (one line, short lines, bare line feeds), also under a 2 GiB
#       address-space limit (prlimit --as)
#
#   scripts/bench.sh [--runs N] [--ci] [--out FILE] [--build-only | --quick]
#
# Without --ci the CI row of the page's table is kept from before, marked as
# not timed by this run. --out writes FILE instead of docs/performance.md.
#
# Builds build-bench/ (the bench preset: Release with the benchmarks) and
# build/; not run in CI. --build-only only compiles the benchmarks in build/
# (the tests' Debug tree) and stops. CI runs it with --quick: the benchmarks
# compiled in build/ and every row run once, briefly (ZUL_BENCH_QUICK: each
# count a hundredth of its own; --benchmark_min_time 0.001), failing when the
# program fails or a row reports an error, so that neither a benchmark whose
# check no longer holds nor a crash can hide. It measures nothing.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

RUNS=20
WITH_CI=0
PAGE=docs/performance.md
BUILD_ONLY=0
QUICK=0
while [[ $# -gt 0 ]]; do
  case $1 in
    --runs) RUNS=$2; shift 2 ;;
    --ci) WITH_CI=1; shift ;;
    --out) PAGE=$2; shift 2 ;;
    --build-only) BUILD_ONLY=1; shift ;;
    --quick) QUICK=1; shift ;;
    *) echo "usage: $0 [--runs N] [--ci] [--out FILE] [--build-only | --quick]" >&2; exit 2 ;;
  esac
done

log() { echo "bench.sh: $*" >&2; }

bash scripts/deps.sh bench >&2
# The rows of a run (CSV on standard input) that report an error, or none.
failed_rows() { awk -F, 'NR > 1 && $(NF - 1) == "true"'; }

if [[ $BUILD_ONLY -eq 1 || $QUICK -eq 1 ]]; then
  log "building the benchmarks in build/"
  cmake --preset default -DZUL_BUILD_BENCH=ON >/dev/null
  cmake --build --preset default -j 2 --target benchmarks >/dev/null
  if [[ $BUILD_ONLY -eq 1 ]]; then
    log "built; --build-only: nothing measured"
    exit 0
  fi
  log "--quick: every row once, a hundredth of its count (build/, Debug: nothing measured)"
  # The console's table to read, JSON to check: the CSV reporter stops the
  # program when the rows' counters differ.
  rows=$(mktemp "${TMPDIR:-/tmp}/zul-bench-rows.XXXXXX")
  trap 'rm -f "$rows"' EXIT
  status=0
  ZUL_BENCH_QUICK=1 build/bin/benchmarks --benchmark_min_time=0.001 --benchmark_out="$rows" \
    --benchmark_out_format=json || status=$?
  if [[ $status -ne 0 ]]; then
    log "FAILED: the benchmarks program ended with $status"
    exit 1
  fi
  if grep -q '"error_occurred": true' "$rows"; then
    log "FAILED: a row reports an error (ERROR OCCURRED above)"
    exit 1
  fi
  log "$(grep -c '"run_type": "iteration"' "$rows") rows ran, none failed"
  exit 0
fi
log "building build-bench/ and build/"
cmake --preset bench >/dev/null
cmake --build --preset bench -j 2 --target zulpos tefsim Pkg_Zul00500 benchmarks >/dev/null
cmake --preset default >/dev/null
cmake --build --preset default -j 2 >/dev/null

BIN=$ROOT/build-bench/bin
# The machine may be shared: its load goes into the table's heading.
LOAD_START=$(cut -d' ' -f1 /proc/loadavg)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/zul-bench.XXXXXX")
TEFSIM_PID=""
stop_tefsim() {
  if [[ -n $TEFSIM_PID ]]; then
    kill "$TEFSIM_PID" 2>/dev/null || true
    wait "$TEFSIM_PID" 2>/dev/null || true
    TEFSIM_PID=""
  fi
}
trap 'stop_tefsim; rm -rf "$WORK"' EXIT

# A fresh drive and host folder, and tefsim serving c:\tef_dial\ with its
# scenario lines; it answers at once (it looks every 5 ms).
fresh_world() {
  stop_tefsim
  rm -rf "$WORK/drive" "$WORK/host"
  mkdir -p "$WORK/drive" "$WORK/host/Dados/Cadastros" "$WORK/host/Dados/TefDisc/Pendente"
  local rules=()
  for rule in "$@"; do rules+=(--rule "$rule"); done
  "$BIN/tefsim" --roots dial --drive-root "$WORK/drive" --poll-ms 5 --log "$WORK/tefsim.log" \
    "${rules[@]}" >/dev/null 2>&1 &
  TEFSIM_PID=$!
  until [[ -d $WORK/drive/c/tef_dial/resp ]]; do sleep 0.01; done
}

zulpos() { "$BIN/zulpos" --host-dir "$WORK/host" --drive-root "$WORK/drive" "$@"; }

# Milliseconds, from bash's own clock: no program started, so the sale's
# time is not padded with that of starting `date`.
now_ms() {
  local now=${EPOCHREALTIME/[.,]/}
  echo $((now / 1000))
}

# median and worst of the numbers on standard input, each divided by $1,
# three decimals: "1.007 1.015"
median_worst() {
  sort -n | awk -v floor="$1" '{ v[NR] = $1 } END {
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.3f %.3f\n", m / floor, v[NR] / floor }'
}

# sale_ratio FLOOR_MS ARGS...: the sale's wall time over FLOOR_MS, RUNS times.
sale_ratio() {
  local floor=$1 i start end
  shift
  {
    for ((i = 0; i < RUNS; i++)); do
      fresh_world
      start=${EPOCHREALTIME/[.,]/}
      zulpos sale "$@" >"$WORK/sale.out" 2>&1 || { cat "$WORK/sale.out" >&2; log "the sale failed"; exit 1; }
      end=${EPOCHREALTIME/[.,]/}
      echo $(((end - start) / 1000))
    done
    stop_tefsim
  } | median_worst "$floor"
}

# cpu_ratio ARGS...: zulpos's CPU seconds over its wall seconds.
cpu_ratio() {
  /usr/bin/time -f "%e %U %S" -o "$WORK/time" "$BIN/zulpos" --host-dir "$WORK/host" \
    --drive-root "$WORK/drive" "$@" >/dev/null 2>&1 || true
  # The last line: GNU time writes "Command exited with non-zero status"
  # before it when zulpos ends with 1 (the routine returned false).
  tail -n 1 "$WORK/time" | awk '{ printf "%.4f (%.2f s CPU in %.1f s)\n", ($2 + $3) / $1, $2 + $3, $1 }'
}

log "P1: $RUNS total payments"
read -r P1_MEDIAN P1_WORST < <(sale_ratio 1950 --pay 100)
log "P1: $RUNS printed sales of two payments"
read -r P1P_MEDIAN P1P_WORST < <(sale_ratio 7150 --pay 40 --pay 60 --total 100 --print)

log "P2: status wait against a silent manager"
fresh_world "ATV: silent"
zulpos network --kind C >/dev/null
P2_STATUS=$(cpu_ratio --answer n check)
log "P2: cancellation answer wait of 20 s"
fresh_world "CNC: answer-delay 20000"
P2_CANCEL=$(cpu_ratio cancel --network REDEX --doc 1 --amount 100 --no-print)
stop_tefsim

log "P5: peak memory of a printed sale of two payments"
fresh_world
/usr/bin/time -f "%M" -o "$WORK/rss" "$BIN/zulpos" --host-dir "$WORK/host" --drive-root "$WORK/drive" \
  sale --pay 40 --pay 60 --total 100 --print >/dev/null
P5_MB=$(awk '{ printf "%.1f", $1 / 1024 }' "$WORK/rss")
stop_tefsim

log "P5b: peak memory of a sale whose manager writes a 100 MB answer"
# "7.6 MB" of one shape; the limit, when given, is the address space.
huge_answer_rss() {
  local shape=$1 limit=${2:-}
  fresh_world "CRT#1: bulk $shape 100"
  local limited=()
  [[ -n $limit ]] && limited=(prlimit --as="$limit")
  /usr/bin/time -f "%M" -o "$WORK/rss" "${limited[@]}" "$BIN/zulpos" --host-dir "$WORK/host" \
    --drive-root "$WORK/drive" sale --pay 10 >"$WORK/huge.out" 2>&1 || true
  grep -q "1.result=false" "$WORK/huge.out" || { cat "$WORK/huge.out" >&2; log "the huge answer was not refused"; exit 1; }
  stop_tefsim
  tail -n 1 "$WORK/rss" | awk '{ printf "%.1f MB", $1 / 1024 }'
}
P5B=""
P5B_WORST=0
for shape in line lines feeds; do
  for limit in "" 2147483648; do
    rss=$(huge_answer_rss "$shape" "$limit")
    P5B+="${P5B:+, }$shape${limit:+ (2 GiB)} $rss"
    P5B_WORST=$(awk -v a="$P5B_WORST" -v b="${rss% MB}" 'BEGIN { print (b > a) ? b : a }')
  done
done

log "P3: the store with 10 to 10,000 stored answers"
"$BIN/benchmarks" --benchmark_filter='NewIntPosFileName|DeleteIntPosFiles|LeftoverScan' \
  --benchmark_format=csv >"$WORK/store.csv" 2>"$WORK/store.err" || { cat "$WORK/store.err" >&2; log "the benchmarks failed"; exit 1; }
if [[ -n $(failed_rows <"$WORK/store.csv") ]]; then
  failed_rows <"$WORK/store.csv" >&2
  log "a benchmark reports an error: its figure would mean nothing"
  exit 1
fi
# "ms at 1,000; growth 100->1,000 and 1,000->10,000" of one benchmark:
# store_row NAME [the "/" part holding the count, 2 by default] [decimals].
store_row() {
  awk -F, -v name="\"BM_$1/" -v at="${2:-2}" -v decimals="${3:-2}" '
    index($1, name) == 1 { split($1, part, "/"); n = part[at] + 0; t[n] = $3 }
    END { printf "%.*f ms; x%.1f, x%.1f\n", decimals, t[1000], t[1000] / t[100], t[10000] / t[1000] }' \
    "$WORK/store.csv"
}
P3_NEW=$(store_row NewIntPosFileName)
P3_DELETE=$(store_row DeleteIntPosFilesBySequence)
P3_SCAN=$(store_row LeftoverScanListingAndReading)
# The real scan: "BM_LeftoverScan/KIND/N/iterations:1".
P3_REAL_NO_RECEIPT=$(store_row LeftoverScan/kWithoutReceipt 3 0)
P3_REAL_NO_NETWORK=$(store_row LeftoverScan/kWithoutNetwork 3 0)
P3_REAL_APPROVED=$(store_row LeftoverScan/kApproved 3 0)

log "P4: the unit suite (build/, ctest -L unit)"
start=$(now_ms)
ctest --preset default -L unit >"$WORK/ctest.out" 2>&1 || { tail -20 "$WORK/ctest.out" >&2; exit 1; }
P4_UNIT=$(awk -v ms=$(($(now_ms) - start)) 'BEGIN { printf "%.0f s", ms / 1000 }')
UNIT_COUNT=$(grep -Eo 'out of [0-9]+' "$WORK/ctest.out" | grep -Eo '[0-9]+' | tail -1)
P4_CI="not run (--ci)"
if [[ $WITH_CI -eq 1 ]]; then
  log "P4: .ci/run on a fresh clone"
  git clone -q "$ROOT" "$WORK/clone"
  start=$(now_ms)
  (cd "$WORK/clone" && bash .ci/run) >"$WORK/ci.out" 2>&1 || { tail -20 "$WORK/ci.out" >&2; exit 1; }
  P4_CI=$(awk -v ms=$(($(now_ms) - start)) 'BEGIN { printf "%.0f min", ms / 60000 }')
fi

verdict() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v <= limit) ? "met" : "missed" }'; }
# A store row ("0.71 ms; x8.0, x10.8") meets its target when 1,000 answers
# take under 50 ms and ten times the answers cost at most about ten times as
# much: x12 leaves room for the noise of one run; N log N would give x13 from
# 1,000 to 10,000, N squared x100.
store_verdict() {
  echo "$1" | awk '{ ms = $1; gsub(/[x,;]/, " "); split($0, f, " ")
    print (ms < 50 && f[3] <= 12 && f[4] <= 12) ? "met" : "missed" }'
}

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
os=$(. /etc/os-release && echo "$PRETTY_NAME")

# The CI row: this run's, else the page's row from before (a whole CI run
# takes some 40 minutes, so it is timed apart), else none.
ci_row() {
  if [[ $WITH_CI -eq 1 ]]; then
    echo "| P4 whole CI run (.ci/run, fresh clone) | $P4_CI | under about 60 min | $(verdict "${P4_CI%% *}" 60) |"
  elif [[ -f $PAGE ]] && grep -q '^| P4 whole CI run' "$PAGE"; then
    grep -m1 '^| P4 whole CI run' "$PAGE" |
      sed '/not by this run/! s/^| P4 whole CI run ([^|]*)/| P4 whole CI run (.ci\/run, fresh clone; timed before, not by this run)/'
  else
    echo "| P4 whole CI run (.ci/run, fresh clone) | not run (--ci) | under about 60 min | |"
  fi
}

# The real scan: under 1 s at 1,000 leftovers (the approvals' "NCN" needs
# flushed requests, so only its growth is judged), at most x12 for 10x.
scan_verdict() {
  echo "$1" | awk -v limit_ms="$2" '{ ms = $1; gsub(/[x,;]/, " "); split($0, f, " ")
    print (ms < limit_ms && f[3] <= 12 && f[4] <= 12) ? "met" : "missed" }'
}

table() {
  echo "Measured $(date +%Y-%m-%d) on $(nproc) cores of $cpu, $(free -g | awk '/^Mem:/ { print $2 }') GB," \
    "$os, $(uname -r), $(g++ --version | head -1); Release build (build-bench/);" \
    "load average $LOAD_START at the start, $(cut -d' ' -f1 /proc/loadavg) at the end."
  echo
  echo "| Figure | Measured | Target | |"
  echo "|---|---|---|---|"
  echo "| P1 total payment, wall time / 1,950 ms of mandated pauses (median, worst of $RUNS) |" \
    "$P1_MEDIAN, $P1_WORST | median at most 1.01 | $(verdict "$P1_MEDIAN" 1.01) |"
  echo "| P1 printed sale of two payments, wall time / 7,150 ms (median, worst of $RUNS) |" \
    "$P1P_MEDIAN, $P1P_WORST | median at most 1.01 | $(verdict "$P1P_MEDIAN" 1.01) |"
  echo "| P2 CPU / wall, 15 s status wait (silent manager) | $P2_STATUS | at most 0.01 |" \
    "$(verdict "${P2_STATUS%% *}" 0.01) |"
  echo "| P2 CPU / wall, 20 s cancellation answer wait | $P2_CANCEL | at most 0.01 |" \
    "$(verdict "${P2_CANCEL%% *}" 0.01) |"
  echo "| P3 NewIntPosFileName: at 1,000 stored; growth for 10x (100 to 1,000, 1,000 to 10,000) | $P3_NEW |" \
    "under 50 ms; growth linear (x10) | $(store_verdict "$P3_NEW") |"
  echo "| P3 DeleteIntPosFiles by sequence: at 1,000 stored; growth for 10x | $P3_DELETE |" \
    "under 50 ms; growth linear (x10) | $(store_verdict "$P3_DELETE") |"
  echo "| P3 leftover scan, listing and reading: at 1,000 stored; growth for 10x | $P3_SCAN |" \
    "under 50 ms; growth linear (x10) | $(store_verdict "$P3_SCAN") |"
  echo "| P3 real scan, approvals without receipt (settled without the manager): at 1,000; growth for 10x |" \
    "$P3_REAL_NO_RECEIPT | under 1 s; at most x12 | $(scan_verdict "$P3_REAL_NO_RECEIPT" 1000) |"
  echo "| P3 real scan, answers without 010-000 (set aside): at 1,000; growth for 10x |" \
    "$P3_REAL_NO_NETWORK | under 1 s; at most x12 | $(scan_verdict "$P3_REAL_NO_NETWORK" 1000) |"
  echo "| P3 real scan, approvals not confirmed through a scripted manager: at 1,000; growth for 10x |" \
    "$P3_REAL_APPROVED | at most x12 | $(scan_verdict "$P3_REAL_APPROVED" 1e12) |"
  echo "| P4 unit suite, wall time ($UNIT_COUNT tests, ctest -j 2) | $P4_UNIT | | |"
  ci_row
  echo "| P5 peak resident memory, zulpos sale --pay 40 --pay 60 --total 100 --print | $P5_MB MB |" \
    "at most 10 MB | $(verdict "$P5_MB" 10) |"
  echo "| P5b peak resident memory, a sale whose manager writes a 100 MB answer | $P5B |" \
    "under 16 MB, also under 2 GiB | $(verdict "$P5B_WORST" 16) |"
}

table >"$WORK/table.md"
cat "$WORK/table.md"

# Into the page, between its marks; a page without them gets them at its end.
FROM='<!-- bench.sh: from here -->'
TO='<!-- bench.sh: to here -->'
if [[ ! -f $PAGE ]]; then
  printf '# How fast and how lean\n\n%s\n%s\n' "$FROM" "$TO" >"$PAGE"
elif ! grep -qxF "$FROM" "$PAGE" || ! grep -qxF "$TO" "$PAGE"; then
  printf '\n%s\n%s\n' "$FROM" "$TO" >>"$PAGE"
fi
awk -v from="$FROM" -v to="$TO" -v table="$WORK/table.md" '
  $0 == from { print; print ""; while ((getline line < table) > 0) print line; print ""; skip = 1; next }
  $0 == to { skip = 0 }
  !skip { print }' "$PAGE" >"$WORK/page.md"
cp "$WORK/page.md" "$PAGE"
log "the table is in $PAGE"
