// Mishaps of a real point of sale, and the sale after them: files the
// manager is still writing, leftovers that no manager can settle, answers
// with absurd values. Whatever happened, the next sale goes through and
// every leftover is settled or set aside.
#include <gtest/gtest.h>

#include <algorithm>

#include "printing/printing.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/manager_folders.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::FaultyFs;
using testing::SaleWorld;
using testing::StatusReply;

using testing::kDialResp;
using testing::kDiscResp;

class NextSaleTest : public SaleWorld {
protected:
  std::vector<std::string> Backups() { return Names(dsDirBkpTef + "intpos.*"); }
  std::string Quarantine() { return dsDirBkpTef + "Descartados\\"; }
  // Operations the manager of `root` took, from the `from`-th on.
  std::vector<std::string> OperationsFrom(const std::string& root, std::size_t from) {
    const std::vector<std::string> all = Operations(root);
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end()};
  }
  // Document numbers (012-000) the manager of `root` was sent "NCN" for.
  std::vector<std::string> NotConfirmed(const std::string& root) {
    std::vector<std::string> documents;
    for (const StringList& request : Manager(root).Requests())
      if (request.Field("000-000 ") == "NCN") documents.push_back(request.Field("012-000 "));
    return documents;
  }
  bool Logged(const std::string& message) { return LogCount(message) > 0; }
  // A leftover answer of another network's sale, with document `document`.
  static StringList Leftover(const std::string& document, const std::string& network = "TECBAN") {
    return {"000-000 = CRT",        "001-000 = 00000000" + document, "003-000 = 1000", "009-000 = 0",
            "010-000 = " + network, "012-000 = " + document,         "028-000 = 1",    testing::kClosingLine};
  }
};

// --- files the manager is still writing ---------------------------------------

TEST_F(NextSaleTest, AnApprovalReadBeforeItsResultLineIsWaitedForNotTakenAsARefusal) {
  // Read the first time up to its 003-000 line: a whole line, but no result.
  FaultyFs torn;
  torn.tear_reads(kDialResp + "intpos.001", std::string("000-000 = CRT\r\n001-000 = 0347520046\r\n").size());
  platform::ScopedFileSystem scoped(torn);
  dial_.QueueAnswers({Approves(), Approves()});

  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(LogCount("Arquivo encontrado ---"), 1);
  EXPECT_TRUE(host_->Calls().size() == 1 && host_->Calls()[0].text == "TRANSACAO APROVADA");

  // The next sale not-confirms it (it was never printed) and goes through.
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(NotConfirmed(kRootTefDial), (std::vector<std::string>{"654321"}));
}

TEST_F(NextSaleTest, AnAnswerReadInTheMiddleOfItsSequenceLineIsNotDeletedAsAnotherOne) {
  FaultyFs torn;
  torn.tear_reads(kDialResp + "intpos.001", std::string("000-000 = CRT\r\n001-000 = 03").size());
  platform::ScopedFileSystem scoped(torn);
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(LogCount("Rez00000 - Arquivo de resposta errado."), 0);
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.  1"}));
}

TEST_F(NextSaleTest, AnAnswerAnotherProgramHoldsIsWaitedFor) {
  FaultyFs busy;
  busy.busy_reads(kDialResp + "intpos.001", 3);
  platform::ScopedFileSystem scoped(busy);
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(LogCount("Arquivo encontrado ---"), 1);
}

// --- the backup that could not be renamed -----------------------------------------

TEST_F(NextSaleTest, ABackupThatCannotBeRenamedIsLoggedAndTheSaleCompletes) {
  class NoBackupRename : public FaultyFs {
  public:
    bool rename_file(const std::string& from, const std::string& to) override {
      return from != dsDirBkpTef + "intpos.001" && FaultyFs::rename_file(from, to);
    }
  } no_rename;
  {
    platform::ScopedFileSystem scoped(no_rename);
    dial_.QueueAnswers({Approves()});
    EXPECT_TRUE(Pay(10, 10));
  }
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.001"}));
  EXPECT_TRUE(Logged("Zul00500 - N\xE3o foi poss\xEDvel renomear " + dsDirBkpTef + "intpos.001 para " +
                     dsDirBkpTef + "intpos.  1"));

  // The printing run confirms it and removes its files, working copy and all.
  EXPECT_TRUE(ImprCupons(*receipts_, 1, 1, 0, "", "", "ctx", "", "", "N", "X", "", "", 10));
  EXPECT_EQ(OperationsFrom(kRootTefDial, 2), (std::vector<std::string>{"ATV", "ATV", "CNF"}));
  EXPECT_TRUE(Backups().empty());
  EXPECT_TRUE(Names(kDialResp + "intpos.*").empty());
}

// --- leftovers that would stop every later sale -------------------------------------

TEST_F(NextSaleTest, AStrayStatusFileInAnotherRootIsRemoved) {
  Put(kDiscResp + "intpos.sts", {"000-000 = ATV", testing::kClosingLine});
  dial_.QueueAnswers({Approves(), Approves()});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_FALSE(Exists(kDiscResp + "intpos.sts"));
  EXPECT_TRUE(Logged("Zul00500 - Arquivo de status removido: " + kDiscResp + "intpos.sts"));
  EXPECT_TRUE(Operations(kRootTefDisc).empty());
  EXPECT_TRUE(Pay(5, 5));
}

TEST_F(NextSaleTest, LeftoversNoManagerCanSettleAreSetAsideAndTheScanGoesOn) {
  const std::string no_network = "000-000 = CRT\r\n001-000 = 0000000001\r\n999-999 = 0\r\n";
  const std::string no_sequence = "000-000 = CRT\n010-000 = TECBAN\n999-999 = 0";
  const std::string no_header = "001-000 = 0000000002\r\n010-000 = TECBAN\r\n999-999 = 0\r\n";
  platform::fs().write_file(kDiscResp + "intpos.001", no_network);
  platform::fs().write_file(kDiscResp + "intpos.002", no_header);
  platform::fs().write_file(dsDirBkpTef + "intpos.  4", no_sequence);
  Put(std::string(kRootHiperTef) + "resp\\intpos.001", Leftover("7", "HCard"));
  // One set aside earlier under the very name the first will get.
  const std::string taken = Quarantine() + "20261207-080000-tef_disc-intpos.001";
  platform::fs().create_directories(Quarantine());
  platform::fs().write_file(taken, "older");
  dial_.QueueAnswers({Approves(), Approves()});

  EXPECT_TRUE(Pay(10, 10));

  // The settleable one was not-confirmed, the others kept byte for byte.
  EXPECT_EQ(NotConfirmed(kRootHiperTef), (std::vector<std::string>{"7"}));
  std::vector<std::string> contents;
  for (const std::string& name : Names(Quarantine() + "*"))
    contents.push_back(platform::fs().read_file(Quarantine() + name));
  std::sort(contents.begin(), contents.end());
  std::vector<std::string> expected{no_network, no_sequence, no_header, "older"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(contents, expected);
  EXPECT_EQ(platform::fs().read_file(taken), "older");
  EXPECT_TRUE(Names(kDiscResp + "intpos.*").empty());
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.  1"})); // the sale's own
  EXPECT_TRUE(
      Logged("Zul00500 - Arquivo " + kDiscResp + "intpos.001 sem 010-000, movido para " + taken + "-2"));

  EXPECT_TRUE(Pay(5, 5));
}

TEST_F(NextSaleTest, ATornBackupAndAResponseFileCutShortForGoodAreSetAsideByteForByte) {
  platform::fs().write_file(dsDirBkpTef + "intpos.  2", "000-000 = CRT\r\n001-000 = 00000");
  platform::fs().write_file(kDiscResp + "intpos.001", "000-000 = CRT\r\n001-0");
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  EXPECT_EQ(Names(Quarantine() + "*").size(), 2u);
  EXPECT_FALSE(Exists(kDiscResp + "intpos.001"));
  EXPECT_TRUE(Operations(kRootTefDisc).empty());
}

// A response file that keeps growing: its manager is alive and writing.
// The scan leaves it and stops, so that no sale's clean-up can delete it.
TEST_F(NextSaleTest, AResponseFileThatKeepsChangingIsLeftForLaterAndNoSaleStarts) {
  platform::fs().write_file(kDiscResp + "intpos.001", "000-000 = CRT\r\n");
  bool writing = true;
  clock_.every_sleep([&] {
    if (writing) platform::fs().append_file(kDiscResp + "intpos.001", "029-001 = \"X\"\r\n");
  });

  EXPECT_FALSE(Pay(10, 10));
  writing = false;

  EXPECT_TRUE(Exists(kDiscResp + "intpos.001"));
  EXPECT_TRUE(
      Logged("Zul00500 - Arquivo " + kDiscResp + "intpos.001 ainda sendo escrito, deixado para depois"));
  EXPECT_TRUE(Operations(kRootTefDial).empty());
}

TEST_F(NextSaleTest, ALeftoverWithAMalformedAmountIsNotConfirmedWithTheAmountAsItCame) {
  StringList leftover = Leftover("5");
  leftover[2] = "003-000 = 10,00";
  Put(dsDirBkpTef + "intpos.  1", leftover);
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  EXPECT_EQ(NotConfirmed(kRootTefDisc), (std::vector<std::string>{"5"}));
  EXPECT_EQ(stMensagem_Zul00500, "Cancelada a Transa\xE7\xE3o\r\nRede: TECBAN\r\nDoc No: 5\r\nValor: 10,00");
  EXPECT_TRUE(Logged("Zul00500 - Valor inv\xE1lido no campo 003-000: 10,00"));
}

TEST_F(NextSaleTest, AnAnswerThatNeedsNoConfirmationLeavesTheOtherTransactionsBackups) {
  Put(kDialResp + "intpos.001", {"000-000 = ADM", "001-000 = 0000000009", "009-000 = FF", "999-999 = 0"});
  Put(dsDirBkpTef + "intpos.  2", Leftover("5"));
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  // The sale's backup is the only one left: the other transaction got its
  // non-confirmation before its backup went.
  EXPECT_EQ(NotConfirmed(kRootTefDisc), (std::vector<std::string>{"5"}));
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.  1"}));
}

// --- absurd values in the answer ----------------------------------------------------

TEST_F(NextSaleTest, AnAbsurdReceiptCountIsRefusedBeforeAnythingChangesAndTheNextSaleUndoesIt) {
  transaction_ = 3;
  dial_.QueueAnswers({Approves({{"028-000", "100000"}}), Approves()});
  try {
    Pay(10, 10);
    ADD_FAILURE() << "accepted";
  } catch (const ConvertError& error) {
    EXPECT_NE(std::string(error.what()).find("028-000"), std::string::npos) << error.what();
  }
  EXPECT_EQ(approved_, 0);
  EXPECT_EQ(transaction_, 3);
  EXPECT_DOUBLE_EQ(doValorTef, 0);

  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(NotConfirmed(kRootTefDial).size(), 1u);
}

TEST_F(NextSaleTest, ARefusalWithAMalformedCountIsStillARefusal) {
  dial_.QueueAnswers({Approves({{"009-000", "05"}, {"028-000", "muitas"}, {"030-000", "NEGADA"}})});
  EXPECT_FALSE(Pay(10, 10));
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, "NEGADA");
  EXPECT_TRUE(Names(kDialResp + "intpos.*").empty());
  EXPECT_TRUE(Backups().empty());
}

} // namespace
} // namespace zul00500
