// What durable writes cost: one request written in place against through a
// flushed temporary, and a whole printed sale of two payments (virtual time,
// a scripted manager, the real disk) with and without the flushes. The
// counters give the flushes per sale.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "printing/printing.h"
#include "support/fake_manager.h"
#include "support/faulty_fs.h"
#include "support/file_write.h"
#include "support/host_services.h"
#include "support/printer_stubs.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/temp_world.h"
#include "support/virtual_clock.h"
#include "tef/network_choice.h"
#include "tef/sale.h"

namespace zul00500 {
namespace {

using testing::FaultyFs;
using testing::FsOp;

const std::string kRequest = "000-000 = CRT\r\n001-000 = 0347520030\r\n003-000 = 1250\r\n004-000 = 0\r\n"
                             "500-000 = 1\r\n701-000 = Quintar v5, 55, 1, 0\r\n706-000 = 2\r\n"
                             "716-000 = VELTRAN SOFTWARE LTDA.\r\n999-999 = 0\r\n";

void BM_RequestWrittenInPlace(benchmark::State& state) {
  testing::TempWorld world;
  const std::string path = world.root() + "\\intpos.001";
  for (auto _ : state) platform::fs().write_file(path, kRequest);
}
BENCHMARK(BM_RequestWrittenInPlace)->Unit(benchmark::kMicrosecond);

void BM_RequestWrittenDurably(benchmark::State& state) {
  testing::TempWorld world;
  const std::string path = world.root() + "\\intpos.001";
  for (auto _ : state) WriteFileInOneStep(path, kRequest);
}
BENCHMARK(BM_RequestWrittenDurably)->Unit(benchmark::kMicrosecond);

// The file system with the flushes left out, to see what they cost.
class NoFlushFs : public FaultyFs {
public:
  void flush_file(const std::string&) override {}
  bool flush_directory(const std::string&) override { return true; }
};

// A host with the package, a scripted manager in the other networks' root
// answering every sale, and printers that take everything.
class Till {
public:
  Till() : scoped_clock_(clock_), dial_(kRootTefDial, &platform::native_fs()) {
    SetHostServices(std::make_shared<ScriptedHostServices>());
    testing::AnswerEveryPrinterCall();
    Initialize();
    platform::native_fs().create_directories(dsDirTef);
    platform::native_fs().create_directories(dsDirPenTef);
    clock_.every_sleep([this] { dial_.Poll(); });
  }
  ~Till() {
    Finalize();
    testing::ClearPrinterProcedures();
    SetHostServices(nullptr);
  }

  // 40.00 and 60.00 by card, then the receipt printed on the standard
  // printer.
  bool SaleOfTwoPayments() {
    dial_.QueueAnswers({testing::Approves(), testing::Approves()});
    std::int32_t approved = 0, transaction = 0;
    double extra = 0;
    std::string document, f748, f013, f027;
    bool ok = DoTEF("", 40, 100, "C", receipts_, approved, transaction, extra, document, f748, f013, f027);
    ok = DoTEF("", 60, 60, "C", receipts_, approved, transaction, extra, document, f748, f013, f027) && ok;
    return ImprCupons(*receipts_, 1, 2, 0, "", "", "", "", "", "N", "N", "", "", 100) && ok;
  }

private:
  testing::TempWorld world_;
  testing::VirtualClock clock_;
  platform::ScopedClock scoped_clock_;
  testing::FakeManager dial_;
  std::shared_ptr<StringList> receipts_;
};

template <class Files> void SaleOfTwoPayments(benchmark::State& state) {
  Till till;
  Files files;
  platform::ScopedFileSystem scoped(files);
  for (auto _ : state)
    if (!till.SaleOfTwoPayments()) state.SkipWithError("the sale failed");
  const double sales = static_cast<double>(state.iterations());
  state.counters["file_flushes"] = files.count(FsOp::FlushFile) / sales;
  state.counters["directory_flushes"] = files.count(FsOp::FlushDirectory) / sales;
  state.counters["writes"] = files.count(FsOp::WriteFile) / sales;
  files.clear_calls();
}

void BM_SaleOfTwoPayments_Flushed(benchmark::State& state) { SaleOfTwoPayments<FaultyFs>(state); }
void BM_SaleOfTwoPayments_NotFlushed(benchmark::State& state) { SaleOfTwoPayments<NoFlushFs>(state); }
BENCHMARK(BM_SaleOfTwoPayments_Flushed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaleOfTwoPayments_NotFlushed)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zul00500
