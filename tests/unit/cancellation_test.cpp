#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "cancellation/cancellation.h"
#include "receipt_test_support.h"
#include "support/dialog_expectations.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/input_lock.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::Fields;
using testing::StatusReply;

constexpr const char* kCancelledSequence = "0000000042"; // sequence of the transaction being cancelled
const std::string kResp = std::string(kRootTefDial) + "resp\\";

// A cancellation the manager approves with a one-line receipt.
Fields Cancelled(Fields more = {}) {
  Fields fields{{"028-000", "1"},
                {"029-001", "\"CANCELAMENTO OK\""},
                {"029-002", nullptr},
                {"030-000", "CANCELAMENTO APROVADO"}};
  fields.insert(fields.end(), more.begin(), more.end());
  return fields;
}

// Arguments 8 and 10 to 14 of CancelaTEF.
struct Values {
  std::string pending = kCancelledSequence, amount = "1000", network = "REDEY", document = "654321",
              f022 = "07122026", f023 = "080000";
};

class CancelaTEFTest : public testing::ReceiptWorld {
protected:
  bool Cancel(bool printAndConfirm = true, const Values& v = Values()) {
    return CancelaTEF("r1", "r2", "ctx", "N", 1, 1, 0, v.pending, "x", v.amount, v.network, v.document,
                      v.f022, v.f023, "F", "std2", "std1", printAndConfirm);
  }

  // The cancellation request the manager of `root` took, empty when none.
  StringList CncRequest(const std::string& root = kRootTefDial) {
    for (const StringList& request : Manager(root).Requests())
      if (request.Field("000-000 ") == "CNC") return request;
    return {};
  }
  std::string Sequence() { return CncRequest().Field("001-000 "); }

  // True when some "intpos.*" of `directory` carries `sequence`.
  static bool Holds(const std::string& directory, const std::string& sequence) {
    for (const std::string& name : Names(directory + "intpos.*")) {
      StringList file;
      file.LoadFromFile(directory + name);
      if (file.IndexOf("001-000 = " + sequence) >= 0) return true;
    }
    return false;
  }
  void ExpectNoFileOfTheCancellation() {
    const std::string sequence = Sequence();
    ASSERT_FALSE(sequence.empty());
    EXPECT_FALSE(Holds(kResp, sequence));
    EXPECT_FALSE(Holds(dsDirBkpTef, sequence));
    EXPECT_FALSE(Holds(dsDirPenTef, sequence));
  }
  void SavePending(int k, const std::string& sequence) {
    SaveReceipt(k, StringList{"000-000 = CRT", "001-000 = " + sequence, "028-000 = 1"});
  }
  bool Pending(int k) { return Exists(dsDirPenTef + "intpos." + std::to_string(k)); }
  bool Printed() const { return !PrinterCalls().empty(); }
};

TEST_F(CancelaTEFTest, ApprovedCancellationIsPrintedConfirmedAndRemovesOnlyItsPendingCopy) {
  SavePending(1, kCancelledSequence);
  SavePending(2, "0000000077");
  dial_.QueueAnswers({Approves(Cancelled())});
  EXPECT_TRUE(Cancel());

  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNC", "ATV", "CNF"}));
  EXPECT_FALSE(Pending(1));
  EXPECT_TRUE(Pending(2));
  ExpectNoFileOfTheCancellation();
  EXPECT_NE(Sequence(), kCancelledSequence);
  const std::vector<std::string> calls = PrinterCalls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), Usa("CANCELAMENTO OK\n")), calls.end());
  ASSERT_FALSE(host_->Calls().empty());
  testing::ExpectDialog(host_->Calls()[0], "CANCELAMENTO APROVADO", "N", 0, "ctx", 1);
}

TEST_F(CancelaTEFTest, MessageOfAReceiptIsFollowedByOneWaitForAMessageBeforePrinting) {
  record_pumps_ = true;
  dial_.QueueAnswers({Approves(Cancelled())});
  EXPECT_TRUE(Cancel());
  const auto shown = std::find(journal_.begin(), journal_.end(), "notice:CANCELAMENTO APROVADO");
  ASSERT_NE(shown, journal_.end());
  ASSERT_NE(shown + 1, journal_.end());
  EXPECT_EQ(*(shown + 1), "pump");
}

TEST_F(CancelaTEFTest, RequestHasTwelveLinesWithTheValuesUnchanged) {
  dial_.QueueAnswers({Approves(Cancelled())});
  EXPECT_TRUE(Cancel(false, {kCancelledSequence, " 10,00", "REDEY", "", "", ""}));
  EXPECT_EQ(CncRequest(), (StringList{"000-000 = CNC", "001-000 = " + Sequence(), "003-000 =  10,00",
                                      "004-000 = 0", "010-000 = REDEY", "012-000 = ", "022-000 = ",
                                      "023-000 = ", "701-000 = Quintar v5, 55, 1, 0", "706-000 = 2",
                                      "716-000 = VELTRAN SOFTWARE LTDA.", "999-999 = 0"}));
}

TEST_F(CancelaTEFTest, NetworkChoosesTheRootBeforeAnythingElseAndKeepsIt) {
  disc_.Script({StatusReply::Silent});
  EXPECT_FALSE(Cancel(true, {kCancelledSequence, "1000", "TECBAN"}));
  EXPECT_EQ(DirTef, kRootTefDisc);
  EXPECT_EQ(Operations(kRootTefDisc), (std::vector<std::string>{"ATV"}));
  EXPECT_TRUE(Operations(kRootTefDial).empty());
}

TEST_F(CancelaTEFTest, UnacknowledgedRequestReturnsFalseWithoutWaitingForAnAnswer) {
  SavePending(1, kCancelledSequence);
  dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});
  EXPECT_FALSE(Cancel());
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNC"}));
  EXPECT_TRUE(Pending(1));
  EXPECT_FALSE(Printed());
}

TEST_F(CancelaTEFTest, WithoutPrintingOnlyTheMessageIsShownAndTheResultIsTrue) {
  SavePending(1, kCancelledSequence);
  dial_.QueueAnswers({Approves(Cancelled())});
  EXPECT_TRUE(Cancel(false));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNC"}));
  EXPECT_FALSE(Printed());
  EXPECT_TRUE(Pending(1));
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, "CANCELAMENTO APROVADO");
  EXPECT_EQ(host_->Calls()[0].withReceipt, 0);
  ExpectNoFileOfTheCancellation();
}

class CancelaTEFNoReceiptTest : public CancelaTEFTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CancelaTEFNoReceiptTest, CountEmptyOrZeroShowsTheMessageOnlyAndKeepsThePendingCopy) {
  SavePending(1, kCancelledSequence);
  dial_.QueueAnswers({Approves(Cancelled({{"028-000", GetParam()}, {"029-001", nullptr}}))});
  EXPECT_TRUE(Cancel());
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNC"}));
  EXPECT_FALSE(Printed());
  EXPECT_TRUE(Pending(1));
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].withReceipt, 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, CancelaTEFNoReceiptTest, ::testing::Values("0", " 0 ", "", "  "));

TEST_F(CancelaTEFTest, BlankMessageShowsNoDialog) {
  dial_.QueueAnswers({Approves(Cancelled({{"030-000", "   "}}))});
  EXPECT_TRUE(Cancel());
  EXPECT_TRUE(Printed());
  EXPECT_TRUE(host_->Calls().empty());
}

TEST_F(CancelaTEFTest, AnEmptyTransactionSequenceRemovesNoPendingCopy) {
  // It names no transaction: the other partial payments must stay pending
  // until they are refunded too.
  SavePending(1, kCancelledSequence);
  SavePending(2, "0000000077");
  Put(dsDirPenTef + "intpos.x", StringList{"no sequence"});
  dial_.QueueAnswers({Approves(Cancelled())});
  Values values;
  values.pending = "";
  EXPECT_TRUE(Cancel(true, values));
  EXPECT_TRUE(Printed());
  EXPECT_EQ(Names(dsDirPenTef + "intpos.*"), (std::vector<std::string>{"intpos.1", "intpos.2", "intpos.x"}));
}

TEST_F(CancelaTEFTest, ReceiptThatDidNotPrintIsNotConfirmedAndThePendingCopyStays) {
  SavePending(1, kCancelledSequence);
  FailFrom("Usa_CompNFis", 1);
  dial_.QueueAnswers({Approves(Cancelled())});
  EXPECT_TRUE(Cancel());
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNC", "ATV", "NCN"}));
  EXPECT_TRUE(Pending(1));
  ExpectNoFileOfTheCancellation();
}

// The manager took the cancellation's "CNF" and never acknowledged it: the
// payment may well be cancelled, so its pending copy goes (no pending
// cancellation offers it again); the approval and the note of its "CNF"
// stay in the backup directory for the next scan, which settles nothing
// twice.
TEST_F(CancelaTEFTest, ConfirmationTakenButNotAcknowledgedEndsThePendingCopy) {
  SavePending(1, kCancelledSequence);
  dial_.Script(
      {StatusReply::Acknowledge, StatusReply::Acknowledge, StatusReply::Acknowledge, StatusReply::Silent});
  dial_.QueueAnswers({Approves(Cancelled())});
  EXPECT_TRUE(Cancel());
  EXPECT_TRUE(Printed());
  EXPECT_FALSE(Pending(1));
  EXPECT_FALSE(Holds(kResp, Sequence()));
  EXPECT_TRUE(Holds(dsDirBkpTef, Sequence()));
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNC", "ATV", "CNF"}));
}

TEST_F(CancelaTEFTest, ErrorWhilePrintingStillRemovesTheCancellationsFiles) {
  SavePending(1, kCancelledSequence);
  dial_.QueueAnswers({Approves(Cancelled({{"028-000", "um"}}))});
  EXPECT_THROW(Cancel(), ConvertError);
  EXPECT_TRUE(Pending(1));
  ExpectNoFileOfTheCancellation();
}

// An answer the wait turns down: how it differs from the awaited one, and
// how many backup copies the cancellation's clean-up leaves (copies that
// carry the cancellation's sequence go with it).
struct Stray {
  const char* name;
  void (*spoil)(StringList& answer);
  std::size_t copies_while_there; // 0: never whole, so never read
  std::size_t backups_left;
};

void PrintTo(const Stray& stray, std::ostream* os) { *os << stray.name; }

class CancelaTEFStrayTest : public CancelaTEFTest, public ::testing::WithParamInterface<Stray> {};

TEST_P(CancelaTEFStrayTest, IsReadOnceAndTheWaitGoesOnForTheRightOne) {
  dial_.OnRequest([this](const StringList& request) {
    if (request.Field("000-000 ") != "CNC") return;
    StringList stray = Approval(request, Cancelled());
    GetParam().spoil(stray);
    testing::WriteResponse(kRootTefDial, "intpos.001", stray);
    clock_.at(clock_.elapsed_ms() + 5000, [this, request] {
      // However long it lay there, the stray answer was read, and copied, once.
      EXPECT_EQ(Names(dsDirBkpTef + "intpos.*").size(), GetParam().copies_while_there);
      testing::WriteResponse(kRootTefDial, "intpos.001", Approval(request, Cancelled()));
    });
  });
  EXPECT_TRUE(Cancel());
  EXPECT_TRUE(Printed());
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*").size(), GetParam().backups_left);
  ExpectNoFileOfTheCancellation();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CancelaTEFStrayTest,
    ::testing::Values(Stray{"OtherSequence", [](StringList& a) { a[1] = "001-000 = 0000000001"; }, 1, 1},
                      Stray{"SaleHeader", [](StringList& a) { a[0] = "000-000 = CRT"; }, 1, 0},
                      // The error answer of another request; one of this
                      // request ends the cancellation (settlement tests).
                      Stray{"ErrorAnswerOfAnotherSequence",
                            [](StringList& a) {
                              a[0] = "000-000 = XXX";
                              a[1] = "001-000 = 0000000001";
                            },
                            1, 1},
                      Stray{"SequenceWithBlank", [](StringList& a) { a[1] += " "; }, 1, 0},
                      // No closing line and not whole: never taken at all.
                      Stray{"HeaderOnly", [](StringList& a) { a = StringList{a[0]}; }, 0, 0}),
    [](const ::testing::TestParamInfo<Stray>& info) { return std::string(info.param.name); });

TEST_F(CancelaTEFTest, WaitWithoutAnswerEndsAtItsBoundWithTimeOutAndCleansUp) {
  SavePending(1, kCancelledSequence);
  std::int64_t requested_at = -1;
  dial_.OnRequest([&](const StringList& request) {
    if (request.Field("000-000 ") != "CNC") return;
    requested_at = clock_.elapsed_ms();
    // An answer of another request lies there the whole time.
    StringList other = Approval(request, Cancelled());
    other[1] = "001-000 = 0000000001";
    testing::WriteResponse(kRootTefDial, "intpos.001", other);
  });
  const int sleeps_before = clock_.sleep_count();
  EXPECT_FALSE(Cancel());
  ASSERT_GE(requested_at, 0);
  const std::int64_t waited = clock_.elapsed_ms() - requested_at;
  EXPECT_GE(waited, 10 * 60 * 1000);
  EXPECT_LT(waited, 10 * 60 * 1000 + 2000);
  const std::vector<std::uint32_t> sleeps = clock_.sleeps();
  EXPECT_LE(*std::max_element(sleeps.end() - 100, sleeps.end()), 50u); // short pauses, no spin
  EXPECT_GT(clock_.sleep_count() - sleeps_before, 1000);
  ASSERT_FALSE(host_->Calls().empty());
  EXPECT_EQ(host_->Calls().back().text, kTimeOut);
  EXPECT_FALSE(Printed());
  EXPECT_TRUE(Pending(1));
  // The other answer was read once and is left for the manager.
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*").size(), 1u);
  EXPECT_TRUE(Exists(kResp + "intpos.001"));
  ExpectNoFileOfTheCancellation();
  const std::vector<std::string> log = LogMessages();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Zul00500 - CancelaTEF - sem resposta do gerenciador, sequencial " + Sequence());
}

TEST_F(CancelaTEFTest, AnAnswerReadBeforeItWasWholeLeavesNoBackupForTheNextScanToTripOn) {
  // The manager had written only the header line when the wait first read.
  testing::FaultyFs torn;
  torn.tear_reads(kResp + "intpos.001", std::string("000-000 = CNC\r\n").size());
  platform::ScopedFileSystem scoped(torn);
  SavePending(1, kCancelledSequence);
  dial_.QueueAnswers({Approves(Cancelled())});

  EXPECT_TRUE(Cancel());
  EXPECT_TRUE(Printed());
  EXPECT_FALSE(Pending(1));
  EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty());
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
}

TEST_F(CancelaTEFTest, ItsDialogsAreShownWithTheInputUnlockedAndTheLockPutBack) {
  // As a reprint the operator accepted leaves it: input locked.
  BloqueiaTeclado();
  std::vector<bool> locked_at_dialog;
  host_->SetObserver([&](const MensagemCall&) { locked_at_dialog.push_back(InputLocked()); });
  FailFrom("Usa_CompNFis", 1);
  dial_.QueueAnswers({Approves(Cancelled())});

  EXPECT_TRUE(Cancel());

  // The manager's message, the printer question, the non-confirmation notice.
  EXPECT_EQ(locked_at_dialog, (std::vector<bool>{false, false, false}));
  EXPECT_TRUE(InputLocked());

  // The manager gone: its warning too.
  locked_at_dialog.clear();
  dial_.Script({StatusReply::Silent});
  EXPECT_FALSE(Cancel());
  EXPECT_EQ(locked_at_dialog, (std::vector<bool>{false}));
  EXPECT_TRUE(InputLocked());
}

// --- CancelaTEFs -------------------------------------------------------------

class CancelaTEFsTest : public testing::ManagerWorld {
protected:
  ~CancelaTEFsTest() override {
    stlCuponsTEF.reset();
    inContCuponsTEF = 0;
  }
  static StringList Answer(const std::string& sequence, const std::string& network) {
    return StringList{"000-000 = CRT", "001-000 = " + sequence, "010-000 = " + network, "028-000 = 0"};
  }
  // Puts an answer of `sequence` into the response directory of `root`.
  static void Answered(const std::string& root, const std::string& name, const std::string& sequence) {
    testing::WriteResponse(root, name, Answer(sequence, "x"));
  }
  void Receipts(std::int32_t count, std::initializer_list<StringList> parts) {
    auto list = std::make_shared<StringList>();
    for (const StringList& part : parts)
      for (const std::string& line : part.lines()) list->Add(line);
    stlCuponsTEF = list;
    inContCuponsTEF = count;
  }
  static std::vector<std::string> Resp(const std::string& root) { return Names(root + "resp\\intpos.*"); }
};

TEST_F(CancelaTEFsTest, DeletesEachTransactionsAnswersInItsNetworksRootAndLeavesTheListAlone) {
  Answered(kRootTefDial, "intpos.001", "11");
  Answered(kRootTefDial, "intpos.002", "99");
  Answered(kRootTefDisc, "intpos.001", "22");
  Receipts(2, {{"1"}, Answer(" 11 ", "REDEY"), {"2"}, Answer("22", "TECBAN")});
  const StringList before = *stlCuponsTEF;
  CancelaTEFs(false);
  EXPECT_EQ(Resp(kRootTefDial), (std::vector<std::string>{"intpos.002"}));
  EXPECT_TRUE(Resp(kRootTefDisc).empty());
  EXPECT_EQ(DirTef, kRootTefDisc);
  EXPECT_EQ(*stlCuponsTEF, before);
  EXPECT_EQ(inContCuponsTEF, 2);
  EXPECT_TRUE(Operations(kRootTefDial).empty());
}

TEST_F(CancelaTEFsTest, CountOfZeroDoesNothing) {
  Answered(kRootTefDial, "intpos.001", "11");
  Receipts(0, {{"1"}, Answer("11", "REDEY")});
  CancelaTEFs(true);
  EXPECT_EQ(Resp(kRootTefDial).size(), 1u);
  EXPECT_TRUE(DirTef.empty());
  stlCuponsTEF.reset();
  CancelaTEFs(true); // no list at all
}

TEST_F(CancelaTEFsTest, TransactionsWithoutMarkerAreSkipped) {
  Answered(kRootTefDisc, "intpos.001", "22");
  Receipts(5, {{"1"}, Answer("11", "REDEY"), {"2"}, Answer("22", "TECBAN")});
  CancelaTEFs(false);
  EXPECT_TRUE(Resp(kRootTefDisc).empty());
  EXPECT_EQ(DirTef, kRootTefDisc);
}

TEST_F(CancelaTEFsTest, MarkerAsLastLineOrFollowedByTheNextMarkerGivesAnEmptyBlockThatIsSkipped) {
  Answered(kRootHiperTef, "intpos.001", "33");
  Receipts(3, {{"1"}, {"2"}, Answer("33", "HCard"), {"3"}});
  CancelaTEFs(false);
  EXPECT_TRUE(Resp(kRootHiperTef).empty());
  EXPECT_EQ(DirTef, kRootHiperTef); // neither block 1 nor block 3 moved it
}

TEST_F(CancelaTEFsTest, LastLineBelongsToTheLastBlock) {
  Answered(kRootHiperTef, "intpos.001", "33");
  Receipts(2, {{"1"}, Answer("11", "REDEY"), {"2", "001-000 = 33", "010-000 = HCard"}});
  CancelaTEFs(false);
  EXPECT_TRUE(Resp(kRootHiperTef).empty());
  EXPECT_EQ(DirTef, kRootHiperTef);
}

TEST_F(CancelaTEFsTest, ABlockWithoutSequenceDeletesNoAnswer) {
  Answered(kRootTefDial, "intpos.001", "11");
  Answered(kRootTefDial, "intpos.002", "12");
  Receipts(2, {{"1"}, {"010-000 = REDEY", "028-000 = 1"}, {"2"}, Answer("12", "REDEY")});
  CancelaTEFs(false);
  EXPECT_EQ(Resp(kRootTefDial), (std::vector<std::string>{"intpos.001"}));
}

TEST_F(CancelaTEFsTest, AnAbsurdCountFromTheHostStopsAtTheEndOfTheList) {
  Answered(kRootTefDisc, "intpos.001", "22");
  Receipts(std::numeric_limits<std::int32_t>::max(),
           {{"1"}, Answer("11", "REDEY"), {"2"}, Answer("22", "TECBAN")});
  CancelaTEFs(false);
  EXPECT_TRUE(Resp(kRootTefDisc).empty());
  EXPECT_EQ(DirTef, kRootTefDisc);
}

} // namespace
} // namespace zul00500
