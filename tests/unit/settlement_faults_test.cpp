// Settlements that went wrong around the manager's acknowledgement: a
// cancellation whose receipt count cannot be read, the manager's error
// answer to a cancellation, a settlement taken but never acknowledged, and
// a card log that stops working once the manager took a confirmation. Each
// is judged by what the manager received, then and at the next scan or run.
#include <gtest/gtest.h>

#include "cancellation/cancellation.h"
#include "printing/printing.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/host_services.h"
#include "support/printer_stubs.h"
#include "support/problems.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/settlement/confirmation.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::FaultyFs;
using testing::FsOp;
using testing::SaleWorld;
using testing::StatusReply;

class SettlementFaultsTest : public SaleWorld {
protected:
  SettlementFaultsTest() { testing::AnswerEveryPrinterCall(&printed_); }
  ~SettlementFaultsTest() override { testing::ClearPrinterProcedures(); }

  bool Cancel() {
    return CancelaTEF("", "", "ctx", "N", 1, 1, 0, "0000000042", "", "1000", "REDEY", "654321", "", "", "N",
                      "", "", true);
  }
  bool Print() { return ImprCupons(*receipts_, 1, 1, 0, "", "", "ctx", "", "", "N", "N", "", "", 10); }
  // A disk that fills up as soon as the package has read the manager's
  // acknowledgement of a confirmation: no card log line, no DIRTEF.cds, no
  // file of the host's folder can be written from then on.
  class FullOnceConfirmed : public FaultyFs {
  public:
    explicit FullOnceConfirmed(std::string host) : host_(std::move(host)) {}
    bool remove_file(const std::string& path) override {
      const bool removed = FaultyFs::remove_file(path);
      if (armed && path.size() >= 10 && path.compare(path.size() - 10, 10, "intpos.sts") == 0) {
        fail_path(FsOp::AppendFile, host_);
        fail_path(FsOp::WriteFile, host_);
        armed = false;
      }
      return removed;
    }
    bool armed = false;

  private:
    std::string host_;
  };
  void DiskFullOnceConfirmed(FullOnceConfirmed& disk) {
    dial_.OnRequest([&disk](const StringList& request) {
      if (request.Field("000-000 ") == "CNF") disk.armed = true;
    });
  }

  std::string printed_;
};

// --- a cancellation whose receipt count cannot be read ------------------------------

TEST_F(SettlementFaultsTest, AnApprovedCancellationWithAMalformedCountIsNotConfirmedBeforeTheError) {
  dial_.QueueAnswers({Approves({{"000-000", "CNC"}, {"012-000", "000900"}, {"028-000", "dois"}})});
  try {
    Cancel();
    ADD_FAILURE() << "no error";
  } catch (const ConvertError& error) {
    EXPECT_NE(std::string(error.what()).find("028-000"), std::string::npos) << error.what();
  }
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000900"}));
  EXPECT_TRUE(printed_.empty());
}

// --- the manager's error answer to a cancellation ------------------------------------------

TEST_F(SettlementFaultsTest, TheManagersErrorAnswerEndsTheCancellationAtOnceWithItsReason) {
  dial_.QueueAnswers({[](const StringList& request) {
    return StringList{"000-000 = XXX", "001-000 = " + request.Field("001-000 "), "030-000 = SEM CONEXAO",
                      testing::kClosingLine};
  }});
  EXPECT_FALSE(Cancel());
  EXPECT_LT(clock_.elapsed_ms(), 60'000);
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, "SEM CONEXAO");
  EXPECT_TRUE(Names(std::string(kRootTefDial) + "resp\\intpos.*").empty());
  EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty());
}

// --- a settlement taken but not acknowledged -----------------------------------------------

TEST_F(SettlementFaultsTest, AConfirmationTakenButNotAcknowledgedIsNotSettledAgainByTheNextScan) {
  StoreDirTef(kRootTefDial);
  const StringList answer = Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"});
  Put(dsDirBkpTef + "intpos.  1", answer);
  dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});
  EXPECT_FALSE(VerificaRetorno("ctx", answer, false, "S"));

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
  EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty());
}

TEST_F(SettlementFaultsTest, APrintingRunWhoseConfirmationWasTakenSilentlySendsNoNonConfirmationAfterIt) {
  dial_.QueueAnswers({Approves()});
  ASSERT_TRUE(Pay(10, 10));
  // The printing run's activity check, then its confirmation taken unanswered.
  dial_.Script({StatusReply::Acknowledge, StatusReply::Acknowledge, StatusReply::Silent});
  EXPECT_FALSE(Print());
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
}

// --- a card log that stops once the manager took a confirmation ------------------------------

TEST_F(SettlementFaultsTest, ARunWhoseLogCannotBeWrittenAfterTheConfirmationStillSucceedsAndSaysSo) {
  dial_.QueueAnswers({Approves()});
  ASSERT_TRUE(Pay(10, 10));
  FullOnceConfirmed disk(world_.host_dir());
  platform::ScopedFileSystem scoped(disk);
  DiskFullOnceConfirmed(disk);
  TakeReportedProblems();

  EXPECT_TRUE(Print());
  EXPECT_FALSE(TakeReportedProblems().empty());
  EXPECT_NE(printed_.find("APROVADA"), std::string::npos);

  // A host that retries all the same gets no second confirmation.
  disk.heal();
  Print();
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
}

TEST_F(SettlementFaultsTest, APartialPaymentWhoseLogCannotBeWrittenAfterItsConfirmationIsStillPaid) {
  dial_.QueueAnswers({Approves()});
  FullOnceConfirmed disk(world_.host_dir());
  platform::ScopedFileSystem scoped(disk);
  DiskFullOnceConfirmed(disk);
  TakeReportedProblems();

  EXPECT_TRUE(Pay(40, 100));
  EXPECT_EQ(approved_, 1);
  EXPECT_FALSE(receipts_->empty());
  EXPECT_FALSE(TakeReportedProblems().empty());
  EXPECT_TRUE(Exists(dsDirPenTef + "intpos.1"));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
}

} // namespace
} // namespace zul00500
