#include <gtest/gtest.h>

#include <algorithm>

#include "printing/printing.h"
#include "printing/receipt_blocks.h"
#include "receipt_test_support.h"
#include "support/string_list.h"

namespace zul00500 {
namespace {

const std::string kLineEnds = "\r\n\r\n\r\n";

TEST(ReceiptBlocks, ALineIsTheTrimmedValueLessItsFirstAndLastCharacter) {
  const StringList answer{"029-001 =   \"  a b  \"  ", "029-002 = x", "029-003 = \"\"", "029-004= \"y\"",
                          "711-012 = 'doze'"};
  EXPECT_EQ(ReceiptLine(answer, "029-", 1), "  a b  ");
  EXPECT_EQ(ReceiptLine(answer, "029-", 2), "");
  EXPECT_EQ(ReceiptLine(answer, "029-", 3), "");
  EXPECT_EQ(ReceiptLine(answer, "029-", 4), ""); // no blank before "=": not found
  EXPECT_EQ(ReceiptLine(answer, "711-", 12), "doze");
}

class ReceiptFrameworkTest : public testing::ReceiptWorld {
protected:
  bool Framework(const StringList& answer, int copies = 2, int count = 1, const std::string& choice = "N",
                 bool own = false) {
    return ImprCupom_FrameWork("r1", "r2", "ctx", choice, answer, copies, count, 29, own, false);
  }
  const std::string kNoReport = Ccd("UsaRG") + "=false";
};

TEST_F(ReceiptFrameworkTest, SevenLinesGoOutAsPiecesOfThreeThreeOneThenTheLineEndsForEachCopy) {
  EXPECT_TRUE(Framework(Receipt(7, "L")));
  EXPECT_EQ(journal_, Join({{kNoReport}, Ccds("L", 7), Ccds("L", 7)}));
}

TEST_F(ReceiptFrameworkTest, FirstCopyFollowsTheChoiceAndLaterCopiesTakeBlock715OrElse029) {
  StringList answer = Receipt(2, "M");
  AddBlock(answer, "710-000", "711-", 5, "F");
  EXPECT_TRUE(Framework(answer, 3, 1, "S"));
  EXPECT_EQ(journal_, Join({{kNoReport}, Ccds("F", 5), Ccds("M", 2), Ccds("M", 2)}));

  journal_.clear();
  AddBlock(answer, "714-000", "715-", 1, "B");
  EXPECT_TRUE(Framework(answer, 2, 1, "S"));
  EXPECT_EQ(journal_, Join({{kNoReport}, Ccds("F", 5), Ccds("B", 1)}));

  journal_.clear();
  EXPECT_TRUE(Framework(answer, 2, 1, "s"));
  EXPECT_EQ(journal_, Join({{kNoReport}, Ccds("M", 2), Ccds("B", 1)}));

  journal_.clear();
  EXPECT_TRUE(Framework(answer, 0));
  EXPECT_EQ(journal_, (std::vector<std::string>{kNoReport}));
}

TEST_F(ReceiptFrameworkTest, ConfirmedCancellationGoesToAReportAndOtherOwnReceiptsToTheirOwnVoucher) {
  StringList answer = Receipt(2, "M");
  answer.Add("030-000 = CANCELAMENTO OK");
  EXPECT_TRUE(Framework(answer, 1, 1, "N", true));
  EXPECT_EQ(journal_, Join({{kClose, kOpen}, Sends("M", 2, kLineEnds), {kClose}}));

  journal_.clear();
  EXPECT_TRUE(Framework(Receipt(2, "M"), 1, 1, "N", true));
  EXPECT_EQ(journal_, Join({{Ccd("AbreCCD")}, Ccds("M", 2), {Ccd("FechaCCD")}}));
}

TEST_F(ReceiptFrameworkTest, APrinterThatUsesReportsGetsTheReceiptOnTheOpenReport) {
  Answers("UsaRG", true);
  EXPECT_TRUE(Framework(Receipt(1, "M"), 1));
  EXPECT_EQ(journal_, Join({{Ccd("UsaRG")}, Sends("M", 1, kLineEnds)}));
}

TEST_F(ReceiptFrameworkTest, YesForTheCurrentReceiptClosesTheVoucherAndReprintsOnAReport) {
  Fail("ImprimeCCD", 1);
  host_->PushAnswer(true);
  EXPECT_TRUE(Framework(Receipt(1, "M"), 1));
  EXPECT_EQ(journal_, Join({{kNoReport, Ccd("ImprimeCCD", "M1\n") + "=false", "ask:yes", Ccd("FechaCCD")},
                            Sends("M", 1, kLineEnds)}));

  journal_.clear();
  Fail("ImprimeCCD", 1);
  EXPECT_FALSE(Framework(Receipt(1, "M"), 1, 1, "N", true));
  EXPECT_EQ(journal_, (std::vector<std::string>{Ccd("AbreCCD"), Ccd("ImprimeCCD", "M1\n") + "=false",
                                                "ask:no", Ccd("FechaCCD")}));
}

TEST_F(ReceiptFrameworkTest, YesForAPendingReceiptWaitsForTheManagerAndReopensTheVoucher) {
  SaveReceipt(1, Receipt(1, "P"));
  Fail("ImprimeCCD", 1);
  host_->PushAnswer(true);
  EXPECT_TRUE(Framework(Receipt(1, "C"), 1, 2));
  EXPECT_EQ(journal_, Join({{kNoReport, Ccd("ImprimeCCD", "P1\n") + "=false", "ask:yes", "ATV",
                             Ccd("FechaCCD"), Ccd("AbreCCD")},
                            Ccds("P", 1),
                            Ccds("C", 1)}));
}

TEST_F(ReceiptFrameworkTest, NoForAPendingReceiptAsksForEachRemainingOneAndSkipsTheCurrent) {
  SaveReceipt(1, Receipt(1, "P"));
  SaveReceipt(2, Receipt(1, "Q"));
  Fail("ImprimeCCD", 1);
  EXPECT_FALSE(Framework(Receipt(1, "C"), 1, 3));
  EXPECT_EQ(journal_,
            (std::vector<std::string>{kNoReport, Ccd("ImprimeCCD", "P1\n") + "=false", "ask:no", "ask:no"}));
}

TEST_F(ReceiptFrameworkTest, AVoucherThatNeverReopensEndsAfterThreeTriesWithTimeOut) {
  SaveReceipt(1, Receipt(1, "P"));
  Fail("ImprimeCCD", 1);
  FailFrom("AbreCCD", 1);
  host_->SetFallback([](const MensagemCall&) { return true; });
  EXPECT_FALSE(Framework(Receipt(1, "C"), 1, 2));
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), Ccd("AbreCCD") + "=false"), 3);
  EXPECT_EQ(journal_.back(), std::string("notice:") + kTimeOut);
}

} // namespace
} // namespace zul00500
