#include <gtest/gtest.h>

#include "printing/printing.h"
#include "receipt_test_support.h"
#include "support/errors.h"
#include "support/string_list.h"

namespace zul00500 {
namespace {

const std::string kThreePairs = "\r\n\r\n\r\n";
const std::string kSixPairs = "\r\n\r\n\r\n\r\n\r\n\r\n";

class ReceiptReportTest : public testing::ReceiptWorld {
protected:
  bool Report(const StringList& answer, int copies = 1, int count = 1, bool own = false, int type = 29) {
    return ImprCupomRG_FrameWork("r1", "r2", "ctx", answer, copies, count, type, own, false);
  }
};

TEST_F(ReceiptReportTest, EachCopyOfAFourLineReceiptIsAPieceOfThreeOneOfOneAndThreeLineEnds) {
  EXPECT_TRUE(Report(Receipt(4, "L"), 2));
  EXPECT_EQ(journal_, Join({Sends("L", 4, kThreePairs), Sends("L", 4, kThreePairs)}));
}

TEST_F(ReceiptReportTest, PendingReceiptsPrintOnceWithSixLineEndsAndOnlyBlock029Counts) {
  StringList answer = Receipt(1, "C");
  AddBlock(answer, "710-000", "711-", 2, "F");
  AddBlock(answer, "714-000", "715-", 2, "B");
  SaveReceipt(1, Receipt(1, "P"));
  SaveReceipt(2, Receipt(2, "Q"));
  for (const int type : {29, 0}) {
    journal_.clear();
    EXPECT_TRUE(Report(answer, 2, 3, false, type));
    EXPECT_EQ(journal_,
              Join({Sends("P", 1, kSixPairs), Sends("P", 1, kSixPairs), Sends("Q", 2, kSixPairs),
                    Sends("Q", 2, kSixPairs), Sends("C", 1, kThreePairs), Sends("C", 1, kThreePairs)}));
  }
}

TEST_F(ReceiptReportTest, OwnDocumentOpensTheReportAndClosesItAfterANo) {
  Fail("Usa_CompNFis", 1);
  EXPECT_FALSE(Report(Receipt(1, "L"), 1, 1, true));
  EXPECT_EQ(journal_, (std::vector<std::string>{kClose, kOpen, Usa("L1\n") + "=false", "ask:no", kClose}));
}

TEST_F(ReceiptReportTest, YesForTheCurrentReceiptReopensAndPrintsThePendingOnesAgain) {
  SaveReceipt(1, Receipt(1, "P"));
  Fail("Usa_CompNFis", 3);
  host_->PushAnswer(true);
  EXPECT_TRUE(Report(Receipt(1, "C"), 1, 2));
  EXPECT_EQ(journal_, Join({Sends("P", 1, kSixPairs),
                            {Usa("C1\n") + "=false", "ask:yes", kClose, kOpen},
                            Sends("P", 1, kSixPairs),
                            Sends("C", 1, kThreePairs)}));
}

TEST_F(ReceiptReportTest, NoAfterAFailedReopeningAsksOnceMoreForEachPendingReceipt) {
  SaveReceipt(1, Receipt(1, "P"));
  Fail("Usa_CompNFis", 3);
  Fail("Relatorio_Gerencial_Imp", 1);
  host_->PushAnswer(true);
  EXPECT_FALSE(Report(Receipt(1, "C"), 1, 2));
  EXPECT_EQ(journal_, Join({Sends("P", 1, kSixPairs),
                            {Usa("C1\n") + "=false", "ask:yes", kClose, std::string(kOpen) + "=false",
                             "ask:no", "ask:no"}}));
}

TEST_F(ReceiptReportTest, YesForAPendingReceiptWaitsForTheManagerThenReopens) {
  SaveReceipt(1, Receipt(1, "P"));
  Fail("Usa_CompNFis", 1);
  host_->PushAnswer(true);
  EXPECT_TRUE(Report(Receipt(1, "C"), 1, 2));
  EXPECT_EQ(journal_, Join({{Usa("P1\n") + "=false", "ask:yes", "ATV", kClose, kOpen},
                            Sends("P", 1, kSixPairs),
                            Sends("C", 1, kThreePairs)}));
}

// A pending copy that is gone belongs to a payment undone since (its "NCN"
// removed it): the others print, and no error keeps the sale from its end.
TEST_F(ReceiptReportTest, AMissingPendingFileIsSkippedAndABadCountEndsTheCallNamingIt) {
  SaveReceipt(1, Receipt(1, "P"));
  EXPECT_TRUE(Report(Receipt(1, "C"), 1, 3));
  EXPECT_EQ(journal_, Join({Sends("P", 1, kSixPairs), Sends("C", 1, kThreePairs)}));
  EXPECT_THROW(Report(Answer({{"028-000", "sete"}})), ConvertError);
}

} // namespace
} // namespace zul00500
