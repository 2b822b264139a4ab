// A FIFO, a device or a link where the manager's answer belongs, on the disk
// in memory: never read, removed out of the manager's way and logged; the
// sale keeps waiting for its real answer, the scan goes on. A directory
// stays and is told once. Judged by what the managers received, in virtual
// time.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/manager_folders.h"
#include "support/memory_fs.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/settlement/store.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::MemoryFs;
using Special = MemoryFs::Special;

using testing::kDialResp;
using testing::kDialAnswerFile;

// The disk in memory, installed before the managers' world makes its folders.
struct OnMemoryDisk {
  MemoryFs disk_;
  platform::ScopedFileSystem scoped_{disk_};
};

class NotRegularFilesTest : protected OnMemoryDisk,
                            public testing::SaleWorld,
                            public ::testing::WithParamInterface<Special> {
protected:
  long Logged(const std::string& part) const {
    const std::vector<std::string> log = LogMessages();
    return std::count_if(log.begin(), log.end(),
                         [&](const std::string& line) { return line.find(part) != std::string::npos; });
  }
  void Plant(const std::string& path) {
    ASSERT_TRUE(disk_.PutSpecial(path, GetParam(), dsDirTef + "\\DIRTEF.cds"));
  }
  static std::string Removed(const std::string& path) {
    return "Zul00500 - Arquivo " + path + " n\xE3o \xE9 um arquivo comum, removido";
  }
};

TEST_P(NotRegularFilesTest, TheSaleWaitsOverOneInItsAnswersPlaceAndGetsItsRealAnswer) {
  // The manager takes the sale's request and something else lies where its
  // answer goes; it writes its answer once that is gone.
  dial_.OnRequest([this](const StringList& request) {
    if (request.Field("000-000 ") == "CRT") Plant(kDialAnswerFile);
  });
  dial_.QueueAnswers({Approves({{"012-000", "000123"}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(document_, "000123");
  EXPECT_EQ(Logged(Removed(kDialAnswerFile)), 1);
  EXPECT_LT(clock_.elapsed_ms(), 60'000);
  // The link's target, the package's own DIRTEF.cds, is untouched.
  EXPECT_TRUE(disk_.file_exists(dsDirTef + "\\DIRTEF.cds"));
}

TEST_P(NotRegularFilesTest, TheScanPutsOneAwayAndSettlesTheRestAndTheNextSaleIsPaid) {
  StoreDirTef(kRootTefDial);
  Plant(kDialAnswerFile);
  Plant(std::string(kRootTefDisc) + "resp\\intpos.001");
  // A real leftover to settle beside them.
  const StringList leftover{"000-000 = CRT",   "001-000 = 0000000555", "003-000 = 1000", "009-000 = 0",
                            "010-000 = REDEY", "012-000 = 000555",     "028-000 = 1",    "999-999 = 0"};
  disk_.Put(dsDirBkpTef + "intpos.  1", leftover.Text());

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_FALSE(disk_.file_exists(kDialAnswerFile));
  EXPECT_EQ(Logged(Removed(kDialAnswerFile)), 1);
  EXPECT_TRUE(disk_.FilesUnder(dsDirBkpTef + "Descartados").empty()) << "nothing copied aside";

  dial_.QueueAnswers({Approves({{"012-000", "000124"}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000555"}));
}

TEST_P(NotRegularFilesTest, TheActivityCheckPutsAwayOneThatCameWithItsStatus) {
  StoreDirTef(kRootTefDial);
  dial_.OnRequest([this](const StringList& request) {
    if (request.Field("000-000 ") == "ATV") Plant(kDialAnswerFile);
  });
  EXPECT_TRUE(CheckGPAtivo("ATV", "0000000001"));
  EXPECT_FALSE(disk_.file_exists(kDialAnswerFile));
  EXPECT_EQ(Logged(Removed(kDialAnswerFile)), 1);
}

TEST_P(NotRegularFilesTest, TheRemovalBySequencePassesOneOverUnread) {
  const StringList answer{"000-000 = CRT", "001-000 = 0347520030", "999-999 = 0"};
  disk_.Put(kDialResp + "intpos.001", answer.Text());
  Plant(kDialResp + "intpos.002");
  EXPECT_NO_THROW(DeleteIntPosFiles(kDialResp, "0347520030"));
  EXPECT_EQ(Names(kDialResp + "intpos.*"), std::vector<std::string>{"intpos.002"});
}

std::string KindName(const ::testing::TestParamInfo<Special>& info) {
  switch (info.param) {
  case Special::Fifo:
    return "Fifo";
  case Special::Device:
    return "Device";
  case Special::Link:
    return "Link";
  }
  return "Other";
}

INSTANTIATE_TEST_SUITE_P(Kinds, NotRegularFilesTest,
                         ::testing::Values(Special::Fifo, Special::Device, Special::Link), KindName);

class DirectoryInTheWayTest : protected OnMemoryDisk, public testing::SaleWorld {
protected:
  long Told() const {
    const std::vector<std::string> log = LogMessages();
    return std::count(log.begin(), log.end(),
                      "Zul00500 - Arquivo " + kDialAnswerFile +
                          " n\xE3o \xE9 um arquivo comum (diret\xF3rio), deixado onde est\xE1");
  }
};

TEST_F(DirectoryInTheWayTest, TheScanTellsItOnceAndGoesOn) {
  StoreDirTef(kRootTefDial);
  disk_.create_directories(kDialAnswerFile);
  disk_.Put(kDialAnswerFile + "\\inside.txt", "not ours");
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Told(), 1);
  EXPECT_TRUE(disk_.file_exists(kDialAnswerFile + "\\inside.txt"));
}

TEST_F(DirectoryInTheWayTest, TheSaleTellsItOnceAndLeavesTheOperatorHisWayOut) {
  dial_.OnRequest([this](const StringList& request) {
    if (request.Field("000-000 ") == "CRT") disk_.create_directories(kDialAnswerFile);
  });
  EXPECT_FALSE(Pay(10, 10));
  EXPECT_EQ(Told(), 1);
  EXPECT_GE(clock_.elapsed_ms(), 2 * 60 * 1000);
}

TEST(CopyFileInOneStepTest, NeverReadsASourceThatIsNoRegularFile) {
  MemoryFs disk;
  const platform::ScopedFileSystem scoped(disk);
  disk.create_directories("c:\\resp");
  disk.create_directories("c:\\copies");
  disk.Put("c:\\resp\\answer.txt", "an answer");
  for (const Special kind : {Special::Fifo, Special::Device, Special::Link}) {
    ASSERT_TRUE(disk.PutSpecial("c:\\resp\\intpos.001", kind, "c:\\resp\\answer.txt"));
    EXPECT_THROW(CopyFileInOneStep("c:\\resp\\intpos.001", "c:\\copies\\intpos.001"), NotRegularFile);
    EXPECT_TRUE(disk.FilesUnder("c:\\copies").empty());
  }
}

} // namespace
} // namespace zul00500
