// The C interface's helpers: string lists behind handles, the exported
// variables by name, the last error, the life cycle and the integrators'
// settings. Nothing a host passes wrongly crashes the package or leaks an
// exception: it gets -1 and a text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "Pkg_Zul00500.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "support/capi_last_error.h"
#include "support/state.h"
#include "support/temp_world.h"

namespace zul00500 {
namespace {

using ::testing::HasSubstr;

using testing::CapiLastError;

TEST(CInterfaceList, LinesInAndOutSnprintfStyle) {
  ZulList list = zul_ListNew();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(zul_ListAdd(list, "000-000 = CRT"), ZUL_TRUE);
  EXPECT_EQ(zul_ListAdd(list, nullptr), ZUL_TRUE); // null reads as ""
  EXPECT_EQ(zul_ListCount(list), 2);
  char small[5];
  EXPECT_EQ(zul_ListGet(list, 0, small, sizeof small), 13);
  EXPECT_STREQ(small, "000-");
  EXPECT_EQ(zul_ListGet(list, 0, nullptr, 0), 13);
  EXPECT_EQ(zul_ListText(list, nullptr, 0), 17);

  EXPECT_EQ(zul_ListSetText(list, "a\rb\nc\r\nd"), ZUL_TRUE);
  char text[32];
  EXPECT_EQ(zul_ListText(list, text, sizeof text), 12);
  EXPECT_STREQ(text, "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(zul_ListClear(list), ZUL_TRUE);
  EXPECT_EQ(zul_ListCount(list), 0);
  EXPECT_EQ(zul_ListFree(list), ZUL_TRUE);
}

TEST(CInterfaceList, WrongHandlesAndIndexesGetMinusOneAndAText) {
  ZulList list = zul_ListNew();
  char line[8];
  EXPECT_EQ(zul_ListGet(list, 0, line, sizeof line), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(),
              HasSubstr("zul_ListGet: take the argument \"index\": 0 is not a line of a list of 0"));
  EXPECT_EQ(zul_ListGet(list, -1, line, sizeof line), ZUL_ERROR);
  zul_ListFree(list);
  // Freed twice, or never one of ours: refused, not a crash.
  EXPECT_EQ(zul_ListFree(list), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("already freed"));
  int not_a_list = 0;
  EXPECT_EQ(zul_ListCount(reinterpret_cast<ZulList>(&not_a_list)), ZUL_ERROR);
  EXPECT_EQ(zul_ListAdd(nullptr, "x"), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("a null list"));
}

TEST(CInterfaceList, FilesAreReadAndWrittenTheWayThePackageDoes) {
  testing::TempWorld world;
  platform::fs().create_directories("c:\\tef_dial\\resp");
  ZulList list = zul_ListNew();
  zul_ListSetText(list, "000-000 = ATV\n999-999 = 0");
  ASSERT_EQ(zul_ListSaveToFile(list, "c:\\missing\\intpos.001"), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("zul_ListSaveToFile"));
  ASSERT_EQ(zul_ListSaveToFile(list, "c:\\tef_dial\\resp\\intpos.001"), ZUL_TRUE);

  ZulList loaded = zul_ListNew();
  zul_ListAdd(loaded, "kept");
  EXPECT_EQ(zul_ListLoadFromFile(loaded, "C:\\TEF_DIAL\\resp\\INTPOS.001"), ZUL_TRUE);
  EXPECT_EQ(zul_ListCount(loaded), 2);
  // A file that cannot be read leaves the list as it was.
  EXPECT_EQ(zul_ListLoadFromFile(loaded, "c:\\missing.001"), ZUL_ERROR);
  EXPECT_EQ(zul_ListCount(loaded), 2);
  zul_ListFree(list);
  zul_ListFree(loaded);
}

class CInterfaceVariables : public ::testing::Test {
protected:
  ~CInterfaceVariables() override {
    stNrCupom.clear();
    inSecTef = 0;
    doAPagar = 0;
    inContCuponsTEF = 0;
    stlCuponsTEF.reset();
  }
};

TEST_F(CInterfaceVariables, ReadAndWrittenByNameWhateverTheLetterCase) {
  EXPECT_EQ(zul_SetStr("stnrcupom", "001234"), ZUL_TRUE);
  EXPECT_EQ(stNrCupom, "001234");
  char text[4];
  EXPECT_EQ(zul_GetStr("stNrCupom", text, sizeof text), 6);
  EXPECT_STREQ(text, "001");
  EXPECT_EQ(zul_SetInt("INSECTEF", 7), ZUL_TRUE);
  int number = 0;
  EXPECT_EQ(zul_GetInt("inSecTef", &number), ZUL_TRUE);
  EXPECT_EQ(number, 7);
  EXPECT_EQ(zul_SetFloat("doAPagar", 12.5), ZUL_TRUE);
  double real = 0;
  EXPECT_EQ(zul_GetFloat("doapagar", &real), ZUL_TRUE);
  EXPECT_DOUBLE_EQ(real, 12.5);

  EXPECT_EQ(zul_GetInt("doAPagar", &number), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("\"doAPagar\" is not an exported integer variable"));
  EXPECT_EQ(zul_GetStr("frmCartaoDebito", text, sizeof text), ZUL_ERROR);
  EXPECT_EQ(zul_GetFloat("doTrocoTef", nullptr), ZUL_ERROR);
}

TEST_F(CInterfaceVariables, ThePackagesOwnListIsFilledByTheHostAndNeverFreed) {
  ZulList list = zul_GetList("stlCuponsTEF");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(zul_GetList("STLCUPONSTEF"), list);
  EXPECT_EQ(zul_ListAdd(list, "1"), ZUL_TRUE);
  ASSERT_TRUE(stlCuponsTEF);
  EXPECT_EQ(stlCuponsTEF->Count(), 1u);
  EXPECT_EQ(zul_ListFree(list), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("the package's own list"));
  EXPECT_EQ(zul_GetList("stlOther"), nullptr);
  // With no block counted, CancelaTEFs has nothing to do.
  EXPECT_EQ(::CancelaTEFs(0), ZUL_TRUE);
}

TEST(CInterfaceLifeCycle, ExplicitCallsCountAndTheHostDirectoryDerivesTheDirectoriesAgain) {
  testing::TempWorld world;
  ASSERT_EQ(::Initialize(), ZUL_TRUE);
  EXPECT_EQ(::Initialize(), ZUL_TRUE); // counted, does nothing
  const std::string before = dsDirTef;
  EXPECT_EQ(zul_SetHostDirectory((world.root() + "/other/").c_str()), ZUL_TRUE);
  // Its directories are made first, so the short form is that of a
  // directory that exists (on Windows, with the system's separators).
  EXPECT_TRUE(platform::fs().directory_exists(world.root() + "/other\\Dados\\TefDisc\\Pendente"));
  const std::string other = platform::fs().short_path(world.root() + "/other");
  EXPECT_EQ(dsDirTef, other + "\\Dados\\Cadastros");
  EXPECT_EQ(dsDirPenTef, other + "\\Dados\\TefDisc\\Pendente\\");
  EXPECT_EQ(zul_SetHostDirectory(world.host_dir().c_str()), ZUL_TRUE);
  EXPECT_EQ(dsDirTef, before);
  EXPECT_EQ(::Finalize(), ZUL_TRUE);
  EXPECT_EQ(dsDirTef, before); // the first Finalize balances the second Initialize
  EXPECT_EQ(::Finalize(), ZUL_TRUE);
  EXPECT_EQ(dsDirTef, "");
  // Not loaded: a new host directory derives nothing.
  EXPECT_EQ(zul_SetHostDirectory((world.root() + "/other").c_str()), ZUL_TRUE);
  EXPECT_EQ(dsDirTef, "");
  zul_SetHostDirectory(world.host_dir().c_str());
}

TEST(CInterfaceLifeCycle, TheDriveRootIsTheIntegratorsToSet) {
  const std::string before = platform::drive_root();
  EXPECT_EQ(zul_SetDriveRoot("/tmp/zul-drive"), ZUL_TRUE);
  EXPECT_EQ(platform::drive_root(), "/tmp/zul-drive");
  EXPECT_EQ(zul_SetDriveRoot(""), ZUL_TRUE);
  EXPECT_EQ(platform::drive_root(), before);
}

// An integrator rehearsing on one machine: a drive root, and a host
// directory that is a drive path outside it. The package moves the host
// directory under the root and makes its Dados directories there, whichever
// call comes first, so that the first routine can write DIRTEF.cds and the
// card log.
TEST(CInterfaceLifeCycle, AHostDirectoryOutsideTheDriveRootMovesUnderItWhicheverCallComesFirst) {
  namespace fs = std::filesystem;
  testing::TempWorld world;
  ASSERT_EQ(::Initialize(), ZUL_TRUE);
  const fs::path drive = fs::path(world.root()) / "drive";
  fs::create_directories(drive);
  char root[ZUL_ROOT_CAPACITY] = "";

  ASSERT_EQ(zul_SetDriveRoot(drive.string().c_str()), ZUL_TRUE);
  ASSERT_EQ(zul_SetHostDirectory("q:\\shop\\host"), ZUL_TRUE);
  EXPECT_TRUE(fs::is_directory(drive / "q" / "shop" / "host" / "Dados" / "TefDisc" / "Pendente"));
  EXPECT_EQ(dsDirTef, "q:\\shop\\host\\Dados\\Cadastros");
  EXPECT_EQ(::CheckDirTef(root, sizeof root, "C", 0), ZUL_TRUE) << CapiLastError();
  EXPECT_TRUE(fs::is_regular_file(drive / "q" / "shop" / "host" / "Dados" / "Cadastros" / "DIRTEF.cds"));

  // The other way round: the host directory first (under the world's own
  // root), then a new root, which takes the host directory with it.
  const fs::path other = fs::path(world.root()) / "other";
  fs::create_directories(other);
  ASSERT_EQ(zul_SetHostDirectory("r:\\shop\\host"), ZUL_TRUE);
  ASSERT_EQ(zul_SetDriveRoot(other.string().c_str()), ZUL_TRUE);
  EXPECT_TRUE(fs::is_directory(other / "r" / "shop" / "host" / "Dados" / "Cadastros"));
  EXPECT_EQ(dsDirBkpTef, "r:\\shop\\host\\Dados\\TefDisc\\");
  EXPECT_EQ(::LogCartao("ensaio"), ZUL_TRUE) << CapiLastError();
  EXPECT_EQ(::CheckDirTef(root, sizeof root, "C", 0), ZUL_TRUE) << CapiLastError();
  EXPECT_TRUE(fs::is_regular_file(other / "r" / "shop" / "host" / "Dados" / "Cadastros" / "DIRTEF.cds"));

  // A host directory inside the root stays where it is.
  const fs::path inside = other / "loja";
  ASSERT_EQ(zul_SetHostDirectory(inside.string().c_str()), ZUL_TRUE);
  EXPECT_TRUE(fs::is_directory(inside / "Dados" / "TefDisc" / "Pendente"));
  EXPECT_EQ(::Finalize(), ZUL_TRUE);
}

} // namespace
} // namespace zul00500
