// A host's day at the till, through the C interface, where a mishap would
// cost a customer money: a restart between two payments of one sale, and a
// confirmation the manager never took. Each is followed by what the host
// does next as its guide says, and judged by what the manager received.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/package_reset.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/network_choice.h"
#include "tef/pending_sale.h"
#include "tef/settlement/memory.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class MoneyTest : public testing::CSaleWorld {
protected:
  // What the manager of "c:\tef_dial\" was sent for each transaction, in
  // order: "CNF doc", "NCN doc" (012-000 of the answer settled).
  std::vector<std::string> Settled() { return Settlements(kRootTefDial); }
  // The documents the manager was asked to cancel.
  std::vector<std::string> CancellationsAsked() {
    std::vector<std::string> documents;
    for (const StringList& request : dial_.Requests())
      if (request.Field("000-000 ") == "CNC") documents.push_back(request.Field("012-000 "));
    return documents;
  }
  // The manager takes no request from the first one of `operation` on (it
  // still answers that one).
  void StopAfterFirst(const std::string& operation) {
    dial_.OnRequest([this, operation](const StringList& request) {
      if (request.Field("000-000 ") == operation && !stopped_once_) {
        stopped_once_ = true;
        dial_.Stop(true);
      }
    });
  }
  // The power goes and the till starts again: the package forgets what its
  // process knew, and so does the host (its sale is gone).
  void Restart() {
    testing::ResetPackageVariables();
    ForgetSettledInThisProcess();
    transaction_ = 0;
  }
  int Print(ZulList receipts, int transactions) {
    double paid = 0;
    zul_GetFloat("doValorTef", &paid);
    return ::ImprCupons(receipts, 1, transactions, 0, "", "", "ctx", "", "", "S", "F", "", "", paid);
  }
  int Cancel(const char* document, const char* cents) {
    return ::CancelaTEF("", "", "ctx", "N", 1, 1, 0, "", "", cents, "REDEY", document, "07122026", "080000",
                        "F", "", "", 1);
  }
  static double Paid() {
    double paid = -1;
    zul_GetFloat("doValorTef", &paid);
    return paid;
  }
  std::string PendingCopy(int n) {
    return Read(dsDirPenTef + "intpos." + std::to_string(n)).Field("012-000 ");
  }

  bool stopped_once_ = false;
};

// --- a restart between two payments of one sale ---------------------------------

TEST_F(MoneyTest, APaymentLeftPendingByARestartIsNotWrittenOverByTheNextSaleAndIsUndoneAsTheScanSays) {
  dial_.QueueAnswers({Approves({{"012-000", "000030"}}), Approves({{"012-000", "CANC30"}}),
                      Approves({{"012-000", "000020"}})});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(30, 80, receipts), ZUL_TRUE) << LastError();
  ASSERT_EQ(PendingCopy(1), "000030");

  Restart();
  ASSERT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_PENDING_SALE);
  EXPECT_THAT(LastError(), HasSubstr("intpos.1"));

  // A host that starts the next sale all the same is refused before
  // anything reaches the manager, and the operator is told what to do.
  const std::size_t requests = dial_.Requests().size();
  host_->ClearCalls();
  EXPECT_EQ(Pay(20, 50, receipts), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_PENDING_SALE);
  EXPECT_THAT(LastError(), HasSubstr("CancelaPendencia"));
  EXPECT_EQ(dial_.Requests().size(), requests);
  EXPECT_EQ(PendingCopy(1), "000030");
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, PendingSaleNotice());

  // The customer has gone: the pending payment is undone, and the next
  // sale goes through.
  EXPECT_EQ(::CancelaPendencia("", "", "ctx", "", 1, 0, "F", "", ""), ZUL_TRUE) << LastError();
  EXPECT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);
  EXPECT_EQ(Pay(20, 20, receipts), ZUL_TRUE) << LastError();
  EXPECT_EQ(Print(receipts, transaction_), ZUL_TRUE);

  // The first customer got the 30.00 back; the second paid 20.00.
  EXPECT_THAT(CancellationsAsked(), ElementsAre("000030"));
  EXPECT_THAT(Settled(), ElementsAre("CNF 000030", "CNF CANC30", "CNF 000020"));
  zul_ListFree(receipts);
}

// Which pending copies keep a sale from starting: those of payments that
// stand, numbered above the count the sale passes. A copy whose answer still
// waits for the scan (it will be undone), one the sale never wrote (no
// sequence, no number) and the sale's own do not.
TEST_F(MoneyTest, OnlyAnotherSalesStandingPaymentsKeepASaleFromStarting) {
  const auto copy = [](const std::string& sequence) {
    StringList lines{"000-000 = CRT", "003-000 = 1000", "009-000 = 0", "010-000 = REDEY", "028-000 = 1"};
    if (!sequence.empty()) lines.Add("001-000 = " + sequence);
    return lines;
  };
  Put(dsDirPenTef + "intpos.1", copy("0000000001"));
  Put(dsDirPenTef + "intpos.2", copy("0000000002"));
  Put(dsDirBkpTef + "intpos.  1", copy("0000000002")); // still to be settled
  Put(dsDirPenTef + "intpos.3", copy(""));
  Put(dsDirPenTef + "intpos.x", copy("0000000004"));

  EXPECT_THAT(PendingCopiesOfAnotherSale(0), ElementsAre("intpos.1"));
  EXPECT_TRUE(PendingCopiesOfAnotherSale(1).empty());
  EXPECT_EQ(HighestCopyNumber({"intpos.1", "intpos.12", "intpos.x"}), 12);
}

TEST_F(MoneyTest, TheInterruptedSaleGoesOnWithItsCountAndPrintsThePaymentLeftPending) {
  dial_.QueueAnswers({Approves({{"012-000", "000030"}}), Approves({{"012-000", "000050"}})});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(30, 80, receipts), ZUL_TRUE);
  Restart();
  ASSERT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_PENDING_SALE);

  // The host kept its sale and its count: the rest is paid and both
  // receipts print.
  transaction_ = 1;
  ASSERT_EQ(Pay(50, 50, receipts), ZUL_TRUE) << LastError();
  EXPECT_EQ(transaction_, 2);
  EXPECT_EQ(Print(receipts, transaction_), ZUL_TRUE);
  EXPECT_THAT(Settled(), ElementsAre("CNF 000030", "CNF 000050"));
  EXPECT_TRUE(Names(dsDirPenTef + "intpos.*").empty());
  zul_ListFree(receipts);
}

// --- a confirmation the manager never took ------------------------------------

TEST_F(MoneyTest, APartialPaymentWhoseConfirmationWasTakenBackIsNotReportedPaidAndIsAskedForAgain) {
  dial_.AnswerEachRequestOnce();
  dial_.QueueAnswers({Approves({{"012-000", "000001"}}), Approves({{"012-000", "000002"}}),
                      Approves({{"012-000", "000003"}})});
  StopAfterFirst("CRT");
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  zul_SetFloat("doValorTef", 0);

  // The manager approves 40.00 of 100.00, then takes nothing more: the
  // package takes its confirmation back after 15 s.
  EXPECT_EQ(Pay(40, 100, receipts), ZUL_FALSE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_WITHDRAWN);
  EXPECT_EQ(approved_, 0);
  EXPECT_EQ(transaction_, 0);
  EXPECT_EQ(Paid(), 0);
  EXPECT_EQ(zul_ListCount(receipts), 0);
  EXPECT_TRUE(Names(dsDirPenTef + "intpos.*").empty());

  // The manager is back; the host asks for the 40.00 again, then the rest.
  dial_.Stop(false);
  ASSERT_EQ(Pay(40, 100, receipts), ZUL_TRUE) << LastError();
  ASSERT_EQ(Pay(60, 60, receipts), ZUL_TRUE) << LastError();
  EXPECT_EQ(Print(receipts, transaction_), ZUL_TRUE);

  // The stalled approval was undone, and the customer paid 100.00 once.
  EXPECT_THAT(Settled(), ElementsAre("NCN 000001", "CNF 000002", "CNF 000003"));
  EXPECT_EQ(Paid(), 100);
  zul_ListFree(receipts);
}

TEST_F(MoneyTest, ACancellationWhoseConfirmationWasTakenBackIsNotReportedDoneAndIsCancelledAgain) {
  dial_.AnswerEachRequestOnce();
  dial_.QueueAnswers({Approves({{"012-000", "000025"}}), Approves({{"012-000", "CANC1"}}),
                      Approves({{"012-000", "CANC2"}})});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(25, 25, receipts), ZUL_TRUE);
  ASSERT_EQ(Print(receipts, transaction_), ZUL_TRUE);

  StopAfterFirst("CNC");
  EXPECT_EQ(Cancel("000025", "2500"), ZUL_FALSE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_WITHDRAWN);

  // As the guide says: once the manager is back, the scan, then the
  // cancellation again.
  dial_.Stop(false);
  EXPECT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  EXPECT_EQ(Cancel("000025", "2500"), ZUL_TRUE) << LastError();

  // The stalled cancellation was undone, the second stands: the customer
  // got the 25.00 back once.
  EXPECT_THAT(CancellationsAsked(), ElementsAre("000025", "000025"));
  EXPECT_THAT(Settled(), ElementsAre("CNF 000025", "NCN CANC1", "CNF CANC2"));
  zul_ListFree(receipts);
}

} // namespace
} // namespace zul00500
