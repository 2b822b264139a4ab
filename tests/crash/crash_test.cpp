// The crash harness: for each scenario, a power cut at every file operation
// in turn (and, for a write, a cut that tears it), then the next start's
// leftover scan and a new sale, judged by what the managers saw:
//
//   I1  every transaction the manager approved is settled: exactly one "CNF"
//       or "NCN" reaches it, and a partial payment confirmed at once keeps
//       its pending copy until it is printed or cancelled, also through the
//       next sale;
//   I2  no transaction gets both "CNF" and "NCN", nor either twice;
//   I3  no answer that was on the disk at the cut is lost unsettled;
//   I4  the new sale after the restart (two payments, the first partial)
//       completes; refused for the pending copies a cut sale left, the host
//       undoes them first (CancelaPendencia), as its guide says.
//
// The table goes to standard output; every cut point must keep all four.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "crash/crash_world.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"

namespace zul00500::testing {
namespace {

struct Scenario {
  const char* name;
  // Done before the power can go.
  std::function<void(CrashWorld&)> setup;
  // What a cut interrupts.
  std::function<void(CrashWorld&)> run;
};

struct Row {
  std::string name;
  long long cut_points = 0;
  long long torn_points = 0;
  long long runs = 0;
  long long held[4] = {0, 0, 0, 0};
  long long all = 0;
  std::vector<std::string> broken;
};

std::vector<Row>& table() {
  static std::vector<Row> rows;
  return rows;
}

Row RunScenario(const Scenario& scenario) {
  Row row;
  row.name = scenario.name;
  std::vector<CrashFs::Operation> operations;
  {
    CrashWorld world;
    scenario.setup(world);
    world.RunCut(0, false, [&] { scenario.run(world); });
    operations = world.Disk().Operations();
    world.Restart();
    const Verdict verdict = world.Judge();
    EXPECT_TRUE(verdict.all()) << scenario.name << " without a cut: " << verdict.why;
  }
  row.cut_points = static_cast<long long>(operations.size());
  if (std::getenv("ZUL_CRASH_OPS"))
    for (std::size_t i = 0; i < operations.size(); ++i)
      std::cout << i + 1 << " " << operations[i].name << " " << operations[i].path << "\n";
  for (long long at = 1; at <= row.cut_points; ++at) {
    const CrashFs::Operation& operation = operations[static_cast<std::size_t>(at - 1)];
    for (const bool tear : {false, true}) {
      if (tear && !operation.writes_bytes) continue;
      row.torn_points += tear;
      ++row.runs;
      CrashWorld world;
      scenario.setup(world);
      world.RunCut(at, tear, [&] { scenario.run(world); });
      world.Restart();
      const Verdict verdict = world.Judge();
      const bool held[4] = {verdict.i1, verdict.i2, verdict.i3, verdict.i4};
      for (int i = 0; i < 4; ++i) row.held[i] += held[i];
      row.all += verdict.all();
      if (!verdict.all())
        row.broken.push_back("cut " + std::to_string(at) + (tear ? " (torn)" : "") + " at " + operation.name +
                             " " + operation.path + ": " + verdict.why);
    }
  }
  return row;
}

void Check(const Scenario& scenario) {
  Row row = RunScenario(scenario);
  for (const std::string& line : row.broken) ADD_FAILURE() << scenario.name << ", " << line;
  table().push_back(std::move(row));
}

// --- the scenarios -----------------------------------------------------------

void Nothing(CrashWorld&) {}

TEST(CrashHarness, TotalPayment) {
  Check({"total payment", Nothing, [](CrashWorld& w) {
           w.Pay(100, 100);
           w.Print(w.Receipts(), 1, 1);
         }});
}

// The stop falls between the two payments of a sale: the next sale, of two
// payments too, would write its first payment's pending copy over the
// confirmed one. It is refused; the host undoes the pending payment as its
// guide says, and the sale goes through.
TEST(CrashHarness, RestartBetweenTwoPaymentsThenANewSale) {
  CrashWorld world;
  world.RunCut(0, false, [&] { world.Pay(40, 100); });
  world.Restart();
  EXPECT_TRUE(world.Refused());
  const Verdict verdict = world.Judge();
  EXPECT_TRUE(verdict.all()) << verdict.why;
}

TEST(CrashHarness, SaleOfTwoPayments) {
  Check({"sale of two payments", Nothing, [](CrashWorld& w) {
           w.Pay(40, 100);
           w.Pay(60, 60);
           w.Print(w.Receipts(), 1, 2);
         }});
}

// Two approved answers waiting for one printing run, as a host that saved
// them in one receipts list has them: the first as a numbered backup, the
// second also in the manager's response directory.
TEST(CrashHarness, PrintingRunOfTwoReceipts) {
  StringList receipts;
  Check({"printing run of two receipts", [&receipts](CrashWorld& w) { receipts = w.TwoWaitingReceipts(); },
         [&receipts](CrashWorld& w) { w.Print(receipts, 2, 1); }});
}

TEST(CrashHarness, Cancellation) {
  std::string document, sequence;
  Check({"cancellation",
         [&](CrashWorld& w) {
           w.Pay(50, 50);
           w.Print(w.Receipts(), 1, 1);
           document = w.Receipts().Field("012-000 ");
           sequence = w.Receipts().Field("001-000 ");
         },
         [&](CrashWorld& w) { w.CancelDocument(document, sequence); }});
}

TEST(CrashHarness, PendingCancellationOfTwoCopies) {
  Check({"pending cancellation of two copies",
         [](CrashWorld& w) {
           w.Pay(30, 100);
           w.Pay(30, 70);
         },
         [](CrashWorld& w) { w.CancelPending(2); }});
}

// The manager takes each request at once but acknowledges it only some
// cycles later, so that a cut can fall while a cancellation's confirmation
// is taken and not yet acknowledged; after the restart the host runs the
// pending cancellation again. No payment may be cancelled twice.
TEST(CrashHarness, PendingCancellationWithSlowAcknowledgements) {
  Check({"pending cancellation, slow acknowledgements, retried",
         [](CrashWorld& w) {
           w.Pay(30, 100);
           w.Pay(30, 70);
           w.AcknowledgeLate(3);
           w.AfterRestart([](CrashWorld& again) { again.CancelPending(2); });
         },
         [](CrashWorld& w) { w.CancelPending(2); }});
}

// A manager that names another root's network: c:\tef_dial\'s manager
// approves for "TECBAN", whose settlements go to c:\tef_disc\ while the
// answer lies in c:\tef_dial\.
void NamesAnotherRoot(CrashWorld& w) { w.NameNetwork("TECBAN"); }

TEST(CrashHarness, LeftoverOfAnotherRootsNetwork) {
  Check({"leftover of another root's network",
         [](CrashWorld& w) {
           NamesAnotherRoot(w);
           w.LeaveTotalPayment();
         },
         [](CrashWorld&) { CheckIntPosFiles("ctx", true); }});
}

TEST(CrashHarness, PartialPaymentOfAnotherRootsNetwork) {
  Check(
      {"partial payment of another root's network", NamesAnotherRoot, [](CrashWorld& w) { w.Pay(40, 100); }});
}

TEST(CrashHarness, TotalPaymentOfAnotherRootsNetwork) {
  Check({"total payment of another root's network", NamesAnotherRoot, [](CrashWorld& w) {
           w.Pay(100, 100);
           w.Print(w.Receipts(), 1, 1);
         }});
}

TEST(CrashHarness, NetworkChoice) {
  Check({"network choice", Nothing, [](CrashWorld& w) { w.ChooseNetwork(); }});
}

// The table, once every scenario ran.
class TablePrinter : public ::testing::Environment {
public:
  void TearDown() override {
    std::ostringstream out;
    out << "| Scenario | Cut points | Torn writes | Runs | I1 | I2 | I3 | I4 | All four |\n"
        << "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const Row& row : table())
      out << "| " << row.name << " | " << row.cut_points << " | " << row.torn_points << " | " << row.runs
          << " | " << row.held[0] << " | " << row.held[1] << " | " << row.held[2] << " | " << row.held[3]
          << " | " << row.all << " |\n";
    std::cout << "\n" << out.str() << std::flush;
  }
};

const auto* const printer = ::testing::AddGlobalTestEnvironment(new TablePrinter);

} // namespace
} // namespace zul00500::testing
