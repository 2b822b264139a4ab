#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/temp_directory.h"
#include "zul00500/errors.h"
#include "zul00500/state.h"
#include "zulpos/session.h"

namespace zulpos {
namespace {

namespace platform = zul00500::platform;

class ZulposSessionTest : public ::testing::Test {
protected:
  ~ZulposSessionTest() override { platform::remove_directory_tree(folder_); }

  const std::string folder_ = platform::make_temp_directory("zulpos-test-");
  const std::string host_ = folder_ + "/host";
  const std::string drive_ = folder_ + "/drive";
  const std::string real_host_path_ = platform::host_executable_path();
  const std::string real_drive_root_ = platform::drive_root();
};

TEST_F(ZulposSessionTest, MakesTheHostDirectoriesAndLoadsThePackageForThem) {
  {
    PackageSession session({host_, drive_});
    EXPECT_TRUE(platform::fs().directory_exists(host_ + "/Dados/Cadastros"));
    EXPECT_TRUE(platform::fs().directory_exists(host_ + "/Dados/TefDisc/Pendente"));
    // The package works on the short (8.3) form of the directory; POSIX has none.
    const std::string host = platform::fs().short_path(host_);
    EXPECT_EQ(zul00500::dsDirTef, host + "\\Dados\\Cadastros");
    EXPECT_EQ(zul00500::dsDirPenTef, host + "\\Dados\\TefDisc\\Pendente\\");
    EXPECT_EQ(platform::drive_root(), drive_);
  }
  // Unloaded, and the process is zulpos's own again.
  EXPECT_EQ(zul00500::dsDirTef, "");
  EXPECT_EQ(platform::host_executable_path(), real_host_path_);
  EXPECT_EQ(platform::drive_root(), real_drive_root_);
}

TEST_F(ZulposSessionTest, DirectoriesThatCannotBeMadeLeaveNothingLoadedOrOverridden) {
  // Inside the drive root, where a Windows host directory outside it would not land.
  platform::fs().create_directories(drive_);
  platform::fs().write_file(drive_ + "/file", "x");
  EXPECT_THROW(PackageSession({drive_ + "/file/host", drive_}), zul00500::FileError);
  EXPECT_EQ(zul00500::dsDirTef, "");
  EXPECT_EQ(platform::host_executable_path(), real_host_path_);
  EXPECT_EQ(platform::drive_root(), real_drive_root_);
}

} // namespace
} // namespace zulpos
