// Answers that do not lie where their settlement goes: an answer whose
// network is another root's, a network whose root is missing, a late answer
// of another sequence. None is settled twice, none is lost unsettled, and
// none stops the next sale.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"
#include "printing/printing.h"
#include "support/manager_folders.h"
#include "support/printer_stubs.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::SaleWorld;

using testing::kDialResp;

class OtherRootTest : public SaleWorld {
protected:
  OtherRootTest() { testing::AnswerEveryPrinterCall(); }
  ~OtherRootTest() override { testing::ClearPrinterProcedures(); }

  static StringList Leftover(const std::string& document, const std::string& network) {
    return {"000-000 = CRT",        "001-000 = 00000000" + document, "003-000 = 1000", "009-000 = 0",
            "010-000 = " + network, "012-000 = " + document,         "028-000 = 1",    "029-001 = \"X\"",
            testing::kClosingLine};
  }
  static void RemoveRoot(const std::string& root) {
    std::filesystem::remove_all(testing::TempWorld::native(root.substr(0, root.size() - 1)));
  }
  bool Print() { return ImprCupons(*receipts_, 1, 1, 0, "", "", "ctx", "", "", "N", "N", "", "", 10); }
  std::vector<std::string> Quarantined() { return Names(dsDirBkpTef + "Descartados\\*"); }
};

// --- an answer whose network is another root's --------------------------------------

// The process is killed: nothing of the package runs any more.
struct Killed {};

TEST_F(OtherRootTest, AStopWhileTheOperatorReadsTheNoticeLeavesNoCopyForASecondSettlement) {
  Put(kDialResp + "intpos.001", Leftover("5", "TECBAN"));
  Put(dsDirBkpTef + "intpos.  1", Leftover("5", "TECBAN"));
  host_->SetObserver([](const MensagemCall& call) {
    if (call.text.rfind("Cancelada", 0) == 0) throw Killed{};
  });
  EXPECT_THROW(CheckIntPosFiles("ctx", true), Killed);
  host_->SetObserver(nullptr);

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(kRootTefDisc), (std::vector<std::string>{"NCN 5"}));
  EXPECT_TRUE(Settlements(kRootTefDial).empty());
}

TEST_F(OtherRootTest, APrintedTotalPaymentOfAnotherRootsNetworkIsSettledOnceWhateverTheNextScanFinds) {
  dial_.QueueAnswers({Approves({{"010-000", "TECBAN"}}), Approves()});
  ASSERT_TRUE(Pay(10, 10));
  EXPECT_TRUE(Print());
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(Settlements(kRootTefDisc), (std::vector<std::string>{"CNF 654321"}));
  EXPECT_TRUE(Settlements(kRootTefDial).empty());
}

// --- a network whose root does not exist ------------------------------------------------

TEST_F(OtherRootTest, ALeftoverWhoseNetworksRootIsMissingIsSetAsideAndTheSaleGoesOn) {
  RemoveRoot(kRootTefDisc);
  Put(dsDirBkpTef + "intpos.  1", Leftover("5", "TECBAN"));
  dial_.QueueAnswers({Approves(), Approves()});

  EXPECT_TRUE(Pay(10, 10));
  ASSERT_EQ(Quarantined().size(), 1u);
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(Settlements(kRootTefDial), (std::vector<std::string>{"NCN 654321"}));
}

TEST_F(OtherRootTest, ALeftoverWhoseRequestCannotBeWrittenStaysForTheNextScanAndTheScanGoesOn) {
  // The Hipercard root has a file where its request directory should be.
  const std::string request_directory = std::string(kRootHiperTef) + "req";
  std::filesystem::remove_all(testing::TempWorld::native(request_directory));
  platform::fs().write_file(request_directory, "not a directory");
  Put(dsDirBkpTef + "intpos.  1", Leftover("5", "HCard"));
  Put(dsDirBkpTef + "intpos.  2", Leftover("6", "REDEY"));

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_TRUE(Quarantined().empty());
  EXPECT_EQ(Settlements(kRootTefDial), (std::vector<std::string>{"NCN 6"}));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));

  // Mended, the root takes the next scan's non-confirmation.
  platform::fs().remove_file(request_directory);
  platform::fs().create_directories(request_directory + "\\");
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(kRootHiperTef), (std::vector<std::string>{"NCN 5"}));
  EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty());
}

TEST_F(OtherRootTest, AnApprovalNamingAMissingRootGivesNoErrorAndStopsNoLaterSale) {
  RemoveRoot(kRootTefDisc);
  dial_.QueueAnswers({Approves({{"010-000", "TECBAN"}, {"012-000", "000111"}}), Approves()});
  ASSERT_TRUE(Pay(10, 10));
  EXPECT_FALSE(Print());
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(Quarantined().size(), 1u);
}

// --- a late answer of another sequence ---------------------------------------------------------

TEST_F(OtherRootTest, ALateApprovalOfAnotherSequenceIsKeptAndTheNextScanNotConfirmsIt) {
  dial_.QueueAnswers({[](const StringList& request) {
                        StringList late = Approval(request, {{"012-000", "000111"}});
                        late[1] = "001-000 = 0000000001";
                        return late;
                      },
                      Approves(), Approves({{"012-000", "000222"}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(LogCount("Rez00000 - Arquivo de resposta errado."), 1);
  EXPECT_TRUE(Pay(5, 5));
  const std::vector<std::string> settled = Settlements(kRootTefDial);
  EXPECT_NE(std::find(settled.begin(), settled.end(), "NCN 000111"), settled.end());
}

TEST_F(OtherRootTest, ARefusalOfAnotherSequenceIsStillDiscarded) {
  dial_.QueueAnswers({[](const StringList& request) {
                        StringList late = Approval(request, {{"009-000", "05"}});
                        late[1] = "001-000 = 0000000001";
                        return late;
                      },
                      Approves()});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
}

} // namespace
} // namespace zul00500
