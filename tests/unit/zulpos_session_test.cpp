#include <filesystem>
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/process.h"
#include "support/state.h"
#include "tool_platform/files.h"
#include "tool_platform/temp_directory.h"
#include "unit/linked_package.h"
#include "zulpos/session.h"

namespace zulpos {
namespace {

namespace platform = zul00500::platform;

// The package loaded, as zulpos finds it when it makes its session.
struct Loaded {
  Loaded() { zul00500::Initialize(); }
  ~Loaded() { zul00500::Finalize(); }
};

class ZulposSessionTest : public ::testing::Test {
protected:
  ~ZulposSessionTest() override { tool_platform::remove_directory_tree(folder_); }

  Loaded loaded_;
  zul00500::testing::UseLinkedPackage package_;
  const std::string folder_ = tool_platform::make_temp_directory("zulpos-test-");
  const std::string host_ = folder_ + "/host";
  const std::string drive_ = folder_ + "/drive";
  const std::string real_host_path_ = platform::host_executable_path();
  const std::string real_drive_root_ = platform::drive_root();
  const std::string real_directory_ = zul00500::dsDirTef;
};

TEST_F(ZulposSessionTest, MakesTheHostDirectoriesAndPointsThePackageAtThem) {
  {
    PackageSession session({host_, drive_}, "/opt/zulpos/bin/zulpos");
    EXPECT_EQ(session.host_dir(), WhereThePackageLooks(host_, drive_));
    EXPECT_TRUE(platform::fs().directory_exists(host_ + "/Dados/Cadastros"));
    EXPECT_TRUE(platform::fs().directory_exists(host_ + "/Dados/TefDisc/Pendente"));
    // The package derived its directories again, as if loaded from there
    // (from the short form of the directory, where the system has one).
    const std::string short_host = platform::fs().short_path(host_);
    EXPECT_EQ(zul00500::dsDirTef, short_host + "\\Dados\\Cadastros");
    EXPECT_EQ(zul00500::dsDirPenTef, short_host + "\\Dados\\TefDisc\\Pendente\\");
    EXPECT_EQ(platform::drive_root(), drive_);
  }
  // The process is zulpos's own again.
  EXPECT_EQ(zul00500::dsDirTef, real_directory_);
  EXPECT_EQ(platform::host_executable_path(), real_host_path_);
  EXPECT_EQ(platform::drive_root(), real_drive_root_);
}

TEST_F(ZulposSessionTest, WithoutHostDirectoryUsesTheProgramsOwn) {
  PackageSession session({std::nullopt, std::nullopt}, folder_ + "/bin/zulpos");
  EXPECT_EQ(session.host_dir(), folder_ + "/bin");
  EXPECT_TRUE(platform::fs().directory_exists(folder_ + "/bin/Dados/TefDisc/Pendente"));
  EXPECT_EQ(platform::host_executable_path(), real_host_path_);
}

TEST_F(ZulposSessionTest, DirectoriesThatCannotBeMadeLeaveNothingOverridden) {
  // Inside the drive root, which a Windows host directory outside it would not reach.
  std::filesystem::create_directories(drive_);
  tool_platform::write_file(drive_ + "/file", "x");
  EXPECT_ANY_THROW(PackageSession({drive_ + "/file/host", drive_}, "/opt/zulpos/bin/zulpos"));
  EXPECT_EQ(zul00500::dsDirTef, real_directory_);
  EXPECT_EQ(platform::host_executable_path(), real_host_path_);
  EXPECT_EQ(platform::drive_root(), real_drive_root_);
}

TEST(ZulposSessionPaths, AHostDirectoryOnADriveLivesWhereThePackageMapsIt) {
  const std::string root = (std::filesystem::path("r") / "drives").string();
  EXPECT_EQ(WhereThePackageLooks("C:\\Loja\\Caixa 1", root),
            (std::filesystem::path(root) / "c" / "Loja" / "Caixa 1").string());
  // Already under the root, not a drive path, or no root given: as it is.
  EXPECT_EQ(WhereThePackageLooks("R:\\Drives\\c\\loja", "r:/drives"), "R:\\Drives\\c\\loja");
  EXPECT_EQ(WhereThePackageLooks("/srv/loja", root), "/srv/loja");
  EXPECT_EQ(WhereThePackageLooks("c:\\loja", std::nullopt), "c:\\loja");
}

} // namespace
} // namespace zulpos
