#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/activity_log_lines.h"
#include "support/dialog_expectations.h"
#include "support/faulty_fs.h"
#include "support/manager_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/holder.h"
#include "tef/network_choice.h"
#include "tef/settlement/confirmation.h"

namespace zul00500 {
namespace {

using testing::FaultyFs;
using testing::FsOp;
using testing::ManagerWorld;
using testing::StatusReply;

using testing::kWaiting;
using testing::kActive;
const std::string kConfirmed = "Zul00500 - Transa\xE7\xE3o foi confirmada";
const std::string kNotConfirmed = "Zul00500 - Transa\xE7\xE3o n\xE3o foi confirmada";
const std::string kNotActive = "O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!";
const std::string kCancelledNotice = "Cancelada a Transa\xE7\xE3o";

// An approved card sale of the network `network`, as a manager answers it.
StringList Sale(const std::string& network = "REDEY") {
  return {"000-000 = CRT",
          "001-000 = 0000000042",
          "003-000 = 1250",
          "009-000 = 0",
          "010-000 = " + network,
          "012-000 = 123456",
          "027-000 = 0123456789012",
          "028-000 = 1",
          "029-001 = \"COMPROVANTE\""};
}

// `answer` with field `id` set to `value`, or without it when `value` is null.
StringList With(StringList answer, const std::string& id, const char* value) {
  StringList out;
  bool replaced = false;
  for (const std::string& line : answer.lines()) {
    if (line.rfind(id + " ", 0) != 0) {
      out.Add(line);
    } else if (value && !replaced) {
      out.Add(id + " = " + value);
      replaced = true;
    }
  }
  if (value && !replaced) out.Add(id + " = " + value);
  return out;
}

// A parameter with a name that failure messages show.
struct AnswerCase {
  const char* name;
  StringList answer;
  friend void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }
};

class VerificaRetornoTest : public ManagerWorld {
protected:
  bool Confirm(const StringList& answer) { return VerificaRetorno("ctx", answer, false, "S"); }
  bool NotConfirm(const StringList& answer) { return VerificaRetorno("ctx", answer, true, "S"); }
  bool NoRequestTaken() {
    return dial_.Requests().empty() && disc_.Requests().empty() && hiper_.Requests().empty();
  }
};

// --- answers that need no confirmation -------------------------------------

class NothingToConfirmTest : public VerificaRetornoTest, public ::testing::WithParamInterface<AnswerCase> {
protected:
  // The answer's own files (sequence 42) and another transaction's (77)
  // in two response directories and the backups.
  void PutLeftovers() {
    const StringList other = With(Sale(), "001-000", "0000000077");
    for (const char* root : {kRootTefDial, kRootTefDisc}) {
      Put(std::string(root) + "resp\\intpos.001", Sale());
      Put(std::string(root) + "resp\\intpos.002", other);
    }
    Put(dsDirBkpTef + "intpos.  1", Sale());
    Put(dsDirBkpTef + "intpos.  2", other);
    Put(dsDirBkpTef + "keep.txt", {});
  }
};

TEST_P(NothingToConfirmTest, RemovesOnlyItsOwnFilesFromTheStoredRootAndTheBackupsWithoutAnyRequest) {
  PutLeftovers();
  StoreDirTef(kRootTefDisc);
  DirTef = kRootTefDial; // DIRTEF.cds wins over the current root

  EXPECT_TRUE(NotConfirm(GetParam().answer));

  EXPECT_EQ(DirTef, kRootTefDisc);
  // The other transaction keeps its answers, for their non-confirmation.
  EXPECT_EQ(Names(std::string(kRootTefDisc) + "resp\\intpos.*"), (std::vector<std::string>{"intpos.002"}));
  EXPECT_EQ(Names(std::string(kRootTefDial) + "resp\\intpos.*").size(), 2u);
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  2"}));
  EXPECT_TRUE(Exists(dsDirBkpTef + "keep.txt"));
  EXPECT_TRUE(NoRequestTaken());
  EXPECT_TRUE(host_->Calls().empty());
  EXPECT_TRUE(LogMessages().empty());
}

TEST_P(NothingToConfirmTest, WithoutStoredRootClearsTheCurrentOne) {
  PutLeftovers();
  DirTef = kRootTefDial;
  EXPECT_TRUE(Confirm(GetParam().answer));
  EXPECT_EQ(Names(std::string(kRootTefDial) + "resp\\intpos.*"), (std::vector<std::string>{"intpos.002"}));
  EXPECT_EQ(Names(std::string(kRootTefDisc) + "resp\\intpos.*").size(), 2u);
  EXPECT_TRUE(NoRequestTaken());
}

INSTANTIATE_TEST_SUITE_P(
    AdministrativeOrWithoutReceipt, NothingToConfirmTest,
    ::testing::Values(AnswerCase{"ADM FF alone", {"000-000 = ADM", "001-000 = 0000000042", "009-000 = FF"}},
                      AnswerCase{"ADM FF with blanks",
                                 With(With(Sale(), "000-000", " ADM "), "009-000", "FF ")},
                      AnswerCase{"CRT without receipt", With(Sale(), "028-000", "  0 ")}));

TEST_F(VerificaRetornoTest, AnAnswerWithNothingToConfirmAndNoSequenceRemovesNothing) {
  Put(std::string(kRootTefDial) + "resp\\intpos.001", Sale());
  Put(dsDirBkpTef + "intpos.  1", Sale());
  DirTef = kRootTefDial;
  EXPECT_TRUE(Confirm({"000-000 = ADM", "009-000 = FF"}));
  EXPECT_TRUE(Exists(std::string(kRootTefDial) + "resp\\intpos.001"));
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.  1"));
  EXPECT_TRUE(NoRequestTaken());
}

// Answers that meet only half of a test, or a test only loosely, are
// confirmed like any other.
class ConfirmedNormallyTest : public VerificaRetornoTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ConfirmedNormallyTest, SendsTheConfirmation) {
  EXPECT_TRUE(Confirm(GetParam().answer));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNF"}));
}

INSTANTIATE_TEST_SUITE_P(HalfMatches, ConfirmedNormallyTest,
                         ::testing::Values(AnswerCase{"CRT without count", With(Sale(), "028-000", nullptr)},
                                           AnswerCase{"CRT with count 00", With(Sale(), "028-000", "00")},
                                           AnswerCase{"CRT FF with receipt", With(Sale(), "009-000", "FF")},
                                           AnswerCase{"ADM ff",
                                                      With(With(Sale(), "000-000", "ADM"), "009-000", "ff")},
                                           AnswerCase{"CHQ without receipt",
                                                      With(With(Sale(), "000-000", "CHQ"), "028-000", "0")}));

// --- no network ------------------------------------------------------------

TEST_F(VerificaRetornoTest, WithoutNetworkNameFailsSilentlyAndTouchesNothing) {
  StoreDirTef(kRootHiperTef);
  DirTef = kRootTefDial;
  Put(std::string(kRootHiperTef) + "resp\\intpos.001", Sale());
  Put(dsDirBkpTef + "intpos.001", Sale());

  EXPECT_FALSE(NotConfirm(With(Sale(), "010-000", nullptr)));
  EXPECT_FALSE(NotConfirm(With(Sale(), "010-000", "   ")));

  EXPECT_EQ(DirTef, kRootHiperTef); // only reloaded
  EXPECT_TRUE(Exists(std::string(kRootHiperTef) + "resp\\intpos.001"));
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.001"));
  EXPECT_TRUE(NoRequestTaken());
  EXPECT_TRUE(host_->Calls().empty());
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_EQ(clock_.sleep_count(), 0);
}

// --- the network decides the root --------------------------------------------

struct NetworkCase {
  const char* network;
  const char* root;
  friend void PrintTo(const NetworkCase& c, std::ostream* out) { *out << c.network; }
};

class NetworkRootTest : public VerificaRetornoTest, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(NetworkRootTest, SendsThroughTheNetworksRootAndStoresIt) {
  // Whatever root was current or stored before.
  for (const char* before : {kRootTefDial, kRootTefDisc, kRootHiperTef}) {
    if (before == std::string(GetParam().root)) continue;
    StoreDirTef(before);
    break;
  }

  EXPECT_TRUE(Confirm(Sale(GetParam().network)));

  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef}) {
    const auto expected = root == std::string(GetParam().root) ? std::vector<std::string>{"ATV", "CNF"}
                                                               : std::vector<std::string>{};
    EXPECT_EQ(Operations(root), expected) << root;
  }
  EXPECT_EQ(DirTef, GetParam().root);
  DirTef.clear();
  ReloadDirTef();
  EXPECT_EQ(DirTef, GetParam().root);
}

INSTANTIATE_TEST_SUITE_P(EveryNetwork, NetworkRootTest,
                         ::testing::Values(NetworkCase{"TECBAN", kRootTefDisc},
                                           NetworkCase{"HCard", kRootHiperTef},
                                           NetworkCase{"REDEY", kRootTefDial},
                                           NetworkCase{"tecban", kRootTefDial},
                                           NetworkCase{"HCARD", kRootTefDial}));

// --- the confirmation request ------------------------------------------------

TEST_F(VerificaRetornoTest, RequestCarriesTheAnswersTrimmedValuesAndAFreshSequence) {
  StringList answer =
      With(With(With(Sale(), "010-000", "  REDEY "), "012-000", "123456  "), "027-000", "  abc  ");
  ASSERT_TRUE(Confirm(answer));

  ASSERT_EQ(dial_.Requests().size(), 2u);
  const StringList& request = dial_.Requests()[1];
  const std::string sequence = request.Field("001-000 ");
  EXPECT_EQ(request, (StringList{"000-000 = CNF", "001-000 = " + sequence, "010-000 = REDEY",
                                 "012-000 = 123456", "027-000 = abc", "999-999 = 0"}));
  EXPECT_EQ(sequence.size(), 10u);
  EXPECT_NE(sequence, "0000000042");
  EXPECT_NE(sequence, dial_.Requests()[0].Field("001-000 ")); // made after the activity check
}

TEST_F(VerificaRetornoTest, RequestWritesMissingValuesAsEmpty) {
  ASSERT_TRUE(NotConfirm(With(With(Sale(), "012-000", nullptr), "027-000", nullptr)));
  const StringList& request = LastRequest(kRootTefDial);
  ASSERT_EQ(request.Count(), 6u);
  EXPECT_EQ(request[0], "000-000 = NCN");
  EXPECT_EQ(request[3], "012-000 = ");
  EXPECT_EQ(request[4], "027-000 = ");
}

TEST_F(VerificaRetornoTest, DeletesTheFixedAnswerAndStatusNamesFirstInOrder) {
  Put(dsDirBkpTef + "intpos.001", Sale());
  Put(dsDirBkpTef + "intpos.  3", Sale());
  FaultyFs recorder;
  platform::ScopedFileSystem scoped(recorder);

  ASSERT_TRUE(Confirm(Sale("HCard")));

  const std::vector<std::string> removed = recorder.paths(FsOp::RemoveFile);
  ASSERT_GE(removed.size(), 4u);
  const std::string resp = std::string(kRootHiperTef) + "resp\\";
  EXPECT_EQ(std::vector<std::string>(removed.begin(), removed.begin() + 4),
            (std::vector<std::string>{resp + "intpos.001", resp + "intpos.sts", dsDirBkpTef + "intpos.001",
                                      dsDirBkpTef + "intpos.sts"}));
  EXPECT_FALSE(Exists(dsDirBkpTef + "intpos.001"));
}

// A power cut between the acknowledgement and the caller's clean-up would
// leave the answer for the next scan, which would settle it a second time.
TEST_F(VerificaRetornoTest, ASettledTransactionsBackupsGoBeforeAnythingElseIsDone) {
  Put(dsDirBkpTef + "intpos.  3", Sale());
  Put(dsDirBkpTef + "intpos.  4", With(Sale(), "001-000", "0000000077"));
  FaultyFs recorder;
  platform::ScopedFileSystem scoped(recorder);

  ASSERT_TRUE(NotConfirm(Sale()));

  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  4"}));
  const std::vector<testing::FsCall> calls = recorder.calls();
  const auto removal = std::find_if(calls.begin(), calls.end(), [&](const testing::FsCall& call) {
    return call.op == FsOp::RemoveFile && call.path == dsDirBkpTef + "intpos.  3";
  });
  const auto closing_log = std::find_if(
      calls.rbegin(), calls.rend(), [](const testing::FsCall& call) { return call.op == FsOp::AppendFile; });
  ASSERT_NE(removal, calls.end());
  EXPECT_LT(removal - calls.begin(), calls.rend() - closing_log - 1) << "removed after the last log line";
  EXPECT_EQ(host_->Calls().size(), 1u); // the notice came after
}

TEST_F(VerificaRetornoTest, AnUnacknowledgedSettlementKeepsTheBackups) {
  Put(dsDirBkpTef + "intpos.  3", Sale());
  dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});
  EXPECT_FALSE(Confirm(Sale()));
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.  3"));
}

TEST_F(VerificaRetornoTest, ConfirmingLogsEachStepAndShowsNoDialog) {
  EXPECT_TRUE(Confirm(Sale()));
  EXPECT_EQ(LogMessages(), (std::vector<std::string>{
                               "Zul00500 - Gerando arquivo Atv", "Zul00500 - Arquivo Atv criado", kWaiting,
                               kActive, kConfirmed, kWaiting, kActive, "Zul00500 - CheckGPAtivo - OK"}));
  EXPECT_TRUE(host_->Calls().empty());
  EXPECT_TRUE(stMensagem_Zul00500.empty());
}

TEST_F(VerificaRetornoTest, SendsTheRequestEvenWhenTheActivityCheckFails) {
  dial_.Script({StatusReply::Silent});
  EXPECT_TRUE(Confirm(Sale()));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNF"}));
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, kNotActive);
}

TEST_F(VerificaRetornoTest, FailsWhenTheManagerDoesNotAcknowledge) {
  dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});
  stMensagem_Zul00500 = "previous notice";

  EXPECT_FALSE(NotConfirm(Sale()));

  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "NCN"}));
  const std::vector<std::string> log = LogMessages();
  EXPECT_EQ(std::count(log.begin(), log.end(), kNotConfirmed), 1);
  EXPECT_EQ(log.back(), "Zul00500 - Erro na funcao VerificaRetorno");
  EXPECT_EQ(std::count(log.begin(), log.end(), "Zul00500 - CheckGPAtivo - OK"), 0);
  // Only the activity check's own dialog; no cancellation notice.
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, kNotActive);
  EXPECT_EQ(stMensagem_Zul00500, "previous notice");
}

// --- the cancellation notice ---------------------------------------------------

TEST_F(VerificaRetornoTest, NotConfirmingTellsTheOperatorNetworkDocumentAndAmount) {
  EXPECT_TRUE(NotConfirm(Sale("REDEX")));

  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "NCN"}));
  const std::string notice = kCancelledNotice + "\r\nRede: REDEX\r\nDoc No: 123456\r\nValor: R$ 12,50";
  EXPECT_EQ(stMensagem_Zul00500, notice);
  ASSERT_EQ(host_->Calls().size(), 1u);
  testing::ExpectDialog(host_->Calls()[0], notice, "N", 0, "ctx", 0);

  const std::vector<std::string> log = LogMessages();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[4], kNotConfirmed); // after the activity check, before the request
  EXPECT_EQ(
      std::vector<std::string>(log.end() - 2, log.end()),
      (std::vector<std::string>{"Zul00500 - CheckGPAtivo - OK", "Zul00500 - Transa\xE7\xE3o com erro"}));
}

struct NoticeCase {
  const char* document; // null: field missing
  const char* amount;
  std::string notice;
  friend void PrintTo(const NoticeCase& c, std::ostream* out) {
    *out << "document " << (c.document ? c.document : "missing") << ", amount "
         << (c.amount ? c.amount : "missing");
  }
};

class NoticeTest : public VerificaRetornoTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(NoticeTest, LeavesOutWhatTheAnswerDoesNotCarry) {
  ASSERT_TRUE(NotConfirm(With(With(Sale(), "012-000", GetParam().document), "003-000", GetParam().amount)));
  EXPECT_EQ(stMensagem_Zul00500, kCancelledNotice + "\r\nRede: REDEY\r\n" + GetParam().notice);
}

INSTANTIATE_TEST_SUITE_P(Variants, NoticeTest,
                         ::testing::Values(NoticeCase{"0", "1250", "Valor: R$ 12,50"},
                                           NoticeCase{" 0 ", nullptr, ""},
                                           NoticeCase{"77", "", "Doc No: 77\r\n"},
                                           NoticeCase{nullptr, "-123456789", "Valor: -R$ 1.234.567,89"}));

TEST_F(VerificaRetornoTest, AnAmountThatIsNotAnIntegerIsShownAsItCameAndTheTransactionStillNotConfirmed) {
  EXPECT_TRUE(NotConfirm(With(Sale(), "003-000", "12,50")));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "NCN"}));
  EXPECT_EQ(stMensagem_Zul00500, kCancelledNotice + "\r\nRede: REDEY\r\nDoc No: 123456\r\nValor: 12,50");
  const auto log = LogMessages();
  EXPECT_NE(std::find(log.begin(), log.end(), "Zul00500 - Valor inv\xE1lido no campo 003-000: 12,50"),
            log.end());
}

TEST_F(VerificaRetornoTest, ConfirmingNeverReadsTheAmount) {
  EXPECT_TRUE(Confirm(With(Sale(), "003-000", "12,50")));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNF"}));
}

} // namespace
} // namespace zul00500
