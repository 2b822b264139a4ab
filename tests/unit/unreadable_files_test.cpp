// An answer in a response directory that the till may not read (another
// user's file, mode 000; on Windows one held open without sharing): it is
// looked at again briefly, in virtual time, then logged and passed over,
// never settled blind and never deleted; the scan and the sale go on, and
// the host hears of it by its code. Judged by what the managers received.
#include <gtest/gtest.h>

#include <algorithm>

#include "Pkg_Zul00500.h"
#include "platform/file_system.h"
#include "support/faulty_fs.h"
#include "support/manager_folders.h"
#include "support/problems.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/settlement/store.h"

namespace zul00500 {
namespace {

using testing::Approves;
using testing::FaultyFs;

using testing::kDialAnswerFile;
const std::string kDiscAnswer = std::string(kRootTefDisc) + "resp\\intpos.001";
// Reads enough for every look of a long run: the file stays unreadable.
constexpr int kForEver = 1'000'000;

// An approval of an earlier sale, document `document`.
StringList LeftoverWithVoucherLine(const std::string& document) {
  return {"000-000 = CRT", "001-000 = 0000" + document, "003-000 = 1000",
          "009-000 = 0",   "010-000 = REDEY",           "012-000 = " + document,
          "028-000 = 1",   "029-001 = \"X\"",           "999-999 = 0"};
}

class UnreadableFilesTest : public testing::SaleWorld {
protected:
  UnreadableFilesTest() { StoreDirTef(kRootTefDial); }
  long Logged(const std::string& part) const {
    const std::vector<std::string> log = LogMessages();
    return std::count_if(log.begin(), log.end(),
                         [&](const std::string& line) { return line.find(part) != std::string::npos; });
  }
  static std::string PassedOver(const std::string& path) {
    return "Zul00500 - Arquivo " + path + " ileg\xEDvel";
  }
  FaultyFs disk_;
};

TEST_F(UnreadableFilesTest, TheScanPassesOneOverAndSettlesTheRestAndTheNextSaleIsPaid) {
  Put(kDiscAnswer, LeftoverWithVoucherLine("555001"));
  Put(dsDirBkpTef + "intpos.  1", LeftoverWithVoucherLine("555002"));
  disk_.unreadable_reads(kDiscAnswer, kForEver);
  platform::ScopedFileSystem scoped(disk_);

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_TRUE(Exists(kDiscAnswer)) << "never deleted unsettled";
  EXPECT_EQ(Logged(PassedOver(kDiscAnswer)), 1);
  EXPECT_EQ(TakePassedOver(), std::vector<std::string>{kDiscAnswer});
  // Looked at again briefly, in virtual time: seconds, not the minute a
  // file still being written gets.
  EXPECT_LT(clock_.elapsed_ms(), 30'000);

  dial_.QueueAnswers({Approves({{"012-000", "000124"}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 555002"}));
  EXPECT_TRUE(Operations(kRootTefDisc).empty()) << "nothing settled blind";
  EXPECT_TRUE(Exists(kDiscAnswer));
}

// The scan walks the backup directory for a root whose response directory
// is empty: with one unreadable file in every root's, it would never be
// walked, day after day, and a stored approval would never be undone.
TEST_F(UnreadableFilesTest, OneInEveryRootLeavesTheStoredAnswersToNoScan) {
  for (const char* root : kRoots) {
    const std::string path = std::string(root) + "resp\\intpos.001";
    Put(path, LeftoverWithVoucherLine("555010"));
    disk_.unreadable_reads(path, kForEver);
  }
  Put(dsDirBkpTef + "intpos.  1", LeftoverWithVoucherLine("555011"));
  platform::ScopedFileSystem scoped(disk_);

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 555011"}));
  for (const char* root : kRoots) EXPECT_TRUE(Exists(std::string(root) + "resp\\intpos.001"));

  // The next scan finds nothing more to settle.
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 555011"}));
}

TEST_F(UnreadableFilesTest, OneHeldWithoutSharingForGoodIsPassedOverToo) {
  // Windows: another program holds it open and never lets go.
  Put(kDiscAnswer, LeftoverWithVoucherLine("555003"));
  disk_.busy_reads(kDiscAnswer, kForEver);
  platform::ScopedFileSystem scoped(disk_);

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_TRUE(Exists(kDiscAnswer));
  EXPECT_EQ(Logged(PassedOver(kDiscAnswer)), 1);
  EXPECT_LT(clock_.elapsed_ms(), 30'000);
}

TEST_F(UnreadableFilesTest, OneReadableAgainWithinTheBriefWaitIsSettled) {
  Put(kDiscAnswer, LeftoverWithVoucherLine("555004"));
  disk_.unreadable_reads(kDiscAnswer, 3);
  platform::ScopedFileSystem scoped(disk_);

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(kRootTefDial), (std::vector<std::string>{"NCN 555004"}));
  EXPECT_EQ(Logged(PassedOver(kDiscAnswer)), 0);
}

TEST_F(UnreadableFilesTest, TheActivityCheckLeavesOneInItsResponseDirectory) {
  // Its clean-up empties the directory: one it cannot read may be an
  // approval, and stays.
  Put(kDialAnswerFile, LeftoverWithVoucherLine("555005"));
  disk_.unreadable_reads(kDialAnswerFile, kForEver);
  platform::ScopedFileSystem scoped(disk_);

  EXPECT_TRUE(CheckGPAtivo("ATV", "0000000001"));
  EXPECT_TRUE(Exists(kDialAnswerFile));
}

TEST_F(UnreadableFilesTest, TheRemovalBySequenceLeavesOne) {
  Put(kDialAnswerFile, LeftoverWithVoucherLine("555006"));
  disk_.unreadable_reads(kDialAnswerFile, kForEver);
  platform::ScopedFileSystem scoped(disk_);

  EXPECT_NO_THROW(DeleteIntPosFiles(std::string(kRootTefDial) + "resp\\", "0000555006"));
  EXPECT_NO_THROW(RemoveUnlessAnother(kDialAnswerFile, "0000555006"));
  EXPECT_TRUE(Exists(kDialAnswerFile));
}

TEST_F(UnreadableFilesTest, TheHostHearsOfItByItsCode) {
  Put(kDiscAnswer, LeftoverWithVoucherLine("555007"));
  disk_.unreadable_reads(kDiscAnswer, kForEver);
  platform::ScopedFileSystem scoped(disk_);

  EXPECT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_UNREADABLE);
  std::string text(static_cast<std::size_t>(zul_LastError(nullptr, 0)) + 1, '\0');
  text.resize(static_cast<std::size_t>(zul_LastError(text.data(), static_cast<int>(text.size()))));
  EXPECT_NE(text.find(kDiscAnswer), std::string::npos) << text;
  EXPECT_STREQ(zul_ErrorName(ZUL_NOTE_UNREADABLE), "ZUL_NOTE_UNREADABLE");
}

} // namespace
} // namespace zul00500
