// The helpers other suites build on: the temporary world, the faulty file
// system and the part of a test run as an ordinary user.
#include "support/as_nobody.h"
#include "support/faulty_fs.h"
#include "support/temp_world.h"

#include "platform/file_system.h"
#include "platform/process.h"
#include "support/errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zul00500::testing {
namespace {

using ::testing::ElementsAre;

TEST(TempWorldTest, SetsUpTheHostAndRemovesEverythingAfterwards) {
  std::string root, exe;
  {
    TempWorld world;
    root = world.root();
    exe = world.host_exe();
    EXPECT_TRUE(std::filesystem::is_directory(world.host_dir()));
    EXPECT_EQ(platform::host_executable_path(), world.host_exe());
    EXPECT_EQ(platform::drive_root(), root);
    platform::fs().create_directories("c:\\tef_dial\\req");
    EXPECT_TRUE(std::filesystem::is_directory(root + "/c/tef_dial/req"));
  }
  EXPECT_FALSE(std::filesystem::exists(root));
  EXPECT_NE(platform::host_executable_path(), exe);
}

TEST(TempWorldTest, EachWorldIsFresh) {
  TempWorld first, second;
  EXPECT_NE(first.root(), second.root());
}

#ifndef _WIN32
TEST(AsNobodyTest, TheChildIsThatUserInItsGroupAloneOwnsWhatItWasGivenAndItsValueComesBack) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may become another user";
  TempWorld world;
  platform::native_fs().write_file(world.host_exe(), "");
  const AsNobodyRun run = RunAsNobody({world.root()}, [] {
    const bool nobody = ::getuid() == 65534 && ::geteuid() == 65534 && ::getgid() == 65534 &&
                        ::getegid() == 65534 && ::getgroups(0, nullptr) == 0;
    return nobody ? 42 : 1;
  });
  if (!run.ran) GTEST_SKIP() << "no child could become the user 65534: " << run.why_not;
  EXPECT_EQ(run.status, 42);
  struct stat info {};
  ASSERT_EQ(::stat(world.host_exe().c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 65534u);
  EXPECT_EQ(info.st_gid, 65534u);
}
#endif

class FaultyFsTest : public ::testing::Test {
protected:
  std::string at(const std::string& name) const { return world.root() + "\\" + name; }

  TempWorld world;
  FaultyFs files;
};

TEST_F(FaultyFsTest, PassesCallsThroughAndRecordsThemInOrder) {
  files.write_file(at("a"), "1");
  files.rename_file(at("a"), at("b"));
  files.remove_file(at("b"));
  EXPECT_EQ(files.calls(), (std::vector<FsCall>{{FsOp::WriteFile, at("a"), "", false},
                                                {FsOp::RenameFile, at("a"), at("b"), false},
                                                {FsOp::RemoveFile, at("b"), "", false}}));
  EXPECT_FALSE(platform::native_fs().file_exists(at("b")));
}

TEST_F(FaultyFsTest, FailsOnlyTheChosenCallCountedFromNow) {
  for (const char* name : {"1", "2", "3"}) files.write_file(at(name), "x");
  files.remove_file(at("nothing"));
  files.fail_call(FsOp::RemoveFile, 2);
  EXPECT_TRUE(files.remove_file(at("1")));
  EXPECT_FALSE(files.remove_file(at("2")));
  EXPECT_TRUE(files.remove_file(at("3")));
  EXPECT_TRUE(platform::native_fs().file_exists(at("2"))) << "a failed call does nothing";
  EXPECT_THAT(files.paths(FsOp::RemoveFile), ElementsAre(at("nothing"), at("1"), at("2"), at("3")));
}

TEST_F(FaultyFsTest, FailsEveryCallFromTheChosenOneUntilHealed) {
  files.fail_from(FsOp::ReadFile, 2);
  files.write_file(at("f"), "x");
  EXPECT_EQ(files.read_file(at("f")), "x");
  EXPECT_THROW(files.read_file(at("f")), FileError);
  EXPECT_THROW(files.read_file(at("f")), FileError);
  files.heal();
  EXPECT_EQ(files.read_file(at("f")), "x");
  EXPECT_EQ(files.count(FsOp::ReadFile), 4);
}

TEST_F(FaultyFsTest, FailedWriteThrowsAFileErrorNamingThePath) {
  files.fail_call(FsOp::AppendFile, 1);
  try {
    files.append_file(at("log.txt"), "line");
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_EQ(error.operation(), "append");
    EXPECT_EQ(error.object(), at("log.txt"));
  }
  EXPECT_FALSE(platform::native_fs().file_exists(at("log.txt")));
  EXPECT_TRUE(files.calls().back().failed);
}

TEST_F(FaultyFsTest, TornWriteLeavesHalfTheBytes) {
  files.fail_call(FsOp::WriteFile, 1, Fault::Torn);
  EXPECT_THROW(files.write_file(at("f"), "12345678"), FileError);
  EXPECT_EQ(platform::native_fs().read_file(at("f")), "1234");
}

TEST_F(FaultyFsTest, FailedQueriesFindNothing) {
  files.write_file(at("intpos.001"), "x");
  files.fail_call(FsOp::FileExists, 1);
  files.fail_call(FsOp::List, 1);
  files.fail_call(FsOp::RenameFile, 1);
  EXPECT_FALSE(files.file_exists(at("intpos.001")));
  EXPECT_TRUE(files.list(at("intpos.*")).empty());
  EXPECT_FALSE(files.rename_file(at("intpos.001"), at("intpos.002")));
  EXPECT_TRUE(files.file_exists(at("intpos.001")));
}

TEST_F(FaultyFsTest, InstalledItSeesThePackagesCalls) {
  platform::ScopedFileSystem scope(files);
  platform::fs().write_file(at("f"), "x");
  EXPECT_EQ(files.count(FsOp::WriteFile), 1);
}

} // namespace
} // namespace zul00500::testing
