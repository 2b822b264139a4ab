// The file system's locks: what keeps a second till out. A lock excludes
// every other holder, its own process's other handles included; the holder's
// text stays readable; the file outlives the lock. That the system drops a
// lock with its process is shown by the integration tests, which kill one.
#include "platform/file_system.h"

#include "support/errors.h"
#include "support/temp_world.h"

#include <gtest/gtest.h>

namespace zul00500::platform {
namespace {

class FileLockTest : public ::testing::Test {
protected:
  std::string at(const std::string& relative) const { return world.root() + "\\" + relative; }

  testing::TempWorld world;
  FileSystem& files = native_fs();
};

TEST_F(FileLockTest, OneHolderAtATimeAndTheFileStaysAfterwards) {
  auto first = files.try_lock(at("Zul00500.lck"));
  ASSERT_TRUE(first);
  EXPECT_TRUE(files.file_exists(at("Zul00500.lck")));
  EXPECT_FALSE(files.try_lock(at("Zul00500.lck")));
  EXPECT_FALSE(files.try_lock(at("ZUL00500.LCK"))); // the same file, as Windows names it
  auto other = files.try_lock(at("other.lck"));
  EXPECT_TRUE(other);

  first.reset();
  EXPECT_TRUE(files.file_exists(at("Zul00500.lck")));
  auto second = files.try_lock(at("Zul00500.lck"));
  EXPECT_TRUE(second);
}

TEST_F(FileLockTest, TheHoldersTextIsReadableWhileItHoldsAndEachTextReplacesTheLast) {
  auto lock = files.try_lock(at("Zul00500.lck"));
  ASSERT_TRUE(lock);
  ASSERT_TRUE(lock->describe("pid=123456\r\nhost=C:\\CAIXA1\r\n"));
  EXPECT_EQ(files.read_file(at("Zul00500.lck")), "pid=123456\r\nhost=C:\\CAIXA1\r\n");
  ASSERT_TRUE(lock->describe("pid=7\r\n"));
  EXPECT_EQ(files.read_file(at("Zul00500.lck")), "pid=7\r\n");
  lock.reset();
  EXPECT_EQ(files.read_file(at("Zul00500.lck")), "pid=7\r\n");
}

TEST_F(FileLockTest, ALockInAMissingFolderIsAFileErrorNamingThePath) {
  try {
    files.try_lock(at("missing\\Zul00500.lck"));
    FAIL() << "no error";
  } catch (const FileError& error) {
    EXPECT_NE(std::string(error.what()).find("missing"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(files.directory_exists(at("missing")));
}

} // namespace
} // namespace zul00500::platform
