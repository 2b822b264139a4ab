// How Windows-form paths land on a POSIX file system.
#ifndef _WIN32
#include "platform/file_system.h"
#include "platform/posix/environment.h"
#include "platform/posix/paths.h"
#include "platform/process.h"

#include "support/temp_world.h"
#include "tool_platform/process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

namespace zul00500::platform {
namespace {

namespace stdfs = std::filesystem;

class PosixPathTest : public ::testing::Test {
protected:
  void make_directory(const std::string& relative) {
    stdfs::create_directories(world.root() + "/" + relative);
  }
  void make_file(const std::string& relative) { native_fs().write_file(world.root() + "/" + relative, ""); }

  testing::TempWorld world;
  FileSystem& files = native_fs();
};

TEST_F(PosixPathTest, DriveLetterLivesUnderTheDriveRootInLowerCase) {
  EXPECT_EQ(files.native_path("c:\\tef_dial\\req\\intpos.001"), world.root() + "/c/tef_dial/req/intpos.001");
  EXPECT_EQ(files.native_path("C:\\x"), world.root() + "/c/x");
  EXPECT_EQ(files.native_path("c:"), world.root() + "/c");
}

TEST_F(PosixPathTest, ComponentsMatchExistingEntriesWithoutRegardToCase) {
  make_directory("c/Tef_Dial/RESP");
  make_file("c/Tef_Dial/RESP/IntPos.001");
  EXPECT_EQ(files.native_path("c:\\tef_dial\\resp\\intpos.001"),
            world.root() + "/c/Tef_Dial/RESP/IntPos.001");
  EXPECT_TRUE(files.file_exists("C:\\TEF_DIAL\\Resp\\INTPOS.001"));
  EXPECT_TRUE(files.directory_exists("c:\\tef_dial\\resp\\"));
}

// A large directory's listing is kept between lookups of names missing under
// their exact spelling; what this process changes keeps it current, and
// what another program changes makes it read again.
TEST_F(PosixPathTest, ALargeDirectorysCaseFoldedLookupsFollowEveryChange) {
  make_directory("c/big");
  for (int n = 0; n < 200; ++n) make_file("c/big/f" + std::to_string(n));
  EXPECT_TRUE(files.file_exists("c:\\big\\F5"));
  EXPECT_FALSE(files.file_exists("c:\\big\\G.TXT"));

  // Another program's file.
  std::ofstream(world.root() + "/c/big/g.txt") << "x";
  EXPECT_TRUE(files.file_exists("c:\\big\\G.TXT"));

  // This process's own changes.
  EXPECT_TRUE(files.remove_file("c:\\big\\f7"));
  EXPECT_FALSE(files.file_exists("c:\\big\\F7"));
  files.write_file("c:\\big\\New.txt", "x");
  EXPECT_TRUE(files.file_exists("c:\\big\\NEW.TXT"));
  EXPECT_TRUE(files.rename_file("c:\\big\\New.txt", "c:\\big\\Moved.txt"));
  EXPECT_FALSE(files.file_exists("c:\\big\\NEW.TXT"));
  EXPECT_TRUE(files.file_exists("c:\\big\\moved.TXT"));

  // Another program removes one: not found any more.
  stdfs::remove(world.root() + "/c/big/f9");
  EXPECT_FALSE(files.file_exists("c:\\big\\F9"));
}

// Two entries that differ only in letter case (another program made them):
// once this process removes the one a lookup finds, the other is found.
TEST_F(PosixPathTest, ALargeDirectorysOtherSpellingIsFoundOnceTheFirstIsRemoved) {
  make_directory("c/big");
  for (int n = 0; n < 100; ++n) make_file("c/big/f" + std::to_string(n));
  std::ofstream(world.root() + "/c/big/Case.txt") << "x";
  std::ofstream(world.root() + "/c/big/CASE.TXT") << "x";
  const std::string first = stdfs::path(files.native_path("c:\\big\\case.txt")).filename().string();
  ASSERT_TRUE(first == "Case.txt" || first == "CASE.TXT") << first;
  const std::string other = first == "Case.txt" ? "CASE.TXT" : "Case.txt";

  EXPECT_TRUE(files.remove_file("c:\\big\\" + first));
  EXPECT_TRUE(files.file_exists("c:\\big\\case.txt"));
  EXPECT_EQ(files.native_path("c:\\big\\case.txt"), world.root() + "/c/big/" + other);
}

// Another program's renames and removals between two lookups, one after
// the other as a manager makes them: each lookup sees the directory as it
// is, whatever its times say.
TEST_F(PosixPathTest, ALargeDirectoryFollowsAnotherProgramsRenamesAtOnce) {
  make_directory("c/big");
  for (int n = 0; n < 100; ++n) make_file("c/big/f" + std::to_string(n));
  EXPECT_FALSE(files.file_exists("c:\\big\\INTPOS.001"));
  for (int round = 0; round < 50; ++round) {
    std::ofstream(world.root() + "/c/big/IntPos.tmp") << "x";
    stdfs::rename(world.root() + "/c/big/IntPos.tmp", world.root() + "/c/big/IntPos.001");
    EXPECT_TRUE(files.file_exists("c:\\big\\intpos.001")) << round;
    stdfs::remove(world.root() + "/c/big/IntPos.001");
    EXPECT_FALSE(files.file_exists("c:\\big\\intpos.001")) << round;
  }
}

TEST_F(PosixPathTest, AnExactNameWinsOverACaseInsensitiveOne) {
  make_directory("c/Dir");
  make_directory("c/dir");
  EXPECT_EQ(files.native_path("c:\\dir\\x"), world.root() + "/c/dir/x");
  EXPECT_EQ(files.native_path("c:\\Dir\\x"), world.root() + "/c/Dir/x");
}

TEST_F(PosixPathTest, MissingComponentsStayAsWrittenSoFilesCanBeCreated) {
  make_directory("c/tef_dial");
  EXPECT_EQ(files.native_path("c:\\TEF_DIAL\\Req\\New.txt"), world.root() + "/c/tef_dial/Req/New.txt");
  files.create_directories("c:\\TEF_DIAL\\Req");
  files.write_file("c:\\TEF_DIAL\\REQ\\intpos.001", "x");
  EXPECT_TRUE(stdfs::exists(world.root() + "/c/tef_dial/Req/intpos.001"));
}

TEST_F(PosixPathTest, BackslashSeparatesInNativeAbsolutePathsToo) {
  make_directory("host/Dados/Cadastros");
  EXPECT_EQ(files.native_path(world.host_dir() + "\\dados\\cadastros\\DIRTEF.cds"),
            world.host_dir() + "/Dados/Cadastros/DIRTEF.cds");
}

TEST_F(PosixPathTest, DotsAndRepeatedSeparatorsAreFoldedLikeWindowsDoes) {
  EXPECT_EQ(files.native_path("c:\\a\\.\\b\\..\\c\\\\d\\"), world.root() + "/c/a/c/d");
  EXPECT_EQ(files.native_path("c:\\..\\..\\x"), world.root() + "/c/x");
}

TEST_F(PosixPathTest, RelativePathsStartAtTheWorkingDirectory) {
  const stdfs::path previous = stdfs::current_path();
  stdfs::current_path(world.root());
  make_directory("Rel");
  files.write_file("rel\\f.txt", "x");
  stdfs::current_path(previous);
  EXPECT_TRUE(stdfs::exists(world.root() + "/Rel/f.txt"));
}

TEST_F(PosixPathTest, ListFollowsTheDirectoryOrder) {
  make_directory("c/resp");
  for (const char* name : {"intpos.010", "intpos.002", "INTPOS.STS", "intpos.001", "intpos.100"})
    make_file(std::string("c/resp/") + name);
  std::vector<std::string> on_disk;
  for (const auto& entry : stdfs::directory_iterator(world.root() + "/c/resp"))
    on_disk.push_back(entry.path().filename().string());
  EXPECT_EQ(files.list("C:\\Resp\\intpos.*"), on_disk);
}

TEST_F(PosixPathTest, ListOfAPatternEndingInASeparatorIsEmpty) {
  make_directory("c/resp");
  EXPECT_THAT(files.list("c:\\resp\\"), ::testing::IsEmpty());
}

TEST_F(PosixPathTest, ShortPathIsThePathUnchanged) {
  EXPECT_EQ(files.short_path(world.host_dir() + "\\Dados\\TefDisc\\"),
            world.host_dir() + "\\Dados\\TefDisc\\");
}

TEST(PosixDriveRootTest, DefaultComesFromTheEnvironmentThenTheUsersDataFolder) {
  EXPECT_EQ(posix::default_drive_root_from("/srv/drives", "/x", 7), "/srv/drives");
  EXPECT_EQ(posix::default_drive_root_from("", "/x/data", 7), "/x/data/zul00500/drives");
  EXPECT_EQ(posix::default_drive_root_from("", "", 7), "/tmp/zul00500-7/drives");
  // The user's data folder, by the XDG rules.
  EXPECT_EQ(posix::user_data_folder_from("/x/data", "/home/u"), "/x/data");
  EXPECT_EQ(posix::user_data_folder_from("relative", "/home/u"), "/home/u/.local/share");
  EXPECT_EQ(posix::user_data_folder_from(nullptr, ""), "");
}

TEST(PosixDriveRootTest, OverrideWinsUntilCleared) {
  const std::string before = drive_root();
  set_drive_root("/elsewhere");
  EXPECT_EQ(drive_root(), "/elsewhere");
  EXPECT_EQ(native_fs().native_path("d:\\x"), "/elsewhere/d/x");
  set_drive_root("");
  EXPECT_EQ(drive_root(), before);
}

// The package and the tools read the same variables through the same
// routines: zulpos's setup notice judges the folder the package will use,
// and its host folder lies beside the package's drives.
class SharedEnvironmentTest : public ::testing::Test {
protected:
  SharedEnvironmentTest() {
    for (const char* name : {"ZUL_DRIVE_ROOT", "XDG_DATA_HOME"})
      if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
  }
  ~SharedEnvironmentTest() override {
    ::unsetenv("ZUL_DRIVE_ROOT");
    ::unsetenv("XDG_DATA_HOME");
    for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
  }
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(SharedEnvironmentTest, PackageAndToolsSeeTheSameDriveRootAndDataFolder) {
  ::setenv("XDG_DATA_HOME", "/data/ana", 1);
  ::setenv("ZUL_DRIVE_ROOT", "/srv/drives", 1);
  EXPECT_EQ(drive_root(), "/srv/drives");
  EXPECT_EQ(tool_platform::drive_root_variable(), "/srv/drives");
  ::setenv("ZUL_DRIVE_ROOT", "", 1); // set but empty: as unset, for both
  EXPECT_EQ(tool_platform::drive_root_variable(), "");
  EXPECT_EQ(drive_root(), "/data/ana/zul00500/drives");
  EXPECT_EQ(drive_root(), tool_platform::user_data_folder() + "/zul00500/drives");
}

} // namespace
} // namespace zul00500::platform
#endif
