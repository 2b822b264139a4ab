// zulpos check against a running tefsim, in real time.
#include <gtest/gtest.h>

#include <algorithm>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"
#include "support/state.h"

namespace zul00500 {
namespace {

class CheckAgainstTefsim : public testing::TefsimWorld {
protected:
  // The host chose the other-networks manager before: DIRTEF.cds names it.
  void SetUp() override { ASSERT_TRUE(Zulpos({"network", "--kind", "C"}).Said("DirTef=c:\\tef_dial\\")); }

  std::vector<std::string> CardLog() {
    std::vector<std::string> messages;
    for (const std::string& name : platform::fs().list(HostDirectoryLong() + "\\LogTef*.txt"))
      for (const std::string& line : Lines(world_.host_dir() + "/" + name))
        messages.push_back(line.substr(line.find(" - ") + 3));
    return messages;
  }
};

TEST_F(CheckAgainstTefsim, AnsweringManager) {
  platform::native_fs().create_directories(world_.root() + "/requests");
  StartTefsim("dial", {"--keep-requests", world_.root() + "/requests"});
  const auto run = Zulpos({"check"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("result=true"));
  EXPECT_EQ(CardLog(), (std::vector<std::string>{"Zul00500 - Gerando arquivo Atv", "Zul00500 - Arquivo Atv criado",
                                                 "Zul00500 - Aguardando resposta do gerenciador",
                                                 "Zul00500 - Gerenciador est\xE1 ativo"}));
  // The request exactly as the manager found it.
  const std::string request = platform::native_fs().read_file(world_.root() + "/requests/ATV-1.001");
  ASSERT_EQ(request.size(), 50u) << request;
  EXPECT_EQ(request.substr(0, 25), "000-000 = ATV\r\n001-000 = ");
  EXPECT_EQ(request.substr(35), "\r\n999-999 = 0\r\n");
  EXPECT_TRUE(Lines(journal_).empty());
}

TEST_F(CheckAgainstTefsim, SilentManager) {
  StartTefsim("dial", {"--silent", "ATV"});
  const auto run = Zulpos({"check"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 1);
  EXPECT_TRUE(run.Said("result=false"));
  const auto log = CardLog();
  EXPECT_GE(std::count(log.begin(), log.end(), "Zul00500 - Aguardando resposta do gerenciador"), 24);
  EXPECT_EQ(log.back(), "Zul00500 - Aguardando resposta do gerenciador");
  EXPECT_EQ(Lines(journal_), (std::vector<std::string>{"O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!\t\tN\tN\t3\t\t\t0\t\tfalse"}));
}

TEST_F(CheckAgainstTefsim, WrongHeader) {
  StartTefsim("dial", {"--wrong-header", "ATV"});
  const auto run = Zulpos({"check"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 1);
  // The status file was read and deleted, and the wait went on to its end.
  EXPECT_TRUE(platform::fs().list("c:\\tef_dial\\resp\\intpos.*").empty());
  EXPECT_FALSE(AnyLineHas(CardLog(), "Gerenciador est"));
}

} // namespace
} // namespace zul00500
