// The leftover scan run by zulpos against a running tefsim, in real time.
#include <gtest/gtest.h>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"
#include "support/string_list.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

StringList Answer(const std::string& network, const std::string& document) {
  return {"000-000 = CRT",        "001-000 = 0000000" + document, "003-000 = 1000", "009-000 = 0",
          "010-000 = " + network, "012-000 = " + document,        "028-000 = 1"};
}

class ScanAgainstTefsim : public testing::TefsimWorld {};

TEST_F(ScanAgainstTefsim, NotConfirmsAndRemovesEveryLeftoverAnswer) {
  StartTefsim("dial,disc,hiper");
  Answer("REDEY", "101").SaveToFile(std::string(kRootTefDial) + "resp\\intpos.001");
  Answer("TECBAN", "202").SaveToFile(std::string(kRootTefDisc) + "resp\\intpos.001");
  Answer("HCard", "303").SaveToFile(backup_ + "intpos.  1");

  const auto run = Zulpos({"--context", "it", "scan"});

  ASSERT_TRUE(run.status.has_value()) << "zulpos scan did not end";
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("result=true"));

  // Each answer was not confirmed by the manager of its own network.
  const std::vector<std::string> log = StopTefsim();
  EXPECT_TRUE(AnyLineHas(log, "c:\\tef_dial\\ NCN", "not confirmed: network=REDEY doc=101"));
  EXPECT_TRUE(AnyLineHas(log, "c:\\tef_disc\\ NCN", "not confirmed: network=TECBAN doc=202"));
  EXPECT_TRUE(AnyLineHas(log, "c:\\HiperTEF\\ NCN", "not confirmed: network=HCard doc=303"));
  EXPECT_FALSE(AnyLineHas(log, " CNF", "confirmed"));

  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef})
    EXPECT_TRUE(platform::fs().list(std::string(root) + "resp\\intpos.*").empty()) << root;
  EXPECT_TRUE(platform::fs().list(backup_ + "intpos.*").empty());

  // One cancellation notice per answer, with the host's context.
  const std::vector<std::string> dialogs = Lines(journal_);
  EXPECT_EQ(dialogs.size(), 3u);
  for (const std::string& dialog : dialogs) EXPECT_NE(dialog.find("\tit\t"), std::string::npos) << dialog;
}

} // namespace
} // namespace zul00500
