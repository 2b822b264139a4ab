// The note a settlement leaves while its request may be with the manager,
// and what the next start makes of it: a confirmation the manager took gets
// no non-confirmation after it; one it never took is settled as before.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/file_write.h"
#include "support/manager_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/settlement/confirmation.h"
#include "tef/settlement/memory.h"

namespace zul00500 {
namespace {

using testing::ManagerWorld;

const std::string kDialRequestFile = std::string(kRootTefDial) + "req\\intpos.001";

// An approved total payment (sequence 0347520046, document 000777) and the
// confirmation request (sequence 0347520099) the printing run sent for it.
const StringList kAnswer{"000-000 = CRT",   "001-000 = 0347520046", "003-000 = 1000", "009-000 = 0",
                         "010-000 = REDEY", "012-000 = 000777",     "028-000 = 1",    "999-999 = 0"};
const StringList kConfirmation{"000-000 = CNF",    "001-000 = 0347520099", "010-000 = REDEY",
                               "012-000 = 000777", "027-000 = ",           "999-999 = 0"};

class SettlementJournalTest : public ManagerWorld {
protected:
  // What a stop in the middle of the confirmation leaves: the backup and
  // the note.
  // `note` is where it lies: a till updated in the middle of a day finds
  // the notes of the version before under their former name.
  void LeftByAStop(const std::string& note = "Liquidando\\0347520099") {
    Put(dsDirBkpTef + "intpos.  1", kAnswer);
    StringList text = kConfirmation;
    text.Add("001-000 = 0347520046");
    platform::fs().create_directories(dsDirBkpTef + "Liquidando");
    Put(dsDirBkpTef + note, text);
  }
  // The notes, without the record of takes never acknowledged beside them.
  std::vector<std::string> Notes() {
    std::vector<std::string> names = Names(dsDirBkpTef + "Liquidando\\*");
    std::erase(names, "SemResposta");
    return names;
  }
  // Another day: the marks that say the answer was settled are gone.
  void ForgetMarks() {
    for (const std::string& name : Names(dsDirBkpTef + "Liquidados\\*"))
      platform::fs().remove_file(dsDirBkpTef + "Liquidados\\" + name);
  }
  std::vector<std::string> Settlements() {
    std::vector<std::string> operations;
    for (const std::string& operation : Operations(kRootTefDial))
      if (operation == "CNF" || operation == "NCN") operations.push_back(operation);
    return operations;
  }
};

TEST_F(SettlementJournalTest, AConfirmationTheManagerTookGetsNoNonConfirmationFromTheNextScan) {
  for (const std::string note : {"Liquidando\\0347520099", "intpos.r0347520099"}) {
    LeftByAStop(note); // the request is gone: the manager took it
    EXPECT_TRUE(CheckIntPosFiles("ctx", true)) << note;
    EXPECT_TRUE(Settlements().empty()) << note;
    EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty()) << note;
    EXPECT_TRUE(Notes().empty()) << note;
    EXPECT_TRUE(host_->Calls().empty());
    EXPECT_EQ(LogMessages().back(),
              "Zul00500 - CNF da transa\xE7\xE3o 0347520046 recebido pelo gerenciador antes "
              "da interrup\xE7\xE3o; arquivo " +
                  dsDirBkpTef + "intpos.  1 removido");
    ForgetMarks();
  }
}

TEST_F(SettlementJournalTest, AConfirmationStillWaitingInTheRequestDirectoryIsReplacedByTheNonConfirmation) {
  for (const std::string& where : {kDialRequestFile, TemporaryBeside(kDialRequestFile)}) {
    LeftByAStop();
    Put(where, kConfirmation);
    EXPECT_TRUE(CheckIntPosFiles("ctx", true)) << where;
    EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty()) << where;
    platform::fs().remove_file(where);
    ForgetMarks();
    ForgetSettledInThisProcess(); // as the restart after the next stop
  }
  // The manager never saw the confirmation: each time one non-confirmation.
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN", "NCN"}));
}

TEST_F(SettlementJournalTest, TheNextRequestForgetsANoteWhoseRequestWasNeverTaken) {
  LeftByAStop();
  Put(kDialRequestFile, kConfirmation);
  StoreDirTef(kRootTefDial);
  ASSERT_TRUE(CheckGPAtivo("ATV", "1"));
  EXPECT_TRUE(Notes().empty());
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.  1"));
}

TEST_F(SettlementJournalTest, ANoteStaysOnlyForARequestTheManagerTookWithoutAcknowledging) {
  StoreDirTef(kRootTefDial);
  Put(dsDirBkpTef + "intpos.  1", kAnswer);
  EXPECT_TRUE(VerificaRetorno("ctx", kAnswer, false, "S"));
  EXPECT_TRUE(Names(dsDirBkpTef + "intpos.*").empty());

  // Never taken: the answer stays for the next scan, as it always did.
  ForgetMarks();
  Put(dsDirBkpTef + "intpos.  1", kAnswer);
  dial_.OnRequest([this](const StringList& request) {
    if (request.Field("000-000 ") == "ATV") dial_.Stop(true);
  });
  EXPECT_FALSE(VerificaRetorno("ctx", kAnswer, false, "S"));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
  platform::fs().remove_file(kDialRequestFile);
  dial_.OnRequest(nullptr);
  dial_.Stop(false);

  // Taken, never acknowledged: the note stays beside the answer.
  dial_.Script({testing::StatusReply::Acknowledge, testing::StatusReply::Silent});
  EXPECT_FALSE(VerificaRetorno("ctx", kAnswer, false, "S"));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
  EXPECT_EQ(Notes().size(), 1u);
}

// A manager that writes an answer again after its settlement went through:
// the copy finds the answer's mark, after a restart too, and gets no second
// settlement; two days on, the mark is gone.
TEST_F(SettlementJournalTest, AnAnswerWrittenAgainAfterItsSettlementIsNotSettledAgain) {
  StoreDirTef(kRootTefDial);
  Put(dsDirBkpTef + "intpos.  1", kAnswer);
  ASSERT_TRUE(VerificaRetorno("ctx", kAnswer, false, "S"));
  ASSERT_EQ(Names(dsDirBkpTef + "Liquidados\\*"), (std::vector<std::string>{"0347520046"}));

  const std::string resp = std::string(kRootTefDial) + "resp\\intpos.001";
  Put(resp, kAnswer);
  ForgetSettledInThisProcess(); // a restart
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF"}));
  EXPECT_FALSE(Exists(resp));

  clock_.set_date_time_by(3LL * 24 * 60 * 60 * 1000);
  Put(resp, kAnswer);
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF", "NCN"}));
}

// A stop left the confirmation in "req\\" beside an early status of the
// manager's own (its header, no sequence), written before it took the
// request. The start gives the request the time to leave before anything
// replaces it: the manager takes the confirmation, and nothing else goes.
TEST_F(SettlementJournalTest, AnEarlyStatusAtTheStartGivesTheConfirmationTimeToLeave) {
  LeftByAStop();
  dial_.Stop(true);
  Put(kDialRequestFile, kConfirmation);
  Put(std::string(kRootTefDial) + "resp\\intpos.sts", {"000-000 = CNF", "999-999 = 0"});
  clock_.at(clock_.elapsed_ms() + 5000, [this] { dial_.Stop(false); });
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF"}));
  EXPECT_FALSE(Exists(kDialRequestFile));
}

} // namespace
} // namespace zul00500
