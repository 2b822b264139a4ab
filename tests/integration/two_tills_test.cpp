// Two tills on one manager, a configuration error the package must catch:
// two zulpos processes started together on one drive root (each with its own
// host directory), or on one host directory. One pays; the other waits about
// a second, is told who holds the manager, and touches nothing; tefsim's log
// shows nothing settled twice or lost. A holder killed with SIGKILL
// (TerminateProcess on Windows) never blocks the next sale.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "integration/tefsim_world.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "support/string_list.h"

namespace zul00500 {
namespace {

const std::vector<std::string> kOnePaymentSale = {"sale", "--pay", "100", "--print"};
constexpr std::uint32_t kTillsLimitMs = 60'000;

struct Till {
  std::string host;
  std::string output;
};

class TwoTills : public testing::TefsimWorld {
protected:
  // A second host directory on the same drive, with the package's folders.
  Till OtherHost() {
    const std::string host = world_.root() + testing::TempWorld::kSeparator + "host2";
    platform::native_fs().create_directories(host + "\\Dados\\TefDisc\\Pendente");
    platform::native_fs().create_directories(host + "\\Dados\\Cadastros");
    return {host, world_.root() + "/till2.out"};
  }
  Till OwnHost(const std::string& name) { return {world_.host_dir(), world_.root() + "/" + name + ".out"}; }

  tool_platform::ChildProcess Start(const Till& till) {
    std::vector<std::string> arguments = {"--host-dir", till.host, "--drive-root", world_.root()};
    arguments.insert(arguments.end(), kOnePaymentSale.begin(), kOnePaymentSale.end());
    return tool_platform::spawn(Program("zulpos"), arguments, {till.output});
  }

  // Runs both sales at once; the outputs of the one that paid and of the
  // one that was told, in that order.
  std::pair<std::vector<std::string>, std::vector<std::string>> Together(const Till& a, const Till& b) {
    auto first = Start(a);
    auto second = Start(b);
    std::optional<int> paid_status = first.wait_for(kTillsLimitMs), told_status = second.wait_for(kTillsLimitMs);
    std::vector<std::string> paid = Lines(a.output), told = Lines(b.output);
    if (!Has(paid, "1.result=true")) {
      std::swap(paid, told);
      std::swap(paid_status, told_status);
    }
    EXPECT_EQ(paid_status, 0);
    EXPECT_EQ(told_status, 1);
    return {paid, told};
  }

  static bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  // Approvals tefsim wrote, and the confirmations and non-confirmations it took.
  struct Tally {
    int approved = 0, confirmed = 0, undone = 0;
  };
  Tally Count(const std::vector<std::string>& log) {
    Tally tally;
    for (const std::string& line : log) {
      if (line.find("wrote resp\\intpos.001 (answer): ") != std::string::npos &&
          line.find("009-000 = 0 ") != std::string::npos)
        ++tally.approved;
      if (line.find(" not confirmed: network=") != std::string::npos) ++tally.undone;
      else if (line.find(" confirmed: network=") != std::string::npos) ++tally.confirmed;
    }
    return tally;
  }

  void ExpectOnePaidAndOneTold(const Till& a, const Till& b, const std::string& busy) {
    const auto [paid, told] = Together(a, b);
    EXPECT_TRUE(Has(paid, "print.result=true"));
    EXPECT_TRUE(Has(told, "1.result=false"));
    EXPECT_TRUE(AnyLineHas(told, busy)) << "the till kept out was not told";
    EXPECT_TRUE(AnyLineHas(told, "1.note=DoTEF: use ", "holds it")) << "no note for the host";

    // The one kept out pays once the other is done; every approval settled once.
    const Till& again = Has(Lines(a.output), "1.result=true") ? b : a;
    auto retry = Start(again);
    EXPECT_EQ(retry.wait_for(kTillsLimitMs), 0);
    EXPECT_TRUE(Has(Lines(again.output), "print.result=true"));
    const Tally tally = Count(StopTefsim());
    EXPECT_EQ(tally.approved, 2);
    EXPECT_EQ(tally.confirmed, 2);
    EXPECT_EQ(tally.undone, 0);
  }
};

// The answer comes 3 s after the request: the till that got in first holds
// the manager for longer than any start-up skew.
const std::vector<std::string> kSlowAnswer = {"--rule", "CRT: answer-delay 3000"};

TEST_F(TwoTills, OnOneRootOnePaysAndTheOtherIsToldWhoHasTheManager) {
  StartTefsim("dial", kSlowAnswer);
  ExpectOnePaidAndOneTold(OwnHost("till1"), OtherHost(), "em uso por outro caixa (diret");
}

TEST_F(TwoTills, OnOneHostDirectoryOnePaysAndTheOtherIsToldTheProcess) {
  StartTefsim("dial", kSlowAnswer);
  ExpectOnePaidAndOneTold(OwnHost("till1"), OwnHost("till2"), "em uso por outro programa (processo ");
}

TEST_F(TwoTills, AHolderKilledMidSaleNeverBlocksTheNextOne) {
  // The first sale's answer never comes: it waits, holding every lock.
  StartTefsim("dial", {"--rule", "CRT#1: answer-silent"});
  const Till first = OwnHost("killed"), next = OtherHost();
  auto killed = Start(first);
  const std::string lock = "c:\\tef_dial\\Zul00500.lck";
  for (std::uint32_t waited = 0; !AnyLineHas(Lines(tefsim_log_), "took req\\intpos.001: 000-000 = CRT");
       waited += 50) {
    ASSERT_LT(waited, kTillsLimitMs) << "the first sale never sent its request";
    platform::pause(50);
  }
  killed.kill();
  ASSERT_TRUE(killed.wait_for(10'000).has_value());

  auto sale = Start(next);
  EXPECT_EQ(sale.wait_for(kTillsLimitMs), 0);
  const std::vector<std::string> output = Lines(next.output);
  EXPECT_TRUE(Has(output, "print.result=true"));
  EXPECT_FALSE(AnyLineHas(output, "em uso"));
  // The lock file stays, and now names the till that paid.
  StringList says;
  says.SetText(platform::fs().read_file(lock));
  const std::string host = says.Field("host");
  EXPECT_EQ(host.substr(host.size() - 5), "host2") << host;
}

} // namespace
} // namespace zul00500
