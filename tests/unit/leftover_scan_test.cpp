#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/faulty_fs.h"
#include "support/host_services.h"
#include "support/manager_folders.h"
#include "support/manager_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::FaultyFs;
using testing::FsOp;
using testing::ManagerWorld;
using testing::StatusReply;

using testing::kDialResp;
using testing::kDiscResp;
const std::string kHiperResp = std::string(kRootHiperTef) + "resp\\";

StringList Answer(const std::string& network, const std::string& document) {
  return {"000-000 = CRT",        "001-000 = 00000" + document, "003-000 = 1000", "009-000 = 0",
          "010-000 = " + network, "012-000 = " + document,      "028-000 = 1",    testing::kClosingLine};
}

class CheckIntPosFilesTest : public ManagerWorld {
protected:
  bool Scan() { return CheckIntPosFiles("ctx", true); }
  // Document numbers of the non-confirmations the manager of `root` took.
  std::vector<std::string> NotConfirmed(const std::string& root) {
    std::vector<std::string> documents;
    for (const StringList& request : Manager(root).Requests())
      if (request.Field("000-000 ") == "NCN") documents.push_back(request.Field("012-000 "));
    std::sort(documents.begin(), documents.end());
    return documents;
  }
  std::vector<std::string> Leftovers(const std::string& directory) { return Names(directory + "intpos.*"); }
};

TEST_F(CheckIntPosFilesTest, WithNothingLeftSucceedsAndEndsOnTheLastRoot) {
  Put(dsDirBkpTef + "keep.txt", {});
  EXPECT_TRUE(Scan());
  EXPECT_EQ(DirTef, kRootHiperTef);
  EXPECT_TRUE(Operations(kRootTefDial).empty());
  EXPECT_TRUE(Operations(kRootTefDisc).empty());
  EXPECT_TRUE(Operations(kRootHiperTef).empty());
  EXPECT_TRUE(Exists(dsDirBkpTef + "keep.txt"));
  EXPECT_TRUE(LogMessages().empty());
}

TEST_F(CheckIntPosFilesTest, SettlesEveryLeftoverOfTheResponseDirectoriesAndTheBackups) {
  Put(kDialResp + "intpos.001", Answer("REDEY", "1"));
  Put(kHiperResp + "intpos.001", Answer("HCard", "2"));
  Put(dsDirBkpTef + "intpos.  1", Answer("TECBAN", "3"));

  EXPECT_TRUE(Scan());

  EXPECT_EQ(NotConfirmed(kRootTefDial), (std::vector<std::string>{"1"}));
  EXPECT_EQ(NotConfirmed(kRootTefDisc), (std::vector<std::string>{"3"}));
  EXPECT_EQ(NotConfirmed(kRootHiperTef), (std::vector<std::string>{"2"}));
  EXPECT_TRUE(Leftovers(kDialResp).empty());
  EXPECT_TRUE(Leftovers(kHiperResp).empty());
  EXPECT_TRUE(Leftovers(dsDirBkpTef).empty());
  // One cancellation notice per answer, each with the caller's context.
  ASSERT_EQ(host_->Calls().size(), 3u);
  for (const auto& call : host_->Calls()) EXPECT_EQ(call.context, "ctx");
}

// A total payment cut short before its printing run leaves its answer in the
// response directory and as a numbered backup: one transaction, settled once.
TEST_F(CheckIntPosFilesTest, AnAnswerLeftWithItsNumberedBackupIsNotConfirmedOnce) {
  Put(kDialResp + "intpos.001", Answer("REDEY", "1"));
  Put(dsDirBkpTef + "intpos.  1", Answer("REDEY", "1"));

  EXPECT_TRUE(Scan());

  EXPECT_EQ(NotConfirmed(kRootTefDial), (std::vector<std::string>{"1"}));
  EXPECT_TRUE(Leftovers(dsDirBkpTef).empty());
  EXPECT_EQ(host_->Calls().size(), 1u);
}

TEST_F(CheckIntPosFilesTest, PassesTheFlagOn) {
  Put(kDialResp + "intpos.001", Answer("REDEY", "1"));
  EXPECT_TRUE(CheckIntPosFiles("ctx", false));
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CNF"}));
  EXPECT_TRUE(host_->Calls().empty());
}

TEST_F(CheckIntPosFilesTest, ALoneStatusFileIsRemovedAndTheScanGoesOn) {
  // A late acknowledgement, after its wait gave up: it carries no transaction.
  Put(kDiscResp + "intpos.sts", {"000-000 = ATV", testing::kClosingLine});
  Put(kHiperResp + "intpos.001", Answer("HCard", "1"));

  EXPECT_TRUE(Scan());

  EXPECT_FALSE(Exists(kDiscResp + "intpos.sts"));
  EXPECT_TRUE(Operations(kRootTefDisc).empty());
  EXPECT_EQ(NotConfirmed(kRootHiperTef), (std::vector<std::string>{"1"}));
  const auto log = LogMessages();
  EXPECT_NE(
      std::find(log.begin(), log.end(), "Zul00500 - Arquivo de status removido: " + kDiscResp + "intpos.sts"),
      log.end());
  // The next scan finds nothing left.
  EXPECT_TRUE(Scan());
}

TEST_F(CheckIntPosFilesTest, StopsAtTheFirstAnswerTheManagerDoesNotAcknowledge) {
  Put(kDialResp + "intpos.001", Answer("REDEY", "1"));
  Put(kHiperResp + "intpos.001", Answer("HCard", "2"));
  dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});

  EXPECT_FALSE(Scan());

  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "NCN"}));
  EXPECT_TRUE(Operations(kRootHiperTef).empty());
  EXPECT_TRUE(Exists(kHiperResp + "intpos.001"));
}

TEST_F(CheckIntPosFilesTest, AnswerFoundUnderOneRootIsSettledThroughItsNetworksRoot) {
  // Both TECBAN answers go to c:\tef_disc\; each is read from and deleted
  // in c:\tef_dial\, where it was found.
  Put(kDialResp + "intpos.001", Answer("TECBAN", "1"));
  Put(kDialResp + "intpos.002", Answer("TECBAN", "2"));
  Put(dsDirBkpTef + "intpos.001", Answer("TECBAN", "1"));
  FaultyFs recorder;
  platform::ScopedFileSystem scoped(recorder);

  EXPECT_TRUE(Scan());

  EXPECT_EQ(NotConfirmed(kRootTefDisc), (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(Operations(kRootTefDial).empty());
  EXPECT_TRUE(Leftovers(kDialResp).empty());
  // Read where they lie; the removal of a settled answer's copies by its
  // sequence reads the others again, but never looks for them under the
  // root the settlement went to.
  const std::vector<std::string> read = recorder.paths(FsOp::ReadFile);
  for (const char* name : {"intpos.001", "intpos.002"}) {
    EXPECT_GE(std::count(read.begin(), read.end(), kDialResp + name), 1) << name;
    EXPECT_EQ(std::count(read.begin(), read.end(), kDiscResp + name), 0) << name;
  }
  const std::vector<std::string> removed = recorder.paths(FsOp::RemoveFile);
  EXPECT_GE(std::count(removed.begin(), removed.end(), kDialResp + "intpos.002"), 1);
  EXPECT_EQ(std::count(removed.begin(), removed.end(), kDiscResp + "intpos.002"), 0);
}

TEST_F(CheckIntPosFilesTest, SettlesASecondAnswerTheFirstOnesActivityCheckLeft) {
  // Settling either answer through c:\tef_dial\ empties its response
  // directory (the activity check), but an answer under a name no manager
  // writes is left there, never deleted unsettled: both are settled.
  Put(kDialResp + "intpos.001", Answer("REDEY", "1"));
  Put(kDialResp + "intpos.002", Answer("REDEY", "2"));

  EXPECT_TRUE(Scan());

  std::vector<std::string> settled = NotConfirmed(kRootTefDial);
  std::sort(settled.begin(), settled.end());
  EXPECT_EQ(settled, (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(Leftovers(kDialResp).empty());
}

TEST_F(CheckIntPosFilesTest, AnAnswerGoneBeforeItsTurnIsSkipped) {
  // The manager takes its own file away while the first is settled.
  Put(kDialResp + "intpos.001", Answer("REDEY", "1"));
  Put(kDialResp + "intpos.002", Answer("REDEY", "2"));
  dial_.OnRequest([](const StringList&) {
    platform::native_fs().remove_file(kDialResp + "intpos.001");
    platform::native_fs().remove_file(kDialResp + "intpos.002");
  });

  EXPECT_TRUE(Scan());

  EXPECT_EQ(NotConfirmed(kRootTefDial).size(), 1u);
  EXPECT_TRUE(Leftovers(kDialResp).empty());
}

TEST_F(CheckIntPosFilesTest, SettlesTheBackupsOnlyForARootWithoutLeftovers) {
  // c:\tef_dial\ holds an answer its manager does not take: its turn ends
  // the scan before the backups are settled. (The scan lists and indexes
  // the backup directory once, at its start.)
  Put(kDialResp + "intpos.001", Answer("REDEY", "2"));
  dial_.Script({StatusReply::Acknowledge, StatusReply::Silent});
  Put(dsDirBkpTef + "intpos.  1", Answer("REDEY", "1"));

  EXPECT_FALSE(Scan());

  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "NCN"}));
  EXPECT_EQ(LastRequest(kRootTefDial).Field("012-000 "), "2");
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.  1"));
}

TEST_F(CheckIntPosFilesTest, BackupAnswerIsDeletedFromTheRootItsConfirmationUsed) {
  Put(dsDirBkpTef + "intpos.  1", Answer("HCard", "1"));
  FaultyFs recorder;
  platform::ScopedFileSystem scoped(recorder);

  EXPECT_TRUE(Scan());

  EXPECT_EQ(NotConfirmed(kRootHiperTef), (std::vector<std::string>{"1"}));
  EXPECT_TRUE(Leftovers(dsDirBkpTef).empty());
  const std::vector<std::string> removed = recorder.paths(FsOp::RemoveFile);
  EXPECT_EQ(std::count(removed.begin(), removed.end(), kHiperResp + "intpos.  1"), 1);
  EXPECT_EQ(std::count(removed.begin(), removed.end(), kDialResp + "intpos.  1"), 0);
}

TEST_F(CheckIntPosFilesTest, AStrayBackupWhoseExtensionIsNotANumberIsNoAnswerAndStays) {
  // Left by an operator or a tool: settling it would fail, and so would
  // every later sale.
  Put(dsDirBkpTef + "intpos.bak", {"copia"});
  Put(dsDirBkpTef + "intpos.  1", Answer("REDEY", "1"));

  EXPECT_TRUE(Scan());

  EXPECT_EQ(NotConfirmed(kRootTefDial), (std::vector<std::string>{"1"}));
  EXPECT_EQ(Leftovers(dsDirBkpTef), (std::vector<std::string>{"intpos.bak"}));
}

TEST_F(CheckIntPosFilesTest, ASubdirectoryIsNoAnswer) {
  platform::fs().create_directories(kDialResp + "intpos.dir");
  EXPECT_TRUE(Scan());
  EXPECT_TRUE(Operations(kRootTefDial).empty());
}

// After a long outage: every backup is read a bounded number of times,
// however many others there are, and copies of one answer go with its one
// settlement.
TEST_F(CheckIntPosFilesTest, EachBackupIsReadAFixedNumberOfTimesWhateverTheirNumber) {
  constexpr int kLeftovers = 30;
  for (int n = 1; n <= kLeftovers; ++n)
    Put(dsDirBkpTef + "intpos." + Ajusta(std::to_string(n), 3), Answer("REDEY", std::to_string(100 + n)));
  Put(dsDirBkpTef + "intpos." + Ajusta(std::to_string(kLeftovers + 1), 3), Answer("REDEY", "101"));
  FaultyFs recorder;
  platform::ScopedFileSystem scoped(recorder);

  EXPECT_TRUE(Scan());

  // Each backup once for the scan's index and once to settle it; the notes
  // of the settlements aside. One listing.
  std::size_t backup_reads = 0, backup_listings = 0;
  for (const std::string& path : recorder.paths(FsOp::ReadFile))
    backup_reads +=
        path.rfind(dsDirBkpTef + "intpos.", 0) == 0 && path.rfind(dsDirBkpTef + "intpos.r", 0) != 0;
  for (const std::string& pattern : recorder.paths(FsOp::List))
    backup_listings += pattern == dsDirBkpTef + "intpos.*";
  EXPECT_LE(backup_reads, 2u * (kLeftovers + 1));
  EXPECT_EQ(backup_listings, 1u);
  EXPECT_EQ(NotConfirmed(kRootTefDial).size(), static_cast<std::size_t>(kLeftovers));
  EXPECT_TRUE(Leftovers(dsDirBkpTef).empty());
}

} // namespace
} // namespace zul00500
