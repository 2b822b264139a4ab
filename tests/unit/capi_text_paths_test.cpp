// Paths are text like any other: code page 1252 at the C interface on every
// platform, and the file system's own encoding (UTF-8 on Linux) on disk. A
// host that converts its directory to the code page, as the header says,
// finds the package's files in the directory a terminal shows it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <fstream>

#include "platform/file_system.h"
#include "support/host_services.h"
#include "tef/network_choice.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

// The package initialized as a host's loader does, so that the directories
// follow zul_SetHostDirectory() and zul_SetDriveRoot().
class CTextPathsTest : public testing::CSaleWorld {
protected:
  CTextPathsTest() { ::Initialize(); }
  ~CTextPathsTest() override {
    zul_SetHostDirectory("");
    zul_SetDriveRoot("");
    ::Finalize();
  }

  // Every name under `folder` that is not UTF-8: a code page byte that
  // reached the disk unconverted.
  static std::vector<std::string> NamesNotUtf8(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80) continue;
        const bool lead = byte >= 0xC2 && byte <= 0xF4 && i + 1 < name.size() &&
                          (static_cast<unsigned char>(name[i + 1]) & 0xC0) == 0x80;
        if (!lead) {
          found.push_back(entry.path().string());
          break;
        }
        ++i;
      }
    }
    return found;
  }
};

// "Lojas Ação" and "c:\Loja São João", handed over in the code page: a sale
// writes its copies, log and request where a UTF-8 terminal lists them, and
// the package's variables give the directories back in the code page.
TEST_F(CTextPathsTest, AnAccentedDriveRootAndHostDirectoryAreTheOnesATerminalShows) {
  const std::string root_utf8 = world_.root() + "/Lojas A\xC3\xA7\xC3\xA3o";
  ASSERT_EQ(zul_SetDriveRoot((world_.root() + "/Lojas A\xE7\xE3o").c_str()), ZUL_TRUE);
  ASSERT_EQ(zul_SetHostDirectory("c:\\Loja S\xE3o Jo\xE3o"), ZUL_TRUE);
  // The manager's folders, made where the package now looks.
  for (const char* folder : {"c:\\tef_dial\\req", "c:\\tef_dial\\resp"})
    platform::native_fs().create_directories(folder);
  ASSERT_TRUE(fs::is_directory(root_utf8 + "/c/tef_dial/req"));

  dial_.QueueAnswers({Approves({{"012-000", "000123"}})});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(25, 25, receipts), ZUL_TRUE) << LastError();
  EXPECT_EQ(Operations(kRootTefDial).back(), "CRT");

  const std::string host = root_utf8 + "/c/Loja S\xC3\xA3o Jo\xC3\xA3o";
  EXPECT_TRUE(fs::is_directory(host + "/Dados/TefDisc/Pendente"));
  std::vector<std::string> copies;
  for (const auto& entry : fs::directory_iterator(host + "/Dados/TefDisc"))
    copies.push_back(entry.path().filename().string());
  EXPECT_THAT(copies, ::testing::Contains(::testing::StartsWith("intpos.")));
  bool logged = false;
  for (const auto& entry : fs::directory_iterator(host))
    logged = logged || entry.path().filename().string().rfind("LogTef", 0) == 0;
  EXPECT_TRUE(logged);
  EXPECT_THAT(NamesNotUtf8(world_.root()), ::testing::IsEmpty());

  char directory[ZUL_PATH_CAPACITY];
  ASSERT_GT(zul_GetStr(ZUL_VAR_dsDirBkpTef, directory, sizeof directory), 0);
  EXPECT_STREQ(directory, "c:\\Loja S\xE3o Jo\xE3o\\Dados\\TefDisc\\");
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

// A host directory given in the system's own form: an error names the path
// the way the system writes it, in the code page like every text.
TEST_F(CTextPathsTest, AnErrorShowsAHostPathAsTheSystemWritesIt) {
  const std::string host_cp1252 = world_.root() + "/caix\xE1";
  ASSERT_EQ(zul_SetHostDirectory(host_cp1252.c_str()), ZUL_TRUE);
  const std::string host_utf8 = world_.root() + "/caix\xC3\xA1";
  ASSERT_TRUE(fs::is_directory(host_utf8 + "/Dados/Cadastros"));
  fs::remove_all(host_utf8 + "/Dados/Cadastros");

  char root[ZUL_ROOT_CAPACITY] = "";
  EXPECT_EQ(::CheckDirTef(root, sizeof root, "C", 0), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_FILE);
  EXPECT_THAT(LastError(), HasSubstr(host_cp1252 + "/Dados/Cadastros/"));
  EXPECT_THAT(LastError(), Not(HasSubstr("\\Dados")));
}

// The package's own listing gives names back in the code page: a file
// another program left with an accented name is found by its code page name.
TEST_F(CTextPathsTest, ANameOnDiskComesBackInTheCodePage) {
  // Octal escapes: a hex one would run on into "c".
  const std::string on_disk = "/not\303\255cia.txt"; // UTF-8
  const std::string in_code_page = "not\355cia.txt";
  const std::string asked_for = "c:\\tef_dial\\resp\\NOT\315CIA.TXT";
  std::ofstream(world_.native("c:\\tef_dial\\resp") + on_disk) << "x";
  ZulList lines = zul_ListNew();
  ASSERT_EQ(zul_ListLoadFromFile(lines, asked_for.c_str()), ZUL_TRUE) << LastError();
  EXPECT_TRUE(Holds(lines, "x"));
  EXPECT_EQ(platform::native_fs().list("c:\\tef_dial\\resp\\*.txt"), std::vector<std::string>{in_code_page});
  zul_ListFree(lines);
}

} // namespace
} // namespace zul00500
