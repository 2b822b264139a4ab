#include <gtest/gtest.h>

#include <memory>

#include "platform/file_system.h"
#include "platform/process.h"
#include "support/faulty_fs.h"
#include "support/state.h"
#include "support/temp_world.h"

namespace zul00500 {
namespace {

// A file system whose short names differ from the long ones, as on Windows.
class ShortNamesFs : public testing::FaultyFs {
public:
  std::string short_path(const std::string& path) override {
    return path == "C:\\Program Files\\Loja Central" ? "C:\\PROGRA~1\\LOJACE~1" : path;
  }
};

class PackageStateTest : public ::testing::Test {
protected:
  PackageStateTest() { platform::set_host_executable_path("C:\\Program Files\\Loja Central\\Quintar.exe"); }
  ~PackageStateTest() override {
    while (!dsDirTef.empty()) Finalize();
    platform::set_host_executable_path("");
  }
  ShortNamesFs short_names_;
  platform::ScopedFileSystem scoped_{short_names_};
};

TEST_F(PackageStateTest, DirectoriesAreDerivedFromTheShortFormOfTheHostDirectory) {
  Initialize();
  EXPECT_EQ(dsDirTef, "C:\\PROGRA~1\\LOJACE~1\\Dados\\Cadastros");
  EXPECT_EQ(dsDirBkpTef, "C:\\PROGRA~1\\LOJACE~1\\Dados\\TefDisc\\");
  EXPECT_EQ(dsDirPenTef, "C:\\PROGRA~1\\LOJACE~1\\Dados\\TefDisc\\Pendente\\");
  EXPECT_EQ(HostDirectoryLong(), "C:\\Program Files\\Loja Central");
  Finalize();
}

TEST_F(PackageStateTest, OnlyTheFirstInitializationAndItsBalancingFinalizationAct) {
  Initialize();
  Initialize();
  DirTef = "c:\\tef_dial\\";
  Finalize();
  EXPECT_EQ(DirTef, "c:\\tef_dial\\");
  Finalize();
  EXPECT_EQ(DirTef, "");
  // A further unbalanced finalization changes nothing.
  DirTef = "kept";
  Finalize();
  EXPECT_EQ(DirTef, "kept");
  DirTef.clear();
}

TEST_F(PackageStateTest, FinalizationEmptiesTheEightStringsAndKeepsTheRest) {
  Initialize();
  stArquivo = stNrSerie = stNrCupom = DirTef = stMensagem_Zul00500 = "x";
  doValorTef = 12.5;
  inContCuponsTEF = 2;
  Zul_IdTipoImp = 29;
  auto receipts = std::make_shared<StringList>(StringList{"1"});
  stlCuponsTEF = receipts;
  Finalize();
  for (const std::string* text : {&stArquivo, &stNrSerie, &stNrCupom, &DirTef, &dsDirTef, &dsDirBkpTef,
                                  &dsDirPenTef, &stMensagem_Zul00500})
    EXPECT_EQ(*text, "");
  EXPECT_EQ(doValorTef, 12.5);
  EXPECT_EQ(inContCuponsTEF, 2);
  EXPECT_EQ(Zul_IdTipoImp, 29);
  EXPECT_EQ(stlCuponsTEF, receipts);
  stlCuponsTEF.reset();
  doValorTef = 0;
  inContCuponsTEF = 0;
  Zul_IdTipoImp = 0;
}

TEST_F(PackageStateTest, ReloadStartsWithAnEmptyRoot) {
  Initialize();
  DirTef = "c:\\tef_disc\\";
  Finalize();
  Initialize();
  EXPECT_EQ(DirTef, "");
  EXPECT_EQ(dsDirTef, "C:\\PROGRA~1\\LOJACE~1\\Dados\\Cadastros");
  Finalize();
}

TEST(PackageStateOnThisMachine, HostDirectoryComesFromTheRealExecutable) {
  testing::TempWorld world;
  Initialize();
  EXPECT_EQ(dsDirBkpTef, world.host_dir() + "\\Dados\\TefDisc\\");
  Finalize();
}

TEST(PackageStateOnThisMachine, ALongHostDirectoryIsUsedInItsShortForm) {
  testing::TempWorld world;
  const std::string folder = world.root() + "\\Loja Central";
  platform::fs().create_directories(folder);
  platform::set_host_executable_path(folder + "\\Quintar.exe");
  Initialize();
#ifdef _WIN32
  // The 8.3 form that Windows gives the folder.
  EXPECT_EQ(dsDirTef.find("Loja Central"), std::string::npos) << dsDirTef;
  EXPECT_NE(dsDirTef.find('~'), std::string::npos) << dsDirTef;
  EXPECT_TRUE(platform::fs().directory_exists(dsDirTef.substr(0, dsDirTef.rfind("\\Dados")))) << dsDirTef;
#else
  // POSIX has no short names.
  EXPECT_EQ(dsDirTef, folder + "\\Dados\\Cadastros");
#endif
  EXPECT_EQ(HostDirectoryLong(), folder);
  Finalize();
}

} // namespace
} // namespace zul00500
