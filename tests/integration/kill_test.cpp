// A point of sale killed in the middle of a payment: `zulpos sale --print`
// of two payments against tefsim, killed (SIGKILL; TerminateProcess on
// Windows) at 20 moments spread over the sale, each time followed by the
// next start's `zulpos scan`. tefsim's log of what it approved and what it
// was told must show every approved transaction settled exactly once (I1),
// and none settled twice or both ways (I2).
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "integration/tefsim_world.h"
#include "platform/clock.h"
#include "support/state.h"
#include "support/string_list.h"

namespace zul00500 {
namespace {

constexpr int kKills = 20;
// Long enough for tefsim to finish what it took before the kill.
constexpr std::uint32_t kSettleMs = 300;

// The value of `id` in a file or a log line where fields are " | "-joined.
std::string FieldOf(const std::string& text, const std::string& id) {
  const std::size_t at = text.find(id + " = ");
  if (at == std::string::npos) return {};
  const std::size_t start = at + id.size() + 3;
  return text.substr(start, text.find_first_of(" |\r\n", start) - start);
}

const std::vector<std::string> kSplitSale = {"sale", "--pay", "40", "--pay", "60", "--total", "100", "--print"};

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

using KillAgainstTefsim = testing::TefsimWorld;

TEST_F(KillAgainstTefsim, EveryApprovalIsSettledOnceWhereverTheSaleWasKilled) {
  StartTefsim("dial");
  const double start = Seconds();
  const auto whole = Zulpos(kSplitSale);
  ASSERT_EQ(whole.status, 0);
  const double length_ms = (Seconds() - start) * 1000;

  for (int kill = 1; kill <= kKills; ++kill) {
    const auto at = static_cast<std::uint32_t>(length_ms * kill / (kKills + 1));
    tool_platform::ChildProcess sale = StartZulpos(kSplitSale, world_.root() + "/killed.out");
    sale.wait_for(at);
    sale.kill();
    ASSERT_TRUE(sale.wait_for(10'000).has_value()) << "zulpos outlived its kill " << kill;
    platform::pause(kSettleMs);
    const auto scan = Zulpos({"scan"});
    EXPECT_EQ(scan.status, 0) << "kill " << kill << " at " << at << " ms";
    EXPECT_TRUE(scan.Said("result=true")) << "kill " << kill;
  }

  // What tefsim approved (a sale or cancellation answer with receipt) and
  // what it was told about each.
  std::set<std::string> approved;
  std::map<std::string, std::pair<int, int>> told;
  for (const std::string& line : StopTefsim()) {
    if (line.find("wrote resp\\intpos.001 (answer): ") != std::string::npos &&
        FieldOf(line, "009-000") == "0" && FieldOf(line, "028-000") != "0")
      approved.insert(FieldOf(line, "012-000"));
    const std::size_t doc = line.find(" doc=");
    if (doc == std::string::npos || line.find("confirmed: network=") == std::string::npos) continue;
    const std::string document = line.substr(doc + 5, line.find(' ', doc + 5) - doc - 5);
    auto& [confirmed, undone] = told[document];
    (line.find("not confirmed: ") != std::string::npos ? undone : confirmed) += 1;
  }
  ASSERT_GE(approved.size(), 3u);
  for (const std::string& document : approved) {
    const auto [confirmed, undone] = told[document];
    EXPECT_EQ(confirmed + undone, 1) << "I1: " << document << " settled " << confirmed + undone << " times";
  }
  for (const auto& [document, counts] : told)
    EXPECT_TRUE(counts.first + counts.second <= 1)
        << "I2: " << document << " got " << counts.first << " CNF and " << counts.second << " NCN";
  RecordProperty("approvals", static_cast<int>(approved.size()));
}

} // namespace
} // namespace zul00500
