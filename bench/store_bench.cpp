// How the store's costs grow with the answers kept in the backup directory:
// the next backup name, the removal of one transaction's answers by
// sequence, and the leftover scan's listing and reading (without its
// conversations with the manager), each with 10 to 10,000 stored answers.
#include <benchmark/benchmark.h>

#include "counts.h"
#include "receipt_block.h"

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/process.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/holder.h"
#include "tef/leftover_scan.h"
#include "tef/settlement/store.h"
#include "tool_platform/temp_directory.h"

namespace {

using namespace zul00500;

// A manager's approved answer with receipt, 40-odd lines, of sequence `n`.
std::string Answer(int n) {
  char head[256];
  std::snprintf(head, sizeof head,
                "000-000 = CRT\r\n001-000 = %010d\r\n002-000 = 000000\r\n003-000 = 4000\r\n004-000 = 0\r\n"
                "009-000 = 0\r\n010-000 = REDEX\r\n012-000 = %06d\r\n013-000 = 123456\r\n",
                n, n % 1'000'000);
  std::string text = head;
  text += "022-000 = 01012024\r\n023-000 = 120000\r\n027-000 = 0000000000000000000000\r\n";
  text += bench::ReceiptBlock();
  return text + "030-000 = TRANSACAO APROVADA\r\n999-999 = 0\r\n";
}

// The package loaded once for the whole run, as a host loads it.
struct Package {
  Package() { Initialize(); }
  ~Package() { Finalize(); }
};

// A host folder of its own whose backup directory holds `answers` stored
// answers (intpos.  1, intpos.  2...), as the package names them, beside the
// manager's folder of their network (REDEX: c:\tef_dial\). Without it every
// answer is one that no manager can settle, and the first walk sets them
// all aside. Kept for the whole run: filling 10,000 files is not what is
// measured.
class Store {
public:
  explicit Store(int answers) : root_(tool_platform::make_temp_directory("zul-bench-store-")) {
    Use();
    platform::fs().create_directories(dsDirBkpTef);
    platform::fs().create_directories(RootOfNetwork("REDEX"));
    for (int n = 1; n <= answers; ++n) {
      char name[32];
      std::snprintf(name, sizeof name, "intpos.%3d", n); // NewIntPosFileName's names
      platform::fs().write_file(dsDirBkpTef + name, Answer(n));
    }
  }
  ~Store() { tool_platform::remove_directory_tree(root_); }

  // Makes this store's host folder the package's.
  void Use() const {
    platform::set_drive_root(root_);
    platform::set_host_executable_path(root_ + "/host/host.exe");
    HostDirectoryChanged();
  }

  static const Store& For(int answers) {
    static const Package package;
    static std::map<int, std::unique_ptr<Store>> stores;
    auto& store = stores[answers];
    if (!store) store = std::make_unique<Store>(answers);
    store->Use();
    return *store;
  }

private:
  std::string root_;
};

void BM_NewIntPosFileName(benchmark::State& state) {
  Store::For(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(NewIntPosFileName(dsDirBkpTef));
  state.SetComplexityN(state.range(0));
}

// A sequence no stored answer carries: every answer is read and none goes,
// so the store stays as it is.
void BM_DeleteIntPosFilesBySequence(benchmark::State& state) {
  Store::For(static_cast<int>(state.range(0)));
  for (auto _ : state) DeleteIntPosFiles(dsDirBkpTef, "9999999999");
  state.SetComplexityN(state.range(0));
}

// The leftover scan's walk over the backup directory: every stored answer
// listed and read; each is handed on and left in place, as if its
// conversation with the manager had failed to settle it.
void BM_LeftoverScanListingAndReading(benchmark::State& state) {
  Store::For(static_cast<int>(state.range(0)));
  StringList list;
  for (auto _ : state) {
    int handed = 0;
    WalkLeftovers(dsDirBkpTef, "backup", true, list, [&](const std::string&) { return ++handed > 0; });
    if (handed != state.range(0)) state.SkipWithError("an answer was not read");
  }
  state.SetComplexityN(state.range(0));
}

void StoreCounts(benchmark::internal::Benchmark* family) { bench::AddCounts(family, {10, 100, 1000, 10000}); }

#define STORE_SIZES(benchmark_function)                                                                      \
  BENCHMARK(benchmark_function)->Apply(StoreCounts)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)

STORE_SIZES(BM_NewIntPosFileName);
STORE_SIZES(BM_DeleteIntPosFilesBySequence);
STORE_SIZES(BM_LeftoverScanListingAndReading);

} // namespace
