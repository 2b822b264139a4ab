#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/file_system.h"
#include "support/dataset.h"
#include "support/errors.h"
#include "support/faulty_fs.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/scripted_chooser.h"
#include "support/scripted_host.h"
#include "support/state.h"
#include "support/temp_world.h"
#include "tef/form.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

class NetworkChoiceTest : public ::testing::Test {
protected:
  NetworkChoiceTest() {
    SetNetworkChooser(chooser_);
    SetHostServices(host_);
    dsDirTef = HostDirectory() + "\\Dados\\Cadastros";
    platform::fs().create_directories(dsDirTef);
    // The TecBan manager's root is what makes the dialog appear.
    platform::fs().create_directories(kRootTefDisc);
    DirTef.clear();
    Zul_IdTipoImp = 0;
  }
  ~NetworkChoiceTest() override {
    SetNetworkChooser(nullptr);
    SetHostServices(nullptr);
    frmCartaoDebito.reset();
    DirTef.clear();
    dsDirTef.clear();
  }
  std::string StoredRoot() {
    ClientDataSet dataset;
    dataset.LoadFromFile(dsDirTef + "\\DIRTEF.cds");
    return dataset.FieldAsString("DIRTEF");
  }

  testing::TempWorld world_;
  std::shared_ptr<ScriptedChooser> chooser_ = std::make_shared<ScriptedChooser>();
  std::shared_ptr<ScriptedHostServices> host_ = std::make_shared<ScriptedHostServices>();
};

struct ChoiceCase {
  const char* click;
  const char* code;
  const char* root;
  bool accepted;
};

class CheckDirTefChoiceTest : public NetworkChoiceTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(CheckDirTefChoiceTest, ChoiceSelectsRootAndWritesItEvenWhenRefused) {
  chooser_->Push(GetParam().click);
  std::string root = "unchanged?";
  EXPECT_EQ(CheckDirTef(root, "D", 7), GetParam().accepted);
  EXPECT_EQ(DirTef, GetParam().root);
  EXPECT_EQ(root, GetParam().root);
  EXPECT_EQ(StoredRoot(), GetParam().root);
  EXPECT_EQ(Zul_IdTipoImp, 7);
}

INSTANTIATE_TEST_SUITE_P(EveryControl, CheckDirTefChoiceTest,
                         ::testing::Values(ChoiceCase{"btnTecBan", "1", kRootTefDisc, true},
                                           ChoiceCase{"imgTecBan", "1", kRootTefDisc, true},
                                           ChoiceCase{"btnOutros", "2", kRootTefDial, true},
                                           ChoiceCase{"imgOutros", "2", kRootTefDial, true},
                                           ChoiceCase{"imgHCard", "2", kRootTefDial, true},
                                           ChoiceCase{"btnHcard", "3", kRootHiperTef, true},
                                           ChoiceCase{"bbtEncerra", "9", kRootTefDisc, false},
                                           ChoiceCase{"Esc", "9", kRootTefDisc, false}));

TEST_F(NetworkChoiceTest, TipoRedeReturnsTheModalResultAsText) {
  for (const char* click : {"btnTecBan", "btnOutros", "btnHcard", "bbtEncerra"}) chooser_->Push(click);
  EXPECT_EQ(TipoRede("D"), "1");
  EXPECT_EQ(TipoRede("D"), "2");
  EXPECT_EQ(TipoRede("D"), "3");
  EXPECT_EQ(TipoRede("D"), "9");
}

TEST_F(NetworkChoiceTest, CaptionFollowsThePaymentKind) {
  for (const char* kind : {"D", "Q", "A", "V", "X"}) TipoRede(kind);
  EXPECT_EQ(chooser_->Shown(), (std::vector<std::string>{"Cart\xE3o de D\xE9"
                                                         "bito",
                                                         "Consulta de Cheque",
                                                         "Fun\xE7\xF5"
                                                         "es Administrativas",
                                                         "Cart\xE3o de D\xE9"
                                                         "bito",
                                                         "Cart\xE3o de D\xE9"
                                                         "bito"}));
}

TEST_F(NetworkChoiceTest, CreditNeverShowsTheDialog) {
  std::string root;
  EXPECT_TRUE(CheckDirTef(root, "C", 0));
  EXPECT_EQ(root, kRootTefDial);
  EXPECT_TRUE(chooser_->Shown().empty());
}

TEST_F(NetworkChoiceTest, WithoutTheTecBanRootNoKindShowsTheDialog) {
  std::filesystem::remove(testing::TempWorld::native(kRootTefDisc));
  for (const char* kind : {"D", "Q", "A", "V"}) {
    std::string root;
    EXPECT_TRUE(CheckDirTef(root, kind, 0));
    EXPECT_EQ(root, kRootTefDial);
    EXPECT_EQ(TipoRede(kind), "2");
  }
  EXPECT_TRUE(chooser_->Shown().empty());
}

TEST_F(NetworkChoiceTest, PrinterTypeIsAlwaysOverwritten) {
  Zul_IdTipoImp = 29;
  std::string root;
  CheckDirTef(root, "C", 0);
  EXPECT_EQ(Zul_IdTipoImp, 0);
}

TEST_F(NetworkChoiceTest, EveryCallReplacesTheHolderForm) {
  std::string root;
  CheckDirTef(root, "C", 0);
  const auto first = frmCartaoDebito;
  ASSERT_NE(first, nullptr);
  CheckDirTef(root, "C", 0);
  EXPECT_NE(frmCartaoDebito, first);
}

TEST_F(NetworkChoiceTest, FailureToSaveTheFileReachesTheCaller) {
  dsDirTef = HostDirectory() + "\\Dados\\Missing";
  std::string root;
  EXPECT_THROW(CheckDirTef(root, "C", 0), FileError);
  // The root was chosen before the save failed.
  EXPECT_EQ(DirTef, kRootTefDial);
}

TEST_F(NetworkChoiceTest, AWriteCutShortLeavesTheStoredRootWholeForTheNextReader) {
  DefineDirTefRede("TECBAN");
  testing::FaultyFs disk;
  disk.fail_call(testing::FsOp::WriteFile, 1, testing::Fault::Torn); // the disk fills up halfway
  {
    platform::ScopedFileSystem scoped(disk);
    EXPECT_THROW(DefineDirTefRede("HCard"), FileError);
  }
  // What the next conversation reloads is the last root written whole.
  EXPECT_EQ(StoredRoot(), kRootTefDisc);
  EXPECT_EQ(platform::fs().list(dsDirTef + "\\*.*"), std::vector<std::string>{"DIRTEF.cds"});
}

TEST_F(NetworkChoiceTest, TheDialogIsShownWithTheInputUnlockedAndTheLockPutBack) {
  struct Watcher : NetworkChooser {
    bool locked = true;
    void Run(TfrmCartaoDebito& form) override {
      locked = InputLocked();
      form.Click("btnOutros");
    }
  };
  const auto watcher = std::make_shared<Watcher>();
  SetNetworkChooser(watcher);
  BloqueiaTeclado();
  std::string root;
  EXPECT_TRUE(CheckDirTef(root, "D", 0));
  EXPECT_FALSE(watcher->locked);
  EXPECT_TRUE(InputLocked());
  DesbloqueiaTeclado();
}

TEST_F(NetworkChoiceTest, DefineDirTefRedeMapsNetworkNamesCaseSensitively) {
  const std::pair<const char*, const char*> cases[] = {{"TECBAN", kRootTefDisc}, {"HCard", kRootHiperTef},
                                                       {"tecban", kRootTefDial}, {"HCARD", kRootTefDial},
                                                       {"", kRootTefDial},       {"REDEX", kRootTefDial}};
  for (const auto& [network, root] : cases) {
    DefineDirTefRede(network);
    EXPECT_EQ(DirTef, root) << network;
    EXPECT_EQ(StoredRoot(), root) << network;
  }
}

TEST_F(NetworkChoiceTest, DirTefFileIsTheHostsXmlDataPacket) {
  DefineDirTefRede("TECBAN");
  EXPECT_EQ(platform::fs().read_file(dsDirTef + "\\DIRTEF.cds"),
            "<?xml version=\"1.0\" standalone=\"yes\"?>"
            "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"DIRTEF\" fieldtype=\"string\" "
            "WIDTH=\"50\"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW DIRTEF=\"c:\\tef_disc\\\"/></ROWDATA>"
            "</DATAPACKET>");
}

} // namespace
} // namespace zul00500
