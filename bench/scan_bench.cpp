// The real leftover scan (CheckIntPosFiles) after a long outage: 100, 1,000
// and 10,000 leftovers in the backup directory, every one settled, in
// virtual time so that the manager's pauses are taken out. Three kinds:
//
//   WithoutReceipt  approvals that printed nothing ("CRT", 028-000 = 0):
//                   settled without the manager
//   WithoutNetwork  answers without 010-000: set aside in Descartados
//   Approved        approvals with receipt: each gets its "NCN" from a
//                   scripted manager, with its activity check and status
//
// The disk is real: every request, note and set-aside copy is written and
// flushed as in a point of sale. Each case runs once; its time and the
// growth for ten times the leftovers are the figures.
#include <benchmark/benchmark.h>

#include "counts.h"
#include "receipt_block.h"

#include <cstdio>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "platform/process.h"
#include "platform/regional.h"
#include "support/fake_manager.h"
#include "support/host_services.h"
#include "support/scripted_host.h"
#include "support/state.h"
#include "support/virtual_clock.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tool_platform/temp_directory.h"

namespace {

using namespace zul00500;

enum Kind { kWithoutReceipt, kWithoutNetwork, kApproved };

// A leftover of sequence `n`, as an interrupted sale left it.
std::string Leftover(Kind kind, int n) {
  char head[160];
  std::snprintf(head, sizeof head, "000-000 = CRT\r\n001-000 = %010d\r\n003-000 = 4000\r\n009-000 = 0\r\n",
                n);
  std::string text = head;
  if (kind != kWithoutNetwork) text += "010-000 = REDEX\r\n";
  char document[40];
  std::snprintf(document, sizeof document, "012-000 = %06d\r\n", n % 1'000'000);
  text += document;
  if (kind == kWithoutReceipt) return text + "028-000 = 0\r\n999-999 = 0\r\n";
  text += "027-000 = 0000000000000000000000\r\n" + bench::ReceiptBlock();
  return text + "030-000 = TRANSACAO APROVADA\r\n999-999 = 0\r\n";
}

// A point of sale of its own: a temporary drive and host folder, the
// package loaded, virtual time, the manager of c:\tef_dial\ answering at
// every pause, and dialogs answered by nobody.
class Till {
public:
  Till()
      : root_(tool_platform::make_temp_directory("zul-bench-scan-")), scoped_clock_(clock_),
        host_(std::make_shared<ScriptedHostServices>()) {
    platform::set_drive_root(root_);
    platform::set_host_executable_path(root_ + "/host/host.exe");
    platform::set_regional(platform::RegionalSettings{});
    platform::set_message_hook([](bool) {});
    SetHostServices(host_);
    Initialize();
    platform::fs().create_directories(dsDirTef);
    platform::fs().create_directories(dsDirPenTef);
    manager_ = std::make_unique<testing::FakeManager>(kRootTefDial);
    clock_.every_sleep([this] { manager_->Poll(); });
  }
  ~Till() {
    Finalize();
    SetHostServices(nullptr);
    platform::set_message_hook({});
    platform::reset_regional();
    tool_platform::remove_directory_tree(root_);
  }

  void Leave(Kind kind, int count) {
    for (int n = 1; n <= count; ++n) {
      char name[32];
      std::snprintf(name, sizeof name, "intpos.%3d", n);
      platform::fs().write_file(dsDirBkpTef + name, Leftover(kind, n));
    }
  }
  // What is left in the backup directory (notes and working copy included).
  std::size_t Left() const { return platform::fs().list(dsDirBkpTef + "intpos.*").size(); }
  std::size_t SetAside() const { return platform::fs().list(dsDirBkpTef + "Descartados\\*").size(); }
  long Settlements() const {
    long count = 0;
    for (const std::string& operation : manager_->Operations()) count += operation == "NCN";
    return count;
  }

private:
  std::string root_;
  testing::VirtualClock clock_;
  platform::ScopedClock scoped_clock_;
  std::shared_ptr<ScriptedHostServices> host_;
  std::unique_ptr<testing::FakeManager> manager_;
};

void BM_LeftoverScan(benchmark::State& state, Kind kind) {
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Till till;
    till.Leave(kind, count);
    state.ResumeTiming();
    const bool settled = CheckIntPosFiles("ctx", true);
    state.PauseTiming();
    if (!settled || till.Left() != 0) state.SkipWithError("a leftover was not settled");
    if (kind == kWithoutNetwork && till.SetAside() != static_cast<std::size_t>(count))
      state.SkipWithError("a leftover was not set aside");
    if (kind == kApproved && till.Settlements() != count) state.SkipWithError("a leftover got no NCN");
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}

void ScanCounts(benchmark::internal::Benchmark* family) { bench::AddCounts(family, {100, 1000, 10000}); }

#define LEFTOVERS(kind)                                                                                      \
  BENCHMARK_CAPTURE(BM_LeftoverScan, kind, kind)                                                             \
      ->Apply(ScanCounts)                                                                                    \
      ->Iterations(1)                                                                                        \
      ->Unit(benchmark::kMillisecond)                                                                        \
      ->Complexity(benchmark::oN)

LEFTOVERS(kWithoutReceipt);
LEFTOVERS(kWithoutNetwork);
LEFTOVERS(kApproved);

} // namespace
