#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "printing/printer.h"
#include "printing/printing.h"
#include "receipt_test_support.h"
#include "support/errors.h"
#include "support/input_lock.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::StatusReply;

const std::string kRecord = "GravaDocumentosNaoFiscais(SERIE|ctx|CC||)";
const std::string kVoucher2 = "ABCDEFGHIJKLMNOPQRST";
const std::string kFechaComp = "Fecha_Comp_NFiscalVinc(ctx)";

class ReceiptRunTest : public testing::ReceiptWorld {
protected:
  ReceiptRunTest() {
    stNrSerie = "SERIE";
    // The journal names each request the dial manager takes.
    dial_.OnRequest([this](const StringList& request) { journal_.push_back(request.Field("000-000 ")); });
  }

  // An approved answer of the dial manager with `lines` receipt lines TAG1...
  static StringList Txn(const std::string& sequence, const std::string& tag, int lines = 2,
                        const std::string& network = "REDEX") {
    StringList answer{"000-000 = CRT", "001-000 = " + sequence, "009-000 = 0"};
    if (!network.empty()) answer.Add("010-000 = " + network);
    return AddBlock(answer, "028-000", "029-", lines, tag);
  }
  static StringList Receipts(std::initializer_list<StringList> answers, int first = 1) {
    StringList list;
    int n = first;
    for (const StringList& answer : answers) {
      list.Add(std::to_string(n++));
      for (const std::string& line : answer.lines()) list.Add(line);
    }
    return list;
  }

  bool Run(const StringList& receipts, int type, const std::string& mode = "F", int count = 1, int txns = 1,
           const std::string& voucher1 = "v1", double amount = 12.5) {
    return ImprCupons(receipts, count, txns, type, voucher1, kVoucher2, "ctx", "r1", "r2", "N", mode, "std2",
                      "std1", amount);
  }

  // The backup copy of an answer, as the sale keeps it.
  void Backup(const std::string& name, const StringList& answer) { Put(dsDirBkpTef + name, answer); }
  std::vector<std::string> Backups() const { return Names(dsDirBkpTef + "intpos.*"); }
  std::vector<std::string> Pending() const { return Names(dsDirPenTef + "intpos.*"); }

  static std::string Linked(const std::string& amount) {
    return "Abre_Comp_NFiscalVinc(ctx|" + kVoucher2.substr(0, 16) + "|" + amount + "|v1)";
  }
  // The manager's activity check before the receipt, then the one inside the
  // confirmation and the confirmation itself.
  static std::vector<std::string> Confirmed() { return {"ATV", "ATV", "CNF"}; }
};

// A sale whose last payment printed nothing: nothing is printed, and the
// run ends as every run does. The saved copies of the sale's earlier
// partial payments go, so that no pending cancellation undoes them.
TEST_F(ReceiptRunTest, EmptyListPrintsNothingAndEndsTheSale) {
  SaveReceipt(1, Txn("0000000042", "L"));
  EXPECT_TRUE(Run({}, 1));
  EXPECT_TRUE(journal_.empty());
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{"Zul00500 - ImprCupons inicio", "Zul00500 - ImprCupons fim"}));
  EXPECT_EQ(Pending().size(), 1u); // one payment in all: no copy is the sale's

  EXPECT_TRUE(Run({}, 1, "F", 1, 2));
  EXPECT_TRUE(journal_.empty());
  EXPECT_TRUE(Pending().empty());
}

TEST_F(ReceiptRunTest, TypeOutsideTheTableOpensNothingRecordsTheDocumentAndClosesWithTheReport) {
  Backup("intpos.002", Txn("0000000042", "L"));
  Backup("intpos.003", Txn("0000000077", "K"));
  SaveReceipt(1, Txn("0000000011", "S"));
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 0));
  EXPECT_EQ(journal_, Join({{kRecord}, Confirmed(), Sends("L", 2, kTrailer), {kClose, kClose}}));
  // Only this transaction's backup goes; the settled sale's pending copies too.
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.003"}));
  EXPECT_TRUE(Pending().empty());
  const auto log = LogMessages();
  EXPECT_EQ(log.front(), "Zul00500 - ImprCupons inicio");
  EXPECT_EQ(log.back(), "Zul00500 - ImprCupons fim");
  EXPECT_EQ(DirTef, kRootTefDial);
}

TEST_F(ReceiptRunTest, AnswerWithoutSequenceLeavesOtherTransactionsFilesAlone) {
  Backup("intpos.002", Txn("0000000077", "K"));
  StringList answer = Txn("", "L");
  StringList without;
  for (const std::string& line : answer.lines())
    if (line.rfind("001-000", 0) != 0) without.Add(line);
  EXPECT_TRUE(Run(Receipts({without}), 0));
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.002"}));
}

TEST_F(ReceiptRunTest, ModeNTakesTypeZeroAndCallsNoPrinterProcedureItself) {
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 4, "N"));
  EXPECT_FALSE(InputLocked());
  const auto calls = PrinterCalls();
  ASSERT_FALSE(calls.empty());
  for (const std::string& call : calls) EXPECT_EQ(call.rfind("ImprimePadrao(std1|std2|", 0), 0u) << call;
  EXPECT_EQ(std::vector<std::string>(journal_.begin(), journal_.begin() + 3), Confirmed());
}

TEST_F(ReceiptRunTest, GuardedTypeWithoutVoucherOpensNothingButStillConfirmsAndPrints) {
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 14, "F", 1, 1, "  "));
  EXPECT_EQ(journal_, Join({{kRecord}, Confirmed(), Sends("L", 2, kTrailer), {kClose, kClose}}));
}

TEST_F(ReceiptRunTest, CountZeroHandlesNoReceiptButClosesAndKeepsThePendingDirectory) {
  SaveReceipt(1, Txn("0000000011", "S"));
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 0, "F", 0));
  EXPECT_EQ(journal_, (std::vector<std::string>{kRecord, kClose}));
  EXPECT_EQ(Pending().size(), 1u);
}

TEST_F(ReceiptRunTest, ListWithoutMarkerOneConfirmsAndPrintsNothing) {
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}, 2), 0));
  EXPECT_EQ(journal_, (std::vector<std::string>{kRecord, kClose}));
}

TEST_F(ReceiptRunTest, LinkedVoucherTakesFourteenDigitsAndTypes28And31Thirteen) {
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 1, "F", 1, 1, "v1", 1234.5));
  EXPECT_EQ(journal_.front(), Linked("00000000123450"));
  for (int type : {28, 31}) {
    journal_.clear();
    EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), type, "F", 1, 1, "v1", 1234.5));
    EXPECT_EQ(journal_.front(), Linked("0000000123450")) << type;
  }
  journal_.clear();
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 2, "F", 1, 1, "v1", 12.5));
  EXPECT_EQ(journal_.front(), Linked("00000000001250"));
}

TEST_F(ReceiptRunTest, Type28ClosesEachReceiptWithTheVoucherAndTheRunWithTheReport) {
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 28, "F", 1, 1, "v1", 1234.5));
  const auto calls = PrinterCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], kFechaComp);
  EXPECT_EQ(calls.back(), kClose);
}

TEST_F(ReceiptRunTest, FrameworkPrinterOpensItsVoucherAndClosesByWhatItUsed) {
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 29));
  const auto calls = PrinterCalls();
  EXPECT_EQ(calls.front(), Ccd("AbreCCD"));
  EXPECT_EQ(calls[1], kRecord);
  // UsaRG false: the voucher is closed, after the receipt and at the end.
  const std::vector<std::string> closing{Ccd("UsaRG") + "=false", Ccd("FechaCCD")};
  EXPECT_EQ(std::vector<std::string>(calls.end() - 4, calls.end()), Join({closing, closing}));

  journal_.clear();
  Answers("UsaRG", true);
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 29));
  EXPECT_EQ(PrinterCalls().back(), kClose);
}

TEST_F(ReceiptRunTest, NonLinkedVoucherLocksInputAndLiftsItOnlyForTheQuestion) {
  Fail("Cupom_NFiscNVinc", 1);
  host_->PushAnswer(true);
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 4));
  const std::string open = "Cupom_NFiscNVinc(ctx|00|v1|" + kVoucher2 + "|)";
  EXPECT_EQ(std::vector<std::string>(journal_.begin(), journal_.begin() + 7),
            (std::vector<std::string>{"lock", open + "=false", "unlock", "ask:yes", "lock", open, kRecord}));
  // Only a dialog lifts the lock; talking to the manager does not, and the
  // lock outlives the run.
  EXPECT_EQ(std::vector<std::string>(journal_.begin() + 7, journal_.begin() + 10),
            (std::vector<std::string>{"ATV", "ATV", "CNF"}));
  EXPECT_TRUE(InputLocked());

  journal_.clear();
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 17));
  EXPECT_EQ(journal_[1], "Cupom_NFiscNVinc(ctx|00|0000|" + kVoucher2 + "|)");
}

TEST_F(ReceiptRunTest, OperatorWhoGivesUpTheOpeningGetsEveryWaitingAnswerNotConfirmed) {
  testing::WriteResponse(kRootTefDial, "intpos.001", Txn("0000000042", "L"));
  SaveReceipt(1, Txn("0000000011", "S"));
  Fail("Abre_Comp_NFiscalVinc", 1);
  Fail("Relatorio_Gerencial_Imp", 1);
  host_->PushAnswer(true);
  host_->PushAnswer(false);
  EXPECT_FALSE(Run(Receipts({Txn("0000000042", "L")}), 14, "F", 1, 1, "v1", 1234.5));
  // The retry opens a management report; the question is found under
  // either spelling of its key.
  const auto calls = PrinterCalls();
  EXPECT_EQ(calls,
            (std::vector<std::string>{Linked("00000000123450") + "=false", std::string(kOpen) + "=false"}));
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "ask:yes"), 1);
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "ask:no"), 1);
  EXPECT_EQ(Operations(kRootTefDial).back(), "NCN");
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "CNF"), 0);
  EXPECT_TRUE(Pending().empty());
  EXPECT_EQ(LogMessages().back(), "Zul00500 - ImprCupons fim");
}

TEST_F(ReceiptRunTest, FirstOpeningTypesAskWithTheUpperCaseKeyAndRetryTheSameVoucher) {
  Fail("Abre_Comp_NFiscalVinc", 1);
  host_->PushAnswer(true);
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 9, "F", 1, 1, "v1", 12.5));
  const auto calls = PrinterCalls();
  EXPECT_EQ(
      std::vector<std::string>(calls.begin(), calls.begin() + 3),
      (std::vector<std::string>{Linked("00000000001250") + "=false", Linked("00000000001250"), kRecord}));
}

TEST_F(ReceiptRunTest, RefusedConfirmationTurnsThisAndEveryLaterReceiptIntoANonConfirmation) {
  // Receipt 1: activity check, the confirmation's own check, a silent CNF.
  dial_.Script({StatusReply::Acknowledge, StatusReply::Acknowledge, StatusReply::Silent});
  SaveReceipt(1, Txn("0000000011", "S"));
  Backup("intpos.002", Txn("0000000042", "L"));
  Backup("intpos.003", Txn("0000000043", "M"));
  EXPECT_FALSE(Run(Receipts({Txn("0000000042", "L"), Txn("0000000043", "M")}), 0, "F", 2));
  // The manager took the first confirmation without a word: it gets no
  // non-confirmation after it. The second receipt gets its own.
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "ATV", "CNF", "ATV", "ATV", "NCN"}));
  const auto calls = PrinterCalls();
  EXPECT_EQ(calls, (std::vector<std::string>{kRecord, kClose}));
  EXPECT_TRUE(Backups().empty());
  EXPECT_TRUE(Pending().empty());
}

TEST_F(ReceiptRunTest, AnswerTheManagerNeverTakesStopsAfterTheBoundAndStaysForTheNextScan) {
  Backup("intpos.002", Txn("0000000042", "L", 2, ""));
  EXPECT_FALSE(Run(Receipts({Txn("0000000042", "L", 2, "")}), 0));
  EXPECT_EQ(journal_, (std::vector<std::string>{kRecord, "ATV", std::string("notice:") + kTimeOut, kClose}));
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.002"}));
  const auto log = LogMessages();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.find("0000000042 n\xE3o confirmada ap\xF3s 4 tentativas") != std::string::npos;
  }));
}

TEST_F(ReceiptRunTest, PrinterFailingMidReceiptEndsTheRunAndKeepsThePendingDirectory) {
  SaveReceipt(1, Txn("0000000011", "S"));
  Backup("intpos.002", Txn("0000000042", "L"));
  Backup("intpos.003", Txn("0000000043", "M"));
  FailFrom("Usa_CompNFis", 2);
  host_->SetFallback([](const MensagemCall&) { return false; });
  EXPECT_FALSE(Run(Receipts({Txn("0000000042", "L", 4), Txn("0000000043", "M")}), 0, "F", 2));
  // The first receipt was confirmed before printing; the second is not touched.
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "ATV", "CNF"}));
  const auto calls = PrinterCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), std::string(kClose)), 2);
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.003"}));
  EXPECT_EQ(Pending().size(), 1u);
}

TEST_F(ReceiptRunTest, SeveralTransactionsEmptyThePendingDirectoryAfterEachReceipt) {
  SaveReceipt(1, Txn("0000000011", "S"));
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 0, "F", 1, 2));
  const auto calls = PrinterCalls();
  // The saved receipt prints first, then this one.
  EXPECT_EQ(calls[1], Usa("S1\nS2\n"));
  EXPECT_TRUE(Pending().empty());
}

TEST_F(ReceiptRunTest, ErrorFromAPrinterProcedureStillEndsTheRun) {
  SaveReceipt(1, Txn("0000000011", "S"));
  FechRelatGerenc = nullptr;
  EXPECT_THROW(Run(Receipts({Txn("0000000042", "L")}), 0), PrinterProcedureError);
  EXPECT_EQ(LogMessages().back(), "Zul00500 - ImprCupons fim");
  EXPECT_TRUE(Pending().empty()); // the receipt was printed
}

// --- mishaps, and the scan after them -------------------------------------------------

TEST_F(ReceiptRunTest, AnAbsurdReceiptCountIsRefusedBeforeTheTransactionIsConfirmed) {
  StringList answer{"000-000 = CRT", "001-000 = 0000000042", "009-000 = 0", "010-000 = REDEX",
                    "028-000 = 100000"};
  Backup("intpos.  1", answer);
  try {
    Run(Receipts({answer}), 0);
    ADD_FAILURE() << "accepted";
  } catch (const ConvertError& error) {
    EXPECT_NE(std::string(error.what()).find("028-000"), std::string::npos) << error.what();
  }
  EXPECT_TRUE(dial_.Requests().empty());
  EXPECT_EQ(PrinterCalls(), (std::vector<std::string>{kRecord}));

  // The scan after it undoes the transaction.
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "NCN"}));
}

TEST_F(ReceiptRunTest, ACountOutsideZeroTo999InAnyBlockIsAConvertErrorNamingIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"028-000", "1000"}, {"028-000", "-1"}, {"714-000", "-1"}, {"712-000", "100000"}};
  for (const auto& [field, value] : cases) {
    StringList answer{"000-000 = CRT", "001-000 = 0000000042", std::string(field) + " = " + value};
    if (std::string(field) != "028-000") answer.Add("028-000 = 1");
    try {
      Print(answer);
      ADD_FAILURE() << field << " " << value << " accepted";
    } catch (const ConvertError& error) {
      EXPECT_NE(std::string(error.what()).find(field), std::string::npos) << error.what();
    }
  }
  EXPECT_TRUE(PrinterCalls().empty());
}

TEST_F(ReceiptRunTest, AReceiptThatFailsWithAnErrorAfterItsConfirmationLeavesNothingForTheNextScan) {
  const StringList answer = Txn("0000000042", "L");
  testing::WriteResponse(kRootTefDial, "intpos.001", answer);
  Backup("intpos.  1", answer);
  Usa_CompNFis = nullptr;
  EXPECT_THROW(Run(Receipts({answer}), 0), PrinterProcedureError);
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "ATV", "CNF"}));
  EXPECT_TRUE(Backups().empty());

  // Confirmed is confirmed: the next scan sends no non-confirmation.
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Operations(kRootTefDial).size(), 3u);
}

TEST_F(ReceiptRunTest, AnOpeningThatFailsWithAnErrorLeavesTheInputUnlocked) {
  Cupom_NFiscNVinc = nullptr;
  EXPECT_THROW(Run(Receipts({Txn("0000000042", "L")}), 4), PrinterProcedureError);
  EXPECT_FALSE(InputLocked());
}

TEST_F(ReceiptRunTest, AnAbsurdCountFromTheHostStopsAtTheEndOfTheList) {
  EXPECT_TRUE(Run(Receipts({Txn("0000000042", "L")}), 0, "F", std::numeric_limits<std::int32_t>::max()));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "ATV", "CNF"}));
}

} // namespace
} // namespace zul00500
