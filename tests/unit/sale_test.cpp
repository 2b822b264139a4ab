// The sale's conversation: checks, request, answer wait, and the card log's
// opening and closing lines.
#include <gtest/gtest.h>

#include "platform/regional.h"
#include "support/errors.h"
#include "support/manager_folders.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/form.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::SaleWorld;
using testing::StatusReply;
using testing::WriteResponse;

using testing::kDialResp;
const std::string kFound = "Arquivo encontrado ---";
const std::string kNotAccepted = "Rez00000 - Arquivo de resposta n\xE3o aceito, aguardando outro.";

class SaleTest : public SaleWorld {};

// --- the request -------------------------------------------------------------

struct KindCase {
  const char* kind;
  const char* operation;
  const char* code;
  bool dialog;
  friend void PrintTo(const KindCase& c, std::ostream* out) { *out << "kind " << c.kind; }
};

class SaleKindTest : public SaleTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(SaleKindTest, SendsTheOperationAndCodeOfTheKindAndAcceptsItsHeader) {
  const KindCase& c = GetParam();
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(12.5, 12.5, c.kind));

  const StringList request = SaleRequest();
  const std::string sequence = request.Field("001-000 ");
  EXPECT_EQ(request,
            (StringList{std::string("000-000 = ") + c.operation, "001-000 = " + sequence, "003-000 = 1250",
                        "004-000 = 0", std::string("500-000 = ") + c.code, "701-000 = Quintar v5, 55, 1, 0",
                        "706-000 = 2", "716-000 = VELTRAN SOFTWARE LTDA.", "999-999 = 0"}));
  EXPECT_EQ(sequence.size(), 10u);
  EXPECT_NE(sequence, dial_.Requests()[0].Field("001-000 ")); // the activity check has its own
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", c.operation}));
  EXPECT_EQ(chooser_->Shown().size(), c.dialog ? 1u : 0u);
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(LogCount("Cria arquivo de venda sequencial: " + sequence), 1);
}

INSTANTIATE_TEST_SUITE_P(SaleEveryKind, SaleKindTest,
                         ::testing::Values(KindCase{"C", "CRT", "1", false}, KindCase{"D", "CRT", "2", true},
                                           KindCase{"V", "CRT", "4", true}, KindCase{"A", "CRT", "", true},
                                           KindCase{"Q", "CHQ", "", true}));

struct AmountCase {
  double amount;
  char separator;
  const char* text;
};

class SaleAmountTest : public SaleTest, public ::testing::WithParamInterface<AmountCase> {};

TEST_P(SaleAmountTest, SendsWholeCentsWhateverTheSeparator) {
  platform::RegionalSettings settings;
  settings.decimal_separator = GetParam().separator;
  settings.thousand_separator = GetParam().separator == '.' ? ',' : '.';
  platform::set_regional(settings);
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(GetParam().amount, GetParam().amount));
  EXPECT_EQ(SaleRequest().Field("003-000 "), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(SaleAmounts, SaleAmountTest,
                         ::testing::Values(AmountCase{1234.56, ',', "123456"},
                                           AmountCase{1234.56, '.', "123456"}, AmountCase{0.5, ',', "050"},
                                           AmountCase{0.5, '.', "050"}, AmountCase{1.005, ',', "101"}));

TEST_F(SaleTest, PausesBeforeEachLookAndPumpsOneMessagePerCycle) {
  clock_.at(5000, [this] { WriteResponse(kRootTefDial, "intpos.001", Approval(SaleRequest())); });
  EXPECT_TRUE(Pay(10, 10));
  // Activity check, request, status wait, before the wait, then the wait's
  // cycles until the answer written at 5 s is seen.
  const std::vector<std::uint32_t> sleeps = clock_.sleeps();
  ASSERT_GE(sleeps.size(), 5u);
  EXPECT_EQ(std::vector<std::uint32_t>(sleeps.begin(), sleeps.begin() + 4),
            (std::vector<std::uint32_t>{600, 250, 600, 250}));
  EXPECT_TRUE(std::all_of(sleeps.begin() + 4, sleeps.end(), [](std::uint32_t ms) { return ms == 250; }));
  EXPECT_GE(clock_.elapsed_ms(), 5000);
  EXPECT_LT(clock_.elapsed_ms(), 5250);
  const long cycles = static_cast<long>(sleeps.size()) - 4;
  // Every cycle waits for a message; the approval's dialog adds one more.
  EXPECT_EQ(std::count(events_.begin(), events_.end(), "pump"), cycles + 1);
}

TEST_F(SaleTest, WaitsForTheAnswerWithoutTimeLimitWhileTheOperatorSaysSo) {
  host_->SetFallback([](const MensagemCall&) { return true; });
  clock_.at(10 * 60 * 1000, [this] { WriteResponse(kRootTefDial, "intpos.001", Approval(SaleRequest())); });
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_GE(clock_.elapsed_ms(), 10 * 60 * 1000);
  EXPECT_EQ(LogCount(kFound), 1);
  // Asked after each two silent minutes, then the approval's message.
  ASSERT_EQ(host_->Calls().size(), 5u);
  EXPECT_EQ(host_->Calls()[0].text, "Sem resposta do gerenciador. Continuar aguardando?");
  EXPECT_EQ(host_->Calls()[4].text, "TRANSACAO APROVADA");
}

// --- the answer wait -------------------------------------------------------------

TEST_F(SaleTest, AnAnswerOfAnotherSequenceLeavesTheResponseDirectoryAndTheWaitGoesOn) {
  dial_.QueueAnswers({Approves({{"001-000", "0000000001"}}), Approves()});

  EXPECT_TRUE(Pay(10, 10));

  EXPECT_EQ(LogCount("Rez00000 - Arquivo de resposta errado."), 1);
  EXPECT_EQ(LogCount("Sequencial do arquivo de resposta: 0000000001"), 1);
  EXPECT_EQ(LogCount(kFound), 2);
  // The other approval is kept for the next scan's non-confirmation, the
  // right answer has its own numbered backup; no working copy is left.
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1", "intpos.  2"}));
  EXPECT_EQ(Read(dsDirBkpTef + "intpos.  1").Field("001-000 "), "0000000001");
  EXPECT_EQ(Read(dsDirBkpTef + "intpos.  2"), Approval(SaleRequest()));
  EXPECT_EQ(approved_, 1);
}

TEST_F(SaleTest, LogsWhatTheAnswerSays) {
  dial_.QueueAnswers({Approves({{"009-000", " 05 "}, {"028-000", nullptr}, {"030-000", "NEGADA"}})});
  EXPECT_FALSE(Pay(10, 10));
  const std::vector<std::string> log = LogMessages();
  const auto found = std::find(log.begin(), log.end(), kFound);
  ASSERT_LE(found + 7, log.end());
  EXPECT_EQ(std::vector<std::string>(found, found + 7),
            (std::vector<std::string>{
                kFound, "Sequencial do arquivo de resposta: " + SaleRequest().Field("001-000 "),
                "Linha 000-000: CRT", "Linha 009-000: 05", "Linha 030-000: NEGADA",
                "Rez00000 - Renomeia intpos e cria bkp.", "Rez00000 - Transa\xE7\xE3o n\xE3o aprovada."}));
}

struct DefectCase {
  const char* name;
  const char* kind;
  // The answer turned down, made from the right approval.
  StringList (*defect)(const StringList& approval);
  friend void PrintTo(const DefectCase& c, std::ostream* out) { *out << c.name; }
};

class SaleNotAcceptedTest : public SaleTest, public ::testing::WithParamInterface<DefectCase> {};

// An answer of the right sequence that is not accepted stays until the
// manager replaces it, and is read once, not on every cycle.
TEST_P(SaleNotAcceptedTest, IsReadOnceAndTheWaitGoesOnUntilTheManagerReplacesIt) {
  dial_.QueueAnswers({[](const StringList& request) { return GetParam().defect(Approval(request)); }});
  clock_.at(20000, [this] {
    EXPECT_TRUE(Exists(kDialResp + "intpos.001")); // left where the manager put it
    WriteResponse(kRootTefDial, "intpos.001", Approval(SaleRequest()));
  });

  EXPECT_TRUE(Pay(10, 10, GetParam().kind));

  EXPECT_GE(clock_.elapsed_ms(), 20000);
  EXPECT_EQ(LogCount(kFound), 2);
  EXPECT_EQ(LogCount(kNotAccepted), 1);
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1", "intpos.  2"}));
  EXPECT_EQ(Read(dsDirBkpTef + "intpos.  2"), Approval(SaleRequest()));
  EXPECT_EQ(*receipts_, testing::Block("1", Approval(SaleRequest())));
}

StringList WithFirstLine(const StringList& approval, const std::string& line) {
  StringList out = approval;
  out[0] = line;
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    SaleDefects, SaleNotAcceptedTest,
    ::testing::Values(DefectCase{"cheque header for a card sale", "C",
                                 [](const StringList& a) { return WithFirstLine(a, "000-000 = CHQ"); }},
                      DefectCase{"card header for a cheque", "Q",
                                 [](const StringList& a) { return WithFirstLine(a, "000-000 = CRT"); }},
                      DefectCase{"header with a trailing blank", "C",
                                 [](const StringList& a) { return WithFirstLine(a, "000-000 = CRT "); }},
                      DefectCase{"sequence line with two blanks", "C",
                                 [](const StringList& a) {
                                   StringList out = a;
                                   out[1] = "001-000 =  " + a.Field("001-000 ");
                                   return out;
                                 }},
                      DefectCase{"sequence on the third line", "C", [](const StringList& a) {
                                   StringList out = a;
                                   std::swap(out[1], out[2]);
                                   return out;
                                 }}));

TEST_F(SaleTest, TheErrorAnswerShowsItsMessageAndRemovesTheTransactionsFiles) {
  dial_.QueueAnswers({[](const StringList& request) {
    return StringList{"000-000 = XXX", "001-000 = " + request.Field("001-000 "),
                      "030-000 = ERRO NO GERENCIADOR"};
  }});
  Put(dsDirBkpTef + "keep.txt", {});

  EXPECT_FALSE(Pay(10, 10));

  ASSERT_EQ(host_->Calls().size(), 1u);
  const MensagemCall& call = host_->Calls()[0];
  EXPECT_EQ(call.text, "ERRO NO GERENCIADOR");
  EXPECT_EQ(call.context, "ctx");
  EXPECT_EQ(call.withReceipt, 0);
  EXPECT_EQ(call.yesNo, "N");
  EXPECT_FALSE(Exists(kDialResp + "intpos.001"));
  EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty());
  EXPECT_TRUE(Exists(dsDirBkpTef + "keep.txt"));
  EXPECT_EQ(LogCount("Rez00000 - Erro no arquivo de transacao."), 1);
  EXPECT_EQ(document_, "doc");
  EXPECT_EQ(approved_, 0);
}

TEST_F(SaleTest, TheErrorAnswerWithoutTextShowsNothing) {
  dial_.QueueAnswers({[](const StringList& request) {
    return StringList{"000-000 = XXX", "001-000 = " + request.Field("001-000 ")};
  }});
  EXPECT_FALSE(Pay(10, 10));
  EXPECT_TRUE(host_->Calls().empty());
}

// --- before the request ----------------------------------------------------------

TEST_F(SaleTest, StartsByClearingThePreviousRootsAnswers) {
  DirTef = kRootTefDisc;
  const std::string resp = std::string(kRootTefDisc) + "resp\\";
  Put(resp + "intpos.001", {"000-000 = CRT", "001-000 = 1", "009-000 = 5", "010-000 = TECBAN", "028-000 = 1"});
  Put(resp + "intpos.sts", {"000-000 = CRT"});
  Put(dsDirBkpTef + "intpos.001", {"000-000 = CRT", "001-000 = 1"});
  Put(dsDirBkpTef + "intpos.sts", {"000-000 = CRT"});
  Put(dsDirBkpTef + "keep.txt", {});
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  // Gone before the leftover scan could not-confirm them.
  EXPECT_TRUE(Operations(kRootTefDisc).empty());
  EXPECT_TRUE(Names(resp + "*").empty());
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
  EXPECT_TRUE(Exists(dsDirBkpTef + "keep.txt"));
}

// A sale whose backup could not be written (a full disk) leaves the answer
// in the response directory only: the next sale's clean-up must not delete
// an approved transaction unsettled.
TEST_F(SaleTest, AnAnswerNoBackupHoldsIsLeftForTheScanToNotConfirm) {
  DirTef = kRootTefDisc;
  const std::string resp = std::string(kRootTefDisc) + "resp\\";
  Put(resp + "intpos.001", {"000-000 = CRT", "001-000 = 1", "010-000 = TECBAN", "012-000 = 77", "028-000 = 1",
                            testing::kClosingLine});
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  EXPECT_EQ(Operations(kRootTefDisc), (std::vector<std::string>{"ATV", "NCN"}));
  EXPECT_EQ(LastRequest(kRootTefDisc).Field("012-000 "), "77");
  EXPECT_TRUE(Names(resp + "*").empty());
}

TEST_F(SaleTest, SettlesLeftoversBeforeChoosingTheNetwork) {
  Put(std::string(kRootHiperTef) + "resp\\intpos.001",
      {"000-000 = CRT", "001-000 = 1", "010-000 = HCard", "012-000 = 77", "028-000 = 1"});
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(Operations(kRootHiperTef), (std::vector<std::string>{"ATV", "NCN"}));
  EXPECT_EQ(LastRequest(kRootHiperTef).Field("012-000 "), "77");
  EXPECT_EQ(DirTef, kRootTefDial);
}

// --- every way out logs the opening and the closing line ----------------------

enum class Path {
  LeftoverNotSettled,
  NetworkDialogClosed,
  ManagerInactive,
  SaleNotAcknowledged,
  ErrorAnswer,
  Refused,
  ApprovedWithoutReceipt,
  TotalPayment,
  PartialPayment,
  MalformedAnswer,
  UnwritableBackup,
};

struct PathCase {
  const char* name;
  Path path;
  int outcome; // 1 true, 0 false, -1 throws
  friend void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }
};

class SaleLogTest : public SaleTest, public ::testing::WithParamInterface<PathCase> {
protected:
  // Sets the world up for the path; the payment kind to use.
  std::string Arrange(Path path) {
    switch (path) {
    case Path::LeftoverNotSettled:
      // A leftover whose non-confirmation its manager never acknowledges.
      Put(std::string(kRootTefDisc) + "resp\\intpos.001",
          {"000-000 = CRT", "001-000 = 1", "010-000 = TECBAN", testing::kClosingLine});
      disc_.Script({StatusReply::Acknowledge, StatusReply::Silent});
      break;
    case Path::NetworkDialogClosed:
      SetNetworkChooser(std::make_shared<ScriptedChooser>());
      return "D";
    case Path::ManagerInactive:
      dial_.Script({StatusReply::Silent});
      break;
    case Path::SaleNotAcknowledged:
      dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});
      break;
    case Path::ErrorAnswer:
      dial_.QueueAnswers({Approves({{"000-000", "XXX"}})});
      break;
    case Path::Refused:
      dial_.QueueAnswers({Approves({{"009-000", "51"}})});
      break;
    case Path::ApprovedWithoutReceipt:
      dial_.QueueAnswers({Approves({{"028-000", "0"}})});
      break;
    case Path::TotalPayment:
    case Path::PartialPayment:
      dial_.QueueAnswers({Approves()});
      break;
    case Path::MalformedAnswer:
      dial_.QueueAnswers({Approves({{"028-000", "2x"}})});
      break;
    case Path::UnwritableBackup:
      dsDirBkpTef = HostDirectory() + "\\Missing\\";
      dial_.QueueAnswers({Approves()});
      break;
    }
    return "C";
  }
};

TEST_P(SaleLogTest, OpensAndClosesTheLogExactlyOnce) {
  const std::string kind = Arrange(GetParam().path);
  const double due = GetParam().path == Path::PartialPayment ? 20 : 10;

  int outcome = -1;
  try {
    outcome = Pay(10, due, kind) ? 1 : 0;
  } catch (const Error&) {
  }

  EXPECT_EQ(outcome, GetParam().outcome);
  const std::vector<std::string> log = LogMessages();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "Inicio DoTEF ----");
  EXPECT_EQ(log.back(), "Fim DoTEF ----");
  EXPECT_EQ(LogCount("Inicio DoTEF ----"), 1);
  EXPECT_EQ(LogCount("Fim DoTEF ----"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    SaleEveryPath, SaleLogTest,
    ::testing::Values(PathCase{"leftover not settled", Path::LeftoverNotSettled, 0},
                      PathCase{"network dialog closed", Path::NetworkDialogClosed, 0},
                      PathCase{"manager inactive", Path::ManagerInactive, 0},
                      PathCase{"sale not acknowledged", Path::SaleNotAcknowledged, 0},
                      PathCase{"error answer", Path::ErrorAnswer, 0}, PathCase{"refused", Path::Refused, 0},
                      PathCase{"approved without receipt", Path::ApprovedWithoutReceipt, 1},
                      PathCase{"total payment", Path::TotalPayment, 1},
                      PathCase{"partial payment", Path::PartialPayment, 1},
                      PathCase{"malformed answer", Path::MalformedAnswer, -1},
                      PathCase{"unwritable backup directory", Path::UnwritableBackup, -1}));

TEST_F(SaleTest, AStatusWaitThatFailsStopsBeforeTheAnswerWait) {
  dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});
  EXPECT_FALSE(Pay(10, 10));
  EXPECT_EQ(LogCount("Aguardando resposta ---"), 0);
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, "O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!");
}

TEST_F(SaleTest, AnAnswerThatCannotBeBackedUpReachesTheCallerAndStaysForTheNextScan) {
  dsDirBkpTef = HostDirectory() + "\\Missing\\";
  dial_.QueueAnswers({Approves()});
  EXPECT_THROW(Pay(10, 10), FileError);
  EXPECT_TRUE(Exists(kDialResp + "intpos.001"));
  EXPECT_EQ(approved_, 0);
}

} // namespace
} // namespace zul00500
