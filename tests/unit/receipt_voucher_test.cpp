#include <gtest/gtest.h>

#include <algorithm>

#include "printing/printer.h"
#include "receipt_test_support.h"
#include "support/dialog_expectations.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/input_lock.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/form.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::FsOp;
using testing::StatusReply;

const std::string kFeed = "\xA0\r\n\r\n\r\n\r\n";

class ReceiptVoucherTest : public testing::ReceiptWorld {};

TEST_F(ReceiptVoucherTest, SevenLinesGoOutThreeThreeOneThenTheTrailerWithAPumpPerLineAndCopy) {
  record_pumps_ = true;
  dsDirPenTef = "c:\\elsewhere\\";
  EXPECT_TRUE(Print(Receipt(7, "L")));
  EXPECT_EQ(journal_, (std::vector<std::string>{"pump", "pump", Usa("L1\nL2\nL3\n"), "pump", "pump", "pump",
                                                Usa("L4\nL5\nL6\n"), "pump", "pump", Usa("L7\n"),
                                                Usa(kTrailer), "pump"}));
  EXPECT_EQ(dsDirPenTef, PendingDirectory());
}

TEST_F(ReceiptVoucherTest, CopyChoicePicksTheFirstBlockAndBlock715MakesASecondCopyAfterAPaperCut) {
  StringList answer = Answer();
  AddBlock(answer, "028-000", "029-", 2, "M");
  AddBlock(answer, "712-000", "713-", 20, "A");
  AddBlock(answer, "714-000", "715-", 20, "B");
  EXPECT_TRUE(Print(answer, 1, 0, "F", "N"));
  EXPECT_EQ(journal_, Join({Sends("A", 20, kTrailer), {kCut}, Sends("B", 20, kTrailer)}));

  journal_.clear();
  EXPECT_TRUE(Print(answer, 1, 0, "F", "S")); // no 710-000: block 029 first
  EXPECT_EQ(journal_, Join({Sends("M", 2, kTrailer), {kCut}, Sends("B", 20, kTrailer)}));

  journal_.clear();
  AddBlock(answer, "710-000", "711-", 5, "F");
  Guilhotina = nullptr;
  EXPECT_TRUE(Print(answer, 1, 0, "F", "S"));
  EXPECT_EQ(journal_, Join({Sends("F", 5, kTrailer), Sends("B", 20, kTrailer)}));
}

TEST_F(ReceiptVoucherTest, PrinterType31FeedsThePaperAfterTheCurrentReceiptAndWidensTheSavedTrailer) {
  SaveReceipt(1, Receipt(1, "S"));
  EXPECT_TRUE(Print(Receipt(1, "C"), 2, 31));
  EXPECT_EQ(journal_, (std::vector<std::string>{Usa("S1\n"), Usa("\r\n\r\n\r\n\r\n\r\n\r\n"), Usa("C1\n"),
                                                Usa(kTrailer), Usa(kFeed), Usa(kFeed)}));
  journal_.clear();
  EXPECT_TRUE(Print(Receipt(1, "C"), 2, 0));
  EXPECT_EQ(journal_, Join({Sends("S", 1, kTrailer), Sends("C", 1, kTrailer)}));
}

TEST_F(ReceiptVoucherTest, SavedReceiptsOfTheSalePrintFirstOnlyWhenTheCountAsksForThem) {
  SaveReceipt(1, Receipt(2, "S"));
  SaveReceipt(2, Receipt(4, "T"));
  EXPECT_TRUE(Print(Receipt(2, "C"), 3));
  EXPECT_EQ(journal_, Join({Sends("S", 2, kTrailer), Sends("T", 4, kTrailer), Sends("C", 2, kTrailer)}));

  testing::FaultyFs faulty;
  platform::ScopedFileSystem scoped(faulty);
  for (const bool skip : {false, true}) {
    journal_.clear();
    EXPECT_TRUE(Print(Receipt(2, "C"), skip ? 3 : 1, 0, "F", "N", false, skip));
    EXPECT_EQ(journal_, Sends("C", 2, kTrailer));
  }
  for (const auto& call : faulty.calls())
    EXPECT_EQ(call.path.find("Pendente"), std::string::npos) << call.path;
}

TEST_F(ReceiptVoucherTest, PiecesAreCutTo400ForTheCurrentReceiptAnd492ForTheRest) {
  const std::string long_line(200, 'x');
  StringList answer = Answer({{"028-000", "4"}});
  for (int k = 1; k <= 4; ++k) answer.Add("029-00" + std::to_string(k) + " =  \"" + long_line + "\" ");
  SaveReceipt(1, answer);
  EXPECT_TRUE(Print(answer, 2));
  const std::string three = long_line + "\n" + long_line + "\n" + long_line + "\n";
  EXPECT_EQ(PrinterCalls(),
            (std::vector<std::string>{Usa(three.substr(0, 492)), Usa(long_line + "\n"), Usa(kTrailer),
                                      Usa(three.substr(0, 400)), Usa(long_line + "\n"), Usa(kTrailer)}));
}

TEST_F(ReceiptVoucherTest, TheThreeHundredthLineOfACallRenewsTheReportInFiscalModeOnly) {
  SaveReceipt(1, Receipt(201, "S"));
  EXPECT_TRUE(Print(Receipt(101, "C"), 2));
  ASSERT_EQ(std::count(journal_.begin(), journal_.end(), kClose), 1);
  const auto close = std::find(journal_.begin(), journal_.end(), kClose);
  // The 201 saved lines and current lines 1-98 come before it; the piece
  // holding current lines 97-99 goes to the new report.
  EXPECT_EQ(*(close - 1), Usa("C94\nC95\nC96\n"));
  EXPECT_EQ(*(close + 1), kOpen);
  EXPECT_EQ(*(close + 2), Usa("C97\nC98\nC99\n"));

  journal_.clear();
  EXPECT_TRUE(Print(Receipt(301, "C"), 1, 0, "N"));
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), kClose), 0);
}

TEST_F(ReceiptVoucherTest, PrinterType29InFiscalModeIsTheFrameworkRoutinesAloneButPrintsHereInStandardMode) {
  EXPECT_TRUE(Print(Receipt(2, "L"), 1, 29));
  EXPECT_EQ(journal_, Join({{Ccd("UsaRG") + "=false"}, Ccds("L", 2), Ccds("L", 2)}));

  journal_.clear();
  EXPECT_TRUE(Print(Receipt(2, "L"), 1, 29, "N"));
  EXPECT_EQ(journal_, (std::vector<std::string>{"ImprimePadrao(std1|std2|L1\nL2\n\n\n\n)"}));
}

TEST_F(ReceiptVoucherTest, StandardModePrintsEachCopyWholeAndOtherModesOnlyTheWideFeeds) {
  StringList answer = Receipt(1, "M");
  AddBlock(answer, "714-000", "715-", 1, "B");
  EXPECT_TRUE(Print(answer, 1, 31, "N"));
  EXPECT_EQ(journal_, (std::vector<std::string>{"ImprimePadrao(std1|std2|M1\n\n\n\n)",
                                                "ImprimePadrao(std1|std2|B1\n\n\n\n)"}));
  journal_.clear();
  EXPECT_TRUE(Print(answer, 1, 28, "X"));
  EXPECT_EQ(journal_, (std::vector<std::string>{Usa(kFeed), Usa(kFeed), Usa(kFeed), Usa(kFeed)}));
  journal_.clear();
  Fail("Usa_CompNFis", 1);
  EXPECT_FALSE(Print(answer, 1, 28, "X"));
  EXPECT_EQ(journal_, (std::vector<std::string>{Usa(kFeed) + "=false", Usa(kFeed), "ask:no"}));
}

TEST_F(ReceiptVoucherTest, OwnDocumentOpensAReportAndClosesItEvenWhenTheOperatorGivesUp) {
  EXPECT_TRUE(Print(Receipt(1, "L"), 1, 0, "F", "N", true));
  EXPECT_EQ(journal_, Join({{kClose, kOpen}, Sends("L", 1, kTrailer), {kClose}}));
  journal_.clear();
  Fail("Usa_CompNFis", 1);
  EXPECT_FALSE(Print(Receipt(1, "L"), 1, 0, "F", "N", true));
  EXPECT_EQ(journal_, (std::vector<std::string>{kClose, kOpen, Usa("L1\n") + "=false", "ask:no", kClose}));
}

TEST_F(ReceiptVoucherTest, PrinterQuestionUsesTheMessageTableEvenWithNoFormCreatedYet) {
  frmCartaoDebito.reset(); // as in a process where no routine made the form yet
  Fail("Usa_CompNFis", 1);
  EXPECT_FALSE(Print(Receipt(1, "L")));
  ASSERT_EQ(host_->Calls().size(), 1u);
  testing::ExpectDialog(host_->Calls()[0], kQuestion, "S", 3, "ctx", 0);
}

TEST_F(ReceiptVoucherTest, YesForTheCurrentReceiptLocksInputAndReprintsOnANewReport) {
  Fail("Usa_CompNFis", 2);
  host_->PushAnswer(true);
  EXPECT_TRUE(Print(Receipt(4, "L")));
  EXPECT_EQ(journal_, Join({{Usa("L1\nL2\nL3\n"), Usa("L4\n") + "=false", "ask:yes", "lock", "sleep(5000)",
                             kClose, kOpen},
                            Sends("L", 4, kTrailer)}));
  EXPECT_TRUE(InputLocked()); // the run that called lifts it
}

TEST_F(ReceiptVoucherTest, AFailedReopeningAsksAgainWithInputUnlockedAndGivesUpAfterThree) {
  Fail("Usa_CompNFis", 1);
  Fail("Relatorio_Gerencial_Imp", 1);
  host_->PushAnswer(true);
  host_->PushAnswer(false);
  EXPECT_FALSE(Print(Receipt(1, "L")));
  EXPECT_EQ(journal_,
            (std::vector<std::string>{Usa("L1\n") + "=false", "ask:yes", "lock", "sleep(5000)", kClose,
                                      std::string(kOpen) + "=false", "unlock", "ask:no", "lock"}));

  journal_.clear();
  Fail("Usa_CompNFis", 1);
  FailFrom("Relatorio_Gerencial_Imp", 1);
  host_->SetFallback([](const MensagemCall&) { return true; });
  EXPECT_FALSE(Print(Receipt(1, "L")));
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), std::string(kOpen) + "=false"), 3);
  EXPECT_EQ(std::vector<std::string>(journal_.end() - 3, journal_.end()),
            (std::vector<std::string>{"unlock", std::string("notice:") + kTimeOut, "lock"}));
  EXPECT_EQ(LogMessages().back(),
            "Zul00500 - ImprCupom - Documento n\xE3o reabriu ap\xF3s 3 tentativas; impress\xE3o abandonada");
}

TEST_F(ReceiptVoucherTest, StandardPrinterReprintClosesTheReportButOpensNone) {
  Fail("ImprimePadrao", 1);
  host_->PushAnswer(true);
  EXPECT_TRUE(Print(Receipt(1, "L"), 1, 0, "N"));
  const std::string print = "ImprimePadrao(std1|std2|L1\n\n\n\n)";
  EXPECT_EQ(journal_,
            (std::vector<std::string>{print + "=false", "ask:yes", "lock", "sleep(5000)", kClose, print}));
}

TEST_F(ReceiptVoucherTest, YesForASavedReceiptWaitsForTheManagerAndStartsOverOnANewReport) {
  SaveReceipt(1, Receipt(1, "S"));
  Fail("Usa_CompNFis", 1);
  host_->PushAnswer(true);
  EXPECT_TRUE(Print(Receipt(1, "C"), 2));
  EXPECT_EQ(journal_, Join({{Usa("S1\n") + "=false", "ask:yes", "ATV", "sleep(1000)", kClose, kOpen},
                            Sends("S", 1, kTrailer),
                            Sends("C", 1, kTrailer)}));
  EXPECT_EQ(LastRequest(kRootTefDial).Field("001-000 "), "0000000042");
}

TEST_F(ReceiptVoucherTest, NoForASavedReceiptAsksForEachRemainingOneAndSkipsTheCurrent) {
  SaveReceipt(1, Receipt(1, "S"));
  SaveReceipt(2, Receipt(1, "T"));
  Fail("Usa_CompNFis", 1);
  EXPECT_FALSE(Print(Receipt(1, "C"), 3));
  EXPECT_EQ(journal_, (std::vector<std::string>{Usa("S1\n") + "=false", "ask:no", "ask:no"}));
}

TEST_F(ReceiptVoucherTest, ASilentManagerAfterASavedReceiptYesEndsAfterThreeFailedChecks) {
  SaveReceipt(1, Receipt(1, "S"));
  dial_.Script({StatusReply::Silent, StatusReply::Silent, StatusReply::Silent, StatusReply::Silent,
                StatusReply::Silent});
  Fail("Usa_CompNFis", 1);
  host_->PushAnswer(true);
  EXPECT_FALSE(Print(Receipt(1, "C"), 2));
  const std::string inactive = std::string("notice:") + kInactive;
  EXPECT_EQ(journal_, (std::vector<std::string>{Usa("S1\n") + "=false", "ask:yes", "ATV", inactive, "ATV",
                                                inactive, "ATV", inactive, "ATV", inactive, "ATV", inactive,
                                                std::string("notice:") + kTimeOut}));
  EXPECT_EQ(LogMessages().back(), "Zul00500 - ImprCupom - Gerenciador inativo ap\xF3s 3 verifica\xE7\xF5"
                                  "es; impress\xE3o abandonada");
}

TEST_F(ReceiptVoucherTest, BadCountsAreErrorsNamingTheFieldOrFileAndAMissingSavedReceiptIsSkipped) {
  const auto object_of = [&](const StringList& answer, int count) -> std::string {
    try {
      Print(answer, count);
    } catch (const Error& error) {
      return error.object();
    }
    return "no error";
  };
  EXPECT_EQ(object_of(Answer({{"028-000", "7x"}}), 1), "028-000 of the answer");
  EXPECT_EQ(object_of(Answer(), 1), "028-000 of the answer");
  StringList bad_second = Receipt(1, "L");
  bad_second.Add("714-000 = dois");
  EXPECT_EQ(object_of(bad_second, 1), "714-000 of the answer");
  SaveReceipt(1, Answer({{"028-000", "1.5"}}));
  EXPECT_EQ(object_of(Receipt(1, "L"), 2), "028-000 of " + dsDirPenTef + "intpos.1");
  SaveReceipt(1, Receipt(1, "S"));
  journal_.clear();
  EXPECT_EQ(object_of(Receipt(1, "L"), 3), "no error");
  EXPECT_EQ(journal_, Join({Sends("S", 1, kTrailer), Sends("L", 1, kTrailer)}));
}

} // namespace
} // namespace zul00500
