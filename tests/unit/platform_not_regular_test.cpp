// The native file system and what is no regular file: a FIFO, a device, a
// link, a directory. The exchange read (read_part) never follows nor opens
// one; whole-file reads follow a link to a regular file; removal takes the
// entry itself. An alarm ends the program should an open() block, so that a
// regression fails instead of holding the test run.
#include "platform/file_system.h"

#include "support/as_nobody.h"
#include "support/errors.h"
#include "support/temp_world.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zul00500::platform {
namespace {

namespace stdfs = std::filesystem;

class NotRegularFileTest : public ::testing::Test {
protected:
  std::string at(const std::string& relative) const { return world.root() + "\\" + relative; }
  stdfs::path native(const std::string& relative) const { return files.native_path(at(relative)); }

#ifndef _WIN32
  void SetUp() override { ::alarm(20); }
  void TearDown() override { ::alarm(0); }
#endif

  testing::TempWorld world;
  FileSystem& files = native_fs();
};

TEST_F(NotRegularFileTest, ADirectoryIsNoFileToRead) {
  files.create_directories(at("intpos.001"));
  EXPECT_THROW(files.read_part(at("intpos.001"), 0, 100), NotRegularFile);
  EXPECT_THROW(files.read_file(at("intpos.001")), NotRegularFile);
  EXPECT_FALSE(files.file_exists(at("intpos.001")));
  EXPECT_FALSE(files.remove_file(at("intpos.001")));
  EXPECT_TRUE(files.directory_exists(at("intpos.001")));
}

#ifndef _WIN32
TEST_F(NotRegularFileTest, AFifoIsRefusedAtOnceNotWaitedFor) {
  ASSERT_EQ(::mkfifo(native("intpos.001").c_str(), 0666), 0);
  EXPECT_TRUE(files.file_exists(at("intpos.001")));
  EXPECT_THROW(files.read_part(at("intpos.001"), 0, 100), NotRegularFile);
  EXPECT_THROW(files.read_file(at("intpos.001")), NotRegularFile);
  // Writing into it neither blocks: no reader, no opening.
  EXPECT_THROW(files.write_file(at("intpos.001"), "x"), FileError);
  EXPECT_TRUE(files.remove_file(at("intpos.001")));
  EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(native("intpos.001"))));
}

TEST_F(NotRegularFileTest, TheExchangeReadNeverFollowsALinkAndRemovalTakesTheLinkOnly) {
  files.write_file(at("target.txt"), "someone else's");
  stdfs::create_symlink(native("target.txt"), native("intpos.001"));
  stdfs::create_symlink("/dev/zero", native("intpos.002"));
  try {
    files.read_part(at("intpos.001"), 0, 100);
    FAIL() << "the link was followed";
  } catch (const NotRegularFile& error) {
    EXPECT_NE(error.reason().find("symbolic link"), std::string::npos) << error.reason();
  }
  EXPECT_THROW(files.read_part(at("intpos.002"), 0, 100), NotRegularFile);
  // A whole-file read of the host's own files follows a link to a file,
  // never to a device.
  EXPECT_EQ(files.read_file(at("intpos.001")), "someone else's");
  EXPECT_THROW(files.read_file(at("intpos.002")), NotRegularFile);

  EXPECT_TRUE(files.remove_file(at("intpos.001")));
  EXPECT_TRUE(files.remove_file(at("intpos.002")));
  EXPECT_EQ(files.read_file(at("target.txt")), "someone else's");
  EXPECT_TRUE(stdfs::exists("/dev/zero"));
}

TEST_F(NotRegularFileTest, ALinkIsThereAsItselfEvenToNowhereOrToADirectory) {
  files.create_directories(at("dir"));
  stdfs::create_symlink(native("missing"), native("intpos.001"));
  stdfs::create_directory_symlink(native("dir"), native("intpos.002"));
  EXPECT_TRUE(files.file_exists(at("intpos.001")));
  EXPECT_TRUE(files.file_exists(at("intpos.002")));
  EXPECT_THROW(files.read_part(at("intpos.002"), 0, 100), NotRegularFile);
  EXPECT_TRUE(files.remove_file(at("intpos.002")));
  EXPECT_TRUE(files.directory_exists(at("dir")));
}

TEST_F(NotRegularFileTest, ALinkedDirectoryIsToldALinkAndAPlainOneIsNot) {
  files.create_directories(at("dir"));
  stdfs::create_directory_symlink(native("dir"), native("resp"));
  EXPECT_TRUE(files.is_link(at("resp")));
  EXPECT_TRUE(files.is_link(at("resp\\")));
  EXPECT_TRUE(files.directory_exists(at("resp\\")));
  EXPECT_FALSE(files.is_link(at("dir\\")));
  EXPECT_FALSE(files.is_link(at("missing")));
}

TEST_F(NotRegularFileTest, AFileWeMayNotReadIsUnreadableNotMissing) {
  files.write_file(at("intpos.001"), "000-000 = CRT\r\n");
  ASSERT_EQ(::chmod(native("intpos.001").c_str(), 0), 0);
  const auto looks_unreadable = [this] {
    try {
      files.read_part(at("intpos.001"), 0, 100);
    } catch (const UnreadableFile&) {
      return files.file_exists(at("intpos.001"));
    } catch (...) {
    }
    return false;
  };
  if (::geteuid() != 0) {
    EXPECT_TRUE(looks_unreadable());
  } else {
    // Root reads a mode 000 file (CI runs as root): the look is made by a
    // child that became an ordinary user, to whom the world is given.
    const testing::AsNobodyRun run =
        testing::RunAsNobody({world.root()}, [&] { return looks_unreadable() ? 0 : 1; });
    if (!run.ran)
      GTEST_SKIP() << "running as root, and no child could become the user 65534: " << run.why_not;
    EXPECT_EQ(run.status, 0) << "as the user 65534, the mode 000 file did not look unreadable";
  }
  ::chmod(native("intpos.001").c_str(), 0600);
}
#endif

} // namespace
} // namespace zul00500::platform
