// Amounts a host passes through the C interface: a payment below one cent,
// NaN or infinite is refused before anything is sent, written or logged, and
// the next sale goes through as if nothing had happened.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/state.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr double kInfinity = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

class CAmountTest : public testing::CSaleWorld {
protected:
  int Print(ZulList receipts, double amount) {
    return ::ImprCupons(receipts, 1, 1, 0, "", "", "ctx", "", "", "S", "F", "", "", amount);
  }
  int Cancel(const char* cents) {
    return ::CancelaTEF("", "", "ctx", "N", 1, 1, 0, "", "", cents, "REDEY", "654321", "", "", "N", "", "",
                        1);
  }
  // Every file the package keeps beside the host: backups, pending copies,
  // notes and marks.
  static std::vector<std::string> KeptFiles() {
    std::vector<std::string> kept = Names(dsDirBkpTef + "*");
    for (const std::string& name : Names(dsDirPenTef + "*")) kept.push_back("Pendente\\" + name);
    return kept;
  }
  bool ManagersReceivedNothing() {
    return dial_.Requests().empty() && disc_.Requests().empty() && hiper_.Requests().empty();
  }
};

TEST_F(CAmountTest, APaymentBelowACentOrNotFiniteIsRefusedAndTheNextSaleGoesThrough) {
  dial_.QueueAnswers({Approves()});
  const std::vector<std::string> kept = KeptFiles();
  ZulList receipts = nullptr;
  for (const double amount : {-5.00, 0.00, 0.004, kNaN, kInfinity, -kInfinity}) {
    EXPECT_EQ(Pay(amount, 10, receipts), ZUL_ERROR) << amount;
    EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT) << amount;
    EXPECT_THAT(LastError(), HasSubstr("DoTEF: take the argument \"amount\"")) << amount;
  }
  // What the sale still owes is an amount too.
  for (const double due : {0.00, -5.00, kNaN, kInfinity}) {
    EXPECT_EQ(Pay(10, due, receipts), ZUL_ERROR) << due;
    EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT) << due;
    EXPECT_THAT(LastError(), HasSubstr("\"amountDue\"")) << due;
  }
  EXPECT_EQ(receipts, nullptr);
  EXPECT_EQ(transaction_, 0);
  EXPECT_TRUE(ManagersReceivedNothing());
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_EQ(KeptFiles(), kept);

  // The next sale: sent in whole cents, approved, printed and confirmed.
  ASSERT_EQ(Pay(0.5, 0.5, receipts), ZUL_TRUE) << LastError();
  EXPECT_EQ(SaleRequest().Field("003-000 "), "050");
  EXPECT_EQ(approved_, 1);
  zulpos::PrinterConnection connection(printer_);
  ASSERT_EQ(Print(receipts, 0.5), ZUL_TRUE) << LastError();
  EXPECT_THAT(Settlements(), ElementsAre("CNF 654321"));
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

TEST_F(CAmountTest, ANegativeOrNotFiniteVoucherAmountConfirmsAndPrintsNothing) {
  dial_.QueueAnswers({Approves()});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE);
  zulpos::PrinterConnection connection(printer_);
  for (const double amount : {-10.00, kNaN, kInfinity}) {
    EXPECT_EQ(Print(receipts, amount), ZUL_ERROR) << amount;
    EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT) << amount;
    EXPECT_THAT(LastError(), HasSubstr("ImprCupons: take the argument \"amount\"")) << amount;
  }
  EXPECT_TRUE(Settlements().empty());
  EXPECT_EQ(printer_.PaperText(), "");

  // The same receipts with the sale's amount: confirmed and printed.
  ASSERT_EQ(Print(receipts, 10), ZUL_TRUE) << LastError();
  EXPECT_THAT(Settlements(), ElementsAre("CNF 654321"));
  EXPECT_THAT(printer_.PaperText(), HasSubstr("VIA CLIENTE"));
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

TEST_F(CAmountTest, ACancellationOfNoWholeCentsAboveZeroSendsNothing) {
  for (const char* cents : {"-500", "0", "000", "", "40.00", "4000 "}) {
    EXPECT_EQ(Cancel(cents), ZUL_ERROR) << cents;
    EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT) << cents;
    EXPECT_THAT(LastError(), HasSubstr("CancelaTEF: take the argument \"amount\"")) << cents;
  }
  EXPECT_EQ(Cancel(nullptr), ZUL_ERROR);
  EXPECT_TRUE(ManagersReceivedNothing());
  EXPECT_TRUE(LogMessages().empty());
}

} // namespace
} // namespace zul00500
