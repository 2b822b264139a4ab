// How many stored answers or leftovers a family of benchmarks runs with.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace bench {

// Adds one row per count: as given, or with ZUL_BENCH_QUICK set (CI, through
// scripts/bench.sh --quick) a hundredth of each, at least 1 and each once,
// so that every kind of row runs in seconds and a failed check or a crash
// shows in every build.
inline void AddCounts(benchmark::internal::Benchmark* family, std::initializer_list<int> counts) {
  const bool quick = std::getenv("ZUL_BENCH_QUICK") != nullptr;
  int last = 0;
  for (const int count : counts) {
    const int n = quick ? std::max(1, count / 100) : count;
    if (n != last) family->Arg(n);
    last = n;
  }
}

} // namespace bench
