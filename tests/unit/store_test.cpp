#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/manager_world.h"
#include "support/state.h"
#include "tef/settlement/store.h"

namespace zul00500 {
namespace {

using testing::FaultyFs;
using testing::FsOp;
using testing::ManagerWorld;
using testing::VirtualClock;

std::string SequenceAt(const platform::DateTimeParts& when) {
  VirtualClock clock(when);
  platform::ScopedClock scoped(clock);
  return GetSequence();
}

TEST(GetSequence, CountsSixtiethsOfASecondKeepingTheLastTenDigits) {
  // 46363.33333921 days, 240347520030.48 sixtieths.
  EXPECT_EQ(SequenceAt({2026, 12, 7, 8, 0, 0, 508}), "0347520030");
  // Computed in extended precision: a double product gives 0347520008 here.
  EXPECT_EQ(SequenceAt({2026, 12, 7, 8, 0, 0, 150}), "0347520009");
  // Left-filled with zeros when the count is short.
  EXPECT_EQ(SequenceAt({1900, 1, 1, 0, 0, 0, 0}), "0010368000");
}

TEST(GetSequence, IsTheSameWithinOneSixtiethAndMovesOnAfterIt) {
  VirtualClock clock({2026, 12, 7, 8, 0, 0, 508});
  platform::ScopedClock scoped(clock);
  const std::string first = GetSequence();
  clock.advance(8); // .516 s: still sixtieth 30
  EXPECT_EQ(GetSequence(), first);
  clock.advance(1); // .517 s: sixtieth 31
  EXPECT_EQ(GetSequence(), "0347520031");
  clock.advance(1000);
  EXPECT_EQ(GetSequence(), "0347520091");
}

class NewIntPosFileNameTest : public ManagerWorld {
protected:
  void Backups(std::initializer_list<const char*> names) {
    for (const char* name : names) Put(dsDirBkpTef + name, {"001-000 = 0000000001"});
  }
  std::string Next() { return NewIntPosFileName(dsDirBkpTef); }
};

TEST_F(NewIntPosFileNameTest, StartsAtOneWhenThereIsNoNumberedBackup) {
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.  1");
  // The working copy is not backup number 1.
  Backups({"intpos.001"});
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.  1");
  EXPECT_EQ(NewIntPosFileName(dsDirBkpTef + "Missing\\"), dsDirBkpTef + "Missing\\intpos.  1");
}

TEST_F(NewIntPosFileNameTest, FollowsTheHighestNumberAndNeverFillsGaps) {
  Backups({"intpos.  1", "intpos.  7"});
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.  8");
}

TEST_F(NewIntPosFileNameTest, FollowsTwoAndThreeWithFour) {
  Backups({"intpos.  2", "intpos.  3", "intpos.001"});
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.  4");
}

TEST_F(NewIntPosFileNameTest, ReadsBackEveryNameItMakesAboveNineHundredNinetyNineToo) {
  Backups({"intpos.998"});
  for (const char* expected : {"intpos.999", "intpos.1000", "intpos.1001"}) {
    const std::string name = Next();
    EXPECT_EQ(name, dsDirBkpTef + expected);
    Put(name, {});
  }
  Backups({"intpos. 12"});
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.1002");
}

TEST_F(NewIntPosFileNameTest, ReadsTheWorkingCopysNameCaseSensitively) {
  // Only "intpos.001" exactly is the working copy; another spelling is a
  // backup numbered 1.
  Backups({"INTPOS.001"});
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.  2");
}

TEST_F(NewIntPosFileNameTest, SkipsEntriesWhoseExtensionIsNotANumber) {
  // A status file may lie in the backup directory, and an operator or a tool
  // may leave others; none of them may stop every later sale.
  Backups({"intpos.sts", "intpos.bak", "intpos.tmp", "intpos.  3", "intpos.3x", "intpos."});
  platform::fs().create_directories(dsDirBkpTef + "intpos.dir");
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.  4");
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.sts"));
}

TEST_F(NewIntPosFileNameTest, AHugeNumberDoesNotWrapAround) {
  Backups({"intpos.9223372036854775806", "intpos.9223372036854775807", "intpos.99999999999999999999"});
  EXPECT_EQ(Next(), dsDirBkpTef + "intpos.9223372036854775807");
}

// Finding 63: a working copy left in place is the only record of an approval
// whose settlement could not be noted; the next answer's copy must not take
// its place.
TEST_F(NewIntPosFileNameTest, AWorkingCopyLeftInPlaceIsNumberedBeforeTheNextIsWritten) {
  Put(dsDirBkpTef + "intpos.001", {"000-000 = CRT", "001-000 = 0347520030", "009-000 = 0"});
  WriteWorkingCopy("000-000 = CNC\r\n001-000 = 0347520099\r\n");
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1", "intpos.001"}));
  DeleteIntPosFiles(dsDirBkpTef, "0347520030");
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.001"}));
}

// Finding 64: a cancellation that gave up on its answer removes the backups
// of its sequence, but not an approval that awaits its settlement (an
// activity check kept it while the wait looked at the response directory).
TEST_F(NewIntPosFileNameTest, BackupCopiesKeepAnApprovalAwaitingItsSettlement) {
  Put(dsDirBkpTef + "intpos.  1", {"000-000 = CNC", "001-000 = 0347520030", "009-000 = 0", "028-000 = 1"});
  Put(dsDirBkpTef + "intpos.  2", {"000-000 = CNC", "001-000 = 0347520030", "009-000 = 05"});
  DeleteBackupCopies("0347520030");
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  1"}));
}

class DeleteIntPosFilesTest : public ManagerWorld {
protected:
  void SetUp() override {
    Put(dsDirBkpTef + "intpos.  1", {"000-000 = CRT", "001-000 = 0347520030", "009-000 = 0"});
    Put(dsDirBkpTef + "intpos.  2", {"000-000 = CRT", "001-000 = 03475200301"});
    Put(dsDirBkpTef + "intpos.  3", {"000-000 = CRT", "001-000 =0347520030"});
    Put(dsDirBkpTef + "intpos.  4", {"000-000 = CRT", "001-000 = 0347520031"});
    Put(dsDirBkpTef + "intpos.sts", {"000-000 = CRT"});
    Put(dsDirBkpTef + "other.txt", {"001-000 = 0347520030"});
  }
};

TEST_F(DeleteIntPosFilesTest, BySequenceDeletesEveryFileWhoseTextContainsTheKey) {
  // A plain substring test: the eleven-digit neighbour goes too, the line
  // without a blank after "=" does not.
  DeleteIntPosFiles(dsDirBkpTef, "0347520030");
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"),
            (std::vector<std::string>{"intpos.  3", "intpos.  4", "intpos.sts"}));
  EXPECT_TRUE(Exists(dsDirBkpTef + "other.txt"));
}

TEST_F(DeleteIntPosFilesTest, BySequenceFindsTheKeyAnywhereInTheText) {
  Put(dsDirBkpTef + "intpos.  5", {"029-001 = \"ref 001-000 = 0347520031 ok\""});
  DeleteIntPosFiles(dsDirBkpTef, "0347520031");
  EXPECT_FALSE(Exists(dsDirBkpTef + "intpos.  4"));
  EXPECT_FALSE(Exists(dsDirBkpTef + "intpos.  5"));
  EXPECT_TRUE(Exists(dsDirBkpTef + "intpos.  1"));
}

TEST_F(DeleteIntPosFilesTest, WithoutSequenceDeletesEveryIntposEntryTheStatusFileToo) {
  platform::fs().create_directories(dsDirBkpTef + "intpos.dir");
  DeleteIntPosFiles(dsDirBkpTef, "");
  // A subdirectory cannot be deleted as a file and simply stays.
  EXPECT_EQ(Names(dsDirBkpTef + "*.*"), (std::vector<std::string>{"Pendente", "intpos.dir", "other.txt"}));
}

TEST_F(DeleteIntPosFilesTest, IgnoresFailedDeletions) {
  FaultyFs faulty;
  platform::ScopedFileSystem scoped(faulty);
  faulty.fail_call(FsOp::RemoveFile, 1);
  EXPECT_NO_THROW(DeleteIntPosFiles(dsDirBkpTef, ""));
  EXPECT_EQ(faulty.count(FsOp::RemoveFile), 5);
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*").size(), 1u);
}

TEST_F(DeleteIntPosFilesTest, BySequenceReportsAnEntryThatCannotBeRead) {
  platform::fs().create_directories(dsDirBkpTef + "intpos.dir");
  EXPECT_THROW(DeleteIntPosFiles(dsDirBkpTef, "0347520030"), FileError);
}

TEST_F(DeleteIntPosFilesTest, BySequencePassesOverAFileAnotherProgramHolds) {
  FaultyFs busy;
  busy.busy_reads(dsDirBkpTef + "intpos.  2", 1);
  platform::ScopedFileSystem scoped(busy);
  EXPECT_NO_THROW(DeleteIntPosFiles(dsDirBkpTef, "0347520030"));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"),
            (std::vector<std::string>{"intpos.  2", "intpos.  3", "intpos.  4", "intpos.sts"}));
}

// Lists what the directory held a moment ago, then loses one entry.
class VanishingFs : public FaultyFs {
public:
  explicit VanishingFs(std::string victim) : victim_(std::move(victim)) {}
  std::vector<std::string> list(const std::string& pattern) override {
    auto names = FaultyFs::list(pattern);
    FaultyFs::remove_file(victim_);
    return names;
  }

private:
  std::string victim_;
};

TEST_F(DeleteIntPosFilesTest, BySequenceSkipsAnEntryThatVanishedSinceTheListing) {
  VanishingFs vanishing(dsDirBkpTef + "intpos.  4");
  platform::ScopedFileSystem scoped(vanishing);
  EXPECT_NO_THROW(DeleteIntPosFiles(dsDirBkpTef, "0347520030"));
  EXPECT_EQ(Names(dsDirBkpTef + "intpos.*"), (std::vector<std::string>{"intpos.  3", "intpos.sts"}));
}

} // namespace
} // namespace zul00500
