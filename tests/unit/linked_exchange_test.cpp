// What a response directory holds that the package did not put there: a
// link to another program's directory, still used, whose clean-up takes
// only exchange files; and names a manager on Windows could not have
// written ("INTPOS.001" beside "intpos.001", "intpos.0010"), which no
// clean-up deletes unsettled: the scan settles them. On the real disk, in
// virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/file_system.h"
#include "support/manager_folders.h"
#include "support/sale_world.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approves;

using testing::kDialResp;

// Links and names that differ only in letter case are POSIX matters.
#ifndef _WIN32
StringList LeftoverAnswer(const std::string& document) {
  return {"000-000 = CRT",   "001-000 = 0000" + document, "003-000 = 1000", "009-000 = 0",
          "010-000 = REDEY", "012-000 = " + document,     "028-000 = 1",    "999-999 = 0"};
}

class LinkedExchangeTest : public testing::SaleWorld {
protected:
  LinkedExchangeTest() { StoreDirTef(kRootTefDial); }
  static std::string Native(const std::string& path) { return platform::native_fs().native_path(path); }
  long Logged(const std::string& part) const {
    const std::vector<std::string> log = LogMessages();
    return std::count_if(log.begin(), log.end(),
                         [&](const std::string& line) { return line.find(part) != std::string::npos; });
  }
};

TEST_F(LinkedExchangeTest, ALinkedResponseDirectoryIsUsedAndLosesOnlyExchangeFiles) {
  // Another program's folder, linked in place of resp\.
  const std::filesystem::path target = std::filesystem::path(world_.root()) / "shared-folder";
  std::filesystem::create_directories(target);
  for (const char* name : {"report.txt", "Ativo.001", "notes"}) platform::native_fs().write_file(
      (target / name).string(), "someone else's\r\n");
  std::filesystem::remove_all(Native(kDialResp));
  std::filesystem::create_directory_symlink(target, Native(std::string(kRootTefDial) + "resp"));

  dial_.QueueAnswers({Approves({{"012-000", "000321"}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(document_, "000321");
  for (const char* name : {"report.txt", "Ativo.001", "notes"})
    EXPECT_TRUE(std::filesystem::exists(target / name)) << name;
}

TEST_F(LinkedExchangeTest, ALinkedRootIsCleanedOfExchangeFilesOnly) {
  const std::filesystem::path target = std::filesystem::path(world_.root()) / "elsewhere";
  std::filesystem::create_directories(target / "resp");
  std::filesystem::create_directories(target / "req");
  platform::native_fs().write_file((target / "resp" / "photo.jpg").string(), "bytes");
  platform::native_fs().write_file((target / "resp" / "intpos.sts").string(), "000-000 = ATV\r\n");
  std::filesystem::remove_all(Native(kRootTefDial));
  std::filesystem::create_directory_symlink(target, Native("c:\\tef_dial"));

  EXPECT_TRUE(CheckGPAtivo("ATV", "0000000001"));
  EXPECT_TRUE(std::filesystem::exists(target / "resp" / "photo.jpg"));
}

TEST_F(LinkedExchangeTest, TheActivityCheckLeavesAnAnswerUnderAnOddNameAndTheScanSettlesIt) {
  Put(kDialResp + "intpos.0010", LeftoverAnswer("555010"));
  Put(kDialResp + "notes.txt", StringList{"not ours"});

  EXPECT_TRUE(CheckGPAtivo("ATV", "0000000001"));
  EXPECT_TRUE(Exists(kDialResp + "intpos.0010")) << "never deleted unsettled";
  EXPECT_FALSE(Exists(kDialResp + "notes.txt")) << "the rest of resp\\ is emptied as ever";
  EXPECT_EQ(Logged(kDialResp + "intpos.0010 n\xE3o \xE9 um nome que o gerenciador escreve"), 1);

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 555010"}));
  EXPECT_FALSE(Exists(kDialResp + "intpos.0010"));
}

TEST_F(LinkedExchangeTest, ALetterCaseTwinOfTheAnswerIsSettledNotDeleted) {
  // Two leftovers a manager on Windows could not have left side by side:
  // settling either must not delete the other unsettled.
  Put(kDialResp + "intpos.001", LeftoverAnswer("555011"));
  // Under its exact name: the package's own paths find a file by its name
  // without regard to case, as Windows would.
  std::ofstream(Native(kDialResp) + "/INTPOS.001", std::ios::binary) << LeftoverAnswer("555012").Text();
  ASSERT_EQ(Names(kDialResp + "intpos.*").size(), 2u);

  // Settling either keeps the other (a backup, or left in place) for the
  // scan; by the next sale both are settled, once each.
  EXPECT_TRUE(CheckIntPosFiles("ctx", true));
  dial_.QueueAnswers({Approves({{"012-000", "000322"}})});
  EXPECT_TRUE(Pay(10, 10));
  const std::vector<std::string> settled = Settlements();
  for (const char* document : {"NCN 555011", "NCN 555012"})
    EXPECT_EQ(std::count(settled.begin(), settled.end(), document), 1) << document;
}
#endif

} // namespace
} // namespace zul00500
