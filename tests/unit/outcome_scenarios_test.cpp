// A host's day at the till that reads every outcome by code: what the
// manager, the network or the operator decided beside each 1 or 0
// (zul_LastOutcome), and after a failed printing run, which payments stand
// and which printed (zul_SalePayment). Each mishap is followed by what the
// host guide says to do, and judged by what the manager received and what
// the customer paid.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "support/string_list.h"
#include "tef/network_choice.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using ::testing::ElementsAre;

// The operator closes the network dialog.
int ZUL_CALL CloseNetworkDialog(void*, const char*) { return 9; }

class OutcomeTest : public testing::CSaleWorld {
protected:
  // The outcome and the network's code, as a host reads them.
  static std::pair<int, std::string> Outcome() {
    char code[ZUL_FIELD_CAPACITY] = "?";
    const int outcome = zul_LastOutcome(code, sizeof code);
    return {outcome, code};
  }
  static std::pair<int, std::string> Outcome(int outcome, std::string code = "") { return {outcome, code}; }

  // An approval whose receipt's first line names the payment.
  static testing::FakeManager::AnswerMaker Payment(const char* document, const char* line) {
    return Approves({{"012-000", document}, {"029-001", line}});
  }
  int Print(ZulList receipts, int printerType = 0) {
    return ::ImprCupons(receipts, 1, transaction_, printerType, "", "", "ctx", "", "", "S", "F", "", "", 100);
  }
  // The cancellation of the 25.00 payment, document 000025, printed.
  static int CancelThe25() {
    return ::CancelaTEF("", "", "ctx", "N", 1, 1, 0, "", "", "2500", "REDEY", "000025", "07122026", "080000",
                        "F", "", "", 1);
  }
  // The sale requests the manager took: each one a charge put to the card.
  long Charges() const {
    long charges = 0;
    for (const StringList& request : dial_.Requests()) charges += request.Field("000-000 ") == "CRT";
    return charges;
  }
  // How often the paper shows `text`.
  long OnPaper(const std::string& text) const {
    long count = 0;
    const std::string& paper = printer_.PaperText();
    for (std::size_t at = paper.find(text); at != std::string::npos; at = paper.find(text, at + 1)) ++count;
    return count;
  }

  // The guide's recovery after a printing run that did not end with 1: every
  // payment that stands and did not print is printed again, and what does
  // not stand is added up to be asked for again. Nothing confirmed is
  // charged twice.
  double Recover(int printerType = 0) {
    double due = 0;
    ZulList answer = zul_ListNew();
    int standing = -1, printed = -1;
    char cents[32];
    for (int i = 1; zul_SalePayment(i, &standing, &printed, answer) == ZUL_TRUE; ++i) {
      if (standing == ZUL_PAYMENT_CONFIRMED && !printed) {
        EXPECT_EQ(::ImprCupom("", "", "ctx", "S", answer, 2, 1, printerType, 1, 1, "F", "", ""), ZUL_TRUE);
      }
      for (int line = 0; line < zul_ListCount(answer); ++line) {
        zul_ListGet(answer, line, cents, sizeof cents);
        if (standing != ZUL_PAYMENT_CONFIRMED && std::string(cents).rfind("003-000 = ", 0) == 0)
          due += std::stod(cents + 10) / 100;
      }
    }
    zul_ListFree(answer);
    return due;
  }
};

// --- a printing run that fails --------------------------------------------------

TEST_F(OutcomeTest, APrinterThatFailsAfterTheConfirmationsLeavesBothPaymentsPaidAndTheHostReprintsThem) {
  dial_.QueueAnswers({Payment("000040", "\"PAGAMENTO 40\""), Payment("000060", "\"PAGAMENTO 60\"")});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(40, 100, receipts), ZUL_TRUE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_APPROVED));
  ASSERT_EQ(Pay(60, 60, receipts), ZUL_TRUE);

  // Printer type 0 opens nothing: the last payment is confirmed, then its
  // receipt fails and the operator gives up.
  printer_.AddFailures("Usa_CompNFis:1+");
  EXPECT_EQ(Print(receipts), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NOT_PRINTED));
  int standing = -1, printed = -1;
  ASSERT_EQ(zul_SalePayment(1, &standing, &printed, nullptr), ZUL_TRUE);
  EXPECT_EQ(standing, ZUL_PAYMENT_CONFIRMED);
  EXPECT_EQ(printed, 0);
  ASSERT_EQ(zul_SalePayment(2, &standing, &printed, nullptr), ZUL_TRUE);
  EXPECT_EQ(standing, ZUL_PAYMENT_CONFIRMED);
  EXPECT_EQ(printed, 0);
  EXPECT_EQ(zul_SalePayment(3, &standing, &printed, nullptr), ZUL_FALSE);

  // The printer is back: both receipts print, nothing is asked again.
  printer_.ClearFailures();
  EXPECT_EQ(Recover(), 0);
  EXPECT_EQ(OnPaper("PAGAMENTO 40"), 1);
  EXPECT_EQ(OnPaper("PAGAMENTO 60"), 1);

  // The next scan leaves both payments standing: the customer paid 100.00 once.
  EXPECT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  EXPECT_EQ(Charges(), 2);
  EXPECT_THAT(Settlements(), ElementsAre("CNF 000040", "CNF 000060"));
  zul_ListFree(receipts);
}

TEST_F(OutcomeTest, AVoucherThatCannotOpenUndoesOnlyTheLastPaymentAndTheHostAsksForThatAlone) {
  dial_.QueueAnswers({Payment("000040", "\"PAGAMENTO 40\""), Payment("000060", "\"PAGAMENTO 60\""),
                      Payment("000061", "\"PAGAMENTO 60 DE NOVO\"")});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(40, 100, receipts), ZUL_TRUE);
  ASSERT_EQ(Pay(60, 60, receipts), ZUL_TRUE);

  // Printer type 1 opens a linked voucher, which fails; the operator gives
  // up before anything printed.
  printer_.AddFailures("Abre_Comp_NFiscalVinc:1+");
  EXPECT_EQ(Print(receipts, 1), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NOT_PRINTED));
  int standing = -1, printed = -1;
  ASSERT_EQ(zul_SalePayment(1, &standing, &printed, nullptr), ZUL_TRUE);
  EXPECT_EQ(standing, ZUL_PAYMENT_CONFIRMED); // the 40.00 was confirmed when paid
  ASSERT_EQ(zul_SalePayment(2, &standing, &printed, nullptr), ZUL_TRUE);
  EXPECT_EQ(standing, ZUL_PAYMENT_UNDONE);

  // The host reprints the 40.00 and asks for the 60.00 alone, as a sale of
  // its own.
  printer_.ClearFailures();
  const double due = Recover(1);
  EXPECT_EQ(due, 60);
  transaction_ = 0;
  ASSERT_EQ(Pay(due, due, receipts), ZUL_TRUE) << LastError();
  EXPECT_EQ(Print(receipts, 1), ZUL_TRUE);
  EXPECT_EQ(OnPaper("PAGAMENTO 40"), 1);
  EXPECT_EQ(OnPaper("PAGAMENTO 60 DE NOVO"), 1);

  // Three charges, one undone: the customer paid 100.00 once.
  EXPECT_THAT(Settlements(), ElementsAre("CNF 000040", "NCN 000060", "CNF 000061"));
  zul_ListFree(receipts);
}

TEST_F(OutcomeTest, AConfirmationTheManagerNeverTookLeavesThePaymentOpenUntilTheScanUndoesIt) {
  dial_.AnswerEachRequestOnce();
  dial_.QueueAnswers({Payment("000030", "\"PAGAMENTO 30\""), Payment("000031", "\"PAGAMENTO 30 DE NOVO\"")});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(30, 30, receipts), ZUL_TRUE);

  // The manager stops before the printing run: nothing it is sent is taken.
  dial_.Stop(true);
  EXPECT_EQ(Print(receipts), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NOT_ACTIVE));
  int standing = -1, printed = -1;
  ASSERT_EQ(zul_SalePayment(1, &standing, &printed, nullptr), ZUL_TRUE);
  EXPECT_EQ(standing, ZUL_PAYMENT_OPEN);
  EXPECT_EQ(printed, 0);

  // The manager is back: the scan undoes it, the record says so, and the
  // host asks for the 30.00 again.
  dial_.Stop(false);
  EXPECT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  ASSERT_EQ(zul_SalePayment(1, &standing, &printed, nullptr), ZUL_TRUE);
  EXPECT_EQ(standing, ZUL_PAYMENT_UNDONE);
  EXPECT_EQ(Recover(), 30);
  transaction_ = 0;
  ASSERT_EQ(Pay(30, 30, receipts), ZUL_TRUE) << LastError();
  EXPECT_EQ(Print(receipts), ZUL_TRUE);
  EXPECT_THAT(Settlements(), ElementsAre("NCN 000030", "CNF 000031"));
  zul_ListFree(receipts);
}

// --- every outcome of a payment ---------------------------------------------------

TEST_F(OutcomeTest, ARefusalCarriesTheNetworksCodeAndAnApprovalWithoutReceiptIsPaid) {
  dial_.QueueAnswers({Approves({{"009-000", "51"}}), Approves({{"028-000", "0"}})});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  EXPECT_EQ(Pay(30, 30, receipts), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_REFUSED, "51"));

  // Without receipt: final, nothing to confirm or print; the host counts it
  // paid and its printing run prints nothing.
  EXPECT_EQ(Pay(30, 30, receipts), ZUL_TRUE);
  EXPECT_EQ(approved_, 0);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_APPROVED_NO_RECEIPT));
  EXPECT_EQ(Print(receipts), ZUL_TRUE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_DONE));
  EXPECT_EQ(Charges(), 2);
  EXPECT_TRUE(Settlements().empty());
  zul_ListFree(receipts);
}

TEST_F(OutcomeTest, TheManagersErrorAnswerASilentManagerAndAMissingDirectoryAreToldApart) {
  dial_.QueueAnswer([](const StringList& request) {
    return StringList{"000-000 = XXX", "001-000 = " + request.Field("001-000 "), "030-000 = ERRO",
                      "999-999 = 0"};
  });
  ZulList receipts = nullptr;
  EXPECT_EQ(Pay(30, 30, receipts), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_MANAGER_ERROR));

  dial_.Stop(true);
  EXPECT_EQ(Pay(30, 30, receipts), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NOT_ACTIVE));
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);

  // An installer's wrong drive: no manager's folders where the package looks.
  std::filesystem::remove_all(platform::fs().native_path(std::string(kRootTefDial) + "req"));
  EXPECT_EQ(Pay(30, 30, receipts), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NO_DIRECTORY));
  EXPECT_EQ(::CheckGPAtivo("ATV", "0000000001"), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NO_DIRECTORY));
  zul_ListFree(receipts);
}

TEST_F(OutcomeTest, TheOperatorsWaysOutAreToldByCode) {
  ZulList receipts = nullptr;
  // The network dialog closed for a debit card: nothing sent.
  zul_SetNetworkChooser(&CloseNetworkDialog, nullptr);
  EXPECT_EQ(::DoTEF("ctx", 30, 30, "D", &receipts, &approved_, &transaction_, &extra_, document_,
                    sizeof document_, f748_, sizeof f748_, f013_, sizeof f013_, f027_, sizeof f027_),
            ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NETWORK_CLOSED));
  EXPECT_EQ(Charges(), 0);
  zul_SetNetworkChooser(nullptr, nullptr);

  // The manager takes the request and never answers; after two minutes the
  // operator stops waiting (the scripted operator answers no).
  EXPECT_EQ(Pay(30, 30, receipts), ZUL_FALSE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_OPERATOR_STOPPED));
  EXPECT_EQ(Charges(), 1);
  zul_ListFree(receipts);
}

// --- a cancellation --------------------------------------------------------------

TEST_F(OutcomeTest, ACancellationTheNetworkRefusesReturnsOneButSaysTheCustomerWasNotRefunded) {
  dial_.QueueAnswers({Approves({{"012-000", "000025"}}),
                      Approves({{"012-000", "CANC1"}, {"009-000", "57"}, {"028-000", "0"}}),
                      Approves({{"012-000", "CANC2"}})});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(25, 25, receipts), ZUL_TRUE);
  ASSERT_EQ(Print(receipts), ZUL_TRUE);

  EXPECT_EQ(CancelThe25(), ZUL_TRUE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_CANCEL_REFUSED, "57"));
  // The host does not refund the customer; the cancellation is asked again.
  EXPECT_EQ(CancelThe25(), ZUL_TRUE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_CANCEL_APPROVED));
  EXPECT_THAT(Settlements(), ElementsAre("CNF 000025", "CNF CANC2"));
  zul_ListFree(receipts);
}

TEST_F(OutcomeTest, ACancellationWhoseReceiptDidNotPrintWasUndoneAndIsAskedAgain) {
  dial_.QueueAnswers({Approves({{"012-000", "000025"}}), Approves({{"012-000", "CANC1"}}),
                      Approves({{"012-000", "CANC2"}})});
  const zulpos::PrinterConnection connection(printer_);
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(25, 25, receipts), ZUL_TRUE);
  ASSERT_EQ(Print(receipts), ZUL_TRUE);

  // Its receipt fails and the operator gives up: the cancellation gets its
  // non-confirmation, and the 1 does not mean a refund.
  printer_.AddFailures("Usa_CompNFis:1+");
  EXPECT_EQ(CancelThe25(), ZUL_TRUE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_NOT_PRINTED));
  printer_.ClearFailures();
  EXPECT_EQ(CancelThe25(), ZUL_TRUE);
  EXPECT_EQ(Outcome(), Outcome(ZUL_OUTCOME_CANCEL_APPROVED));
  EXPECT_THAT(Settlements(), ElementsAre("CNF 000025", "NCN CANC1", "CNF CANC2"));
  zul_ListFree(receipts);
}

} // namespace
} // namespace zul00500
