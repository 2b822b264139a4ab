#include <gtest/gtest.h>

#include <sstream>

#include "platform/file_system.h"
#include "support/errors.h"
#include "support/host_services.h"
#include "tef/form.h"
#include "tool_platform/temp_directory.h"
#include "unit/linked_package.h"
#include "zulpos/host.h"
#include "zulpos/output.h"

namespace zulpos {
namespace {

const std::string kQuestion = "Impressora n\xE3o responde. Imprimir novamente?";

bool ask(const std::string& text = kQuestion) {
  return zul00500::host().Mensagem(text, "", "N", "S", zul00500::tmAviso, "", "ctx", 0, nullptr);
}
void tell(const std::string& text) {
  zul00500::host().Mensagem(text, "", "N", "N", zul00500::tmInformacao, "", "ctx", 0, nullptr);
}

HostOptions options(std::vector<bool> answers = {}, bool interactive = false) {
  HostOptions result;
  result.answers = std::move(answers);
  result.interactive = interactive;
  return result;
}

HostOptions network(const std::string& code) {
  HostOptions result;
  result.network = code;
  return result;
}

// The host's callbacks reached as the package reaches them: through the C
// interface.
class ZulposHostTest : public ::testing::Test {
protected:
  zul00500::testing::UseLinkedPackage package;
  std::istringstream terminal;
  std::ostringstream shown;
  Output out{shown};
};

TEST_F(ZulposHostTest, AnswersFromOptionsComeFirstThenNoWithoutATerminal) {
  terminal.str("y\n");
  ConsoleHost host(options({true, false}), terminal, out);
  host.Install();
  EXPECT_TRUE(ask());
  EXPECT_FALSE(ask());
  EXPECT_FALSE(ask());
  EXPECT_EQ(terminal.tellg(), 0) << "the terminal was read";
}

TEST_F(ZulposHostTest, DialogsWithoutQuestionUseNoAnswer) {
  ConsoleHost host(options({true}), terminal, out);
  host.Install();
  tell("O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!");
  EXPECT_TRUE(ask());
}

TEST_F(ZulposHostTest, EveryDialogIsShownInUtf8WithItsAnswer) {
  ConsoleHost host(options({true}), terminal, out);
  host.Install();
  tell("O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!");
  ask();
  EXPECT_EQ(shown.str(), "dialog: O Gerenciador Padr\xC3\xA3o n\xC3\xA3o est\xC3\xA1 ativo!\n"
                         "dialog: Impressora n\xC3\xA3o responde. Imprimir novamente?\n"
                         "answer: yes\n");
}

TEST_F(ZulposHostTest, TerminalIsAskedWhenTheAnswersAreUsedUp) {
  terminal.str("maybe\nSim\n\nn\n");
  ConsoleHost host(options({false}, true), terminal, out);
  host.Install();
  EXPECT_FALSE(ask()); // from --answer
  EXPECT_TRUE(ask());  // "maybe" is asked again, "Sim" is yes
  EXPECT_FALSE(ask()); // the empty line is asked again
  EXPECT_FALSE(ask()); // end of input
  const std::string text = shown.str();
  // The question the terminal asked about is shown once, before the prompt.
  const std::string dialog = "dialog: Impressora n\xC3\xA3o responde. Imprimir novamente?\n";
  EXPECT_EQ(text.rfind(dialog + "answer: no\n" + dialog + "[y/n] [y/n] ", 0), 0u) << text;
  std::size_t count = 0;
  for (std::size_t at = text.find(dialog); at != std::string::npos; at = text.find(dialog, at + 1)) ++count;
  EXPECT_EQ(count, 4u);
}

TEST_F(ZulposHostTest, ManyLineTextsIndentUnderTheFirstLine) {
  EXPECT_EQ(DialogLines("Cancelada a Transa\xE7\xE3o\r\nRede: X\nDoc No: 1"),
            "dialog: Cancelada a Transa\xC3\xA7\xC3\xA3o\n"
            "        Rede: X\n"
            "        Doc No: 1");
  EXPECT_EQ(DialogLines(""), "dialog: ");
}

TEST_F(ZulposHostTest, NetworkOptionAnswersEveryNetworkDialog) {
  ConsoleHost host(network("3"), terminal, out);
  host.Install();
  zul00500::TfrmCartaoDebito form;
  EXPECT_EQ(form.ShowModal(), zul00500::mrHcard);
  EXPECT_EQ(form.ShowModal(), zul00500::mrHcard);
  EXPECT_EQ(shown.str(), "network dialog: Cart\xC3\xA3o de D\xC3\xA9"
                         "bito\nanswer: 3\n"
                         "network dialog: Cart\xC3\xA3o de D\xC3\xA9"
                         "bito\nanswer: 3\n");
}

TEST_F(ZulposHostTest, NetworkDialogGetsOtherNetworksWithoutTerminalOrOption) {
  ConsoleHost host(options(), terminal, out);
  host.Install();
  zul00500::TfrmCartaoDebito form;
  EXPECT_EQ(form.ShowModal(), zul00500::mrOutros);
}

TEST_F(ZulposHostTest, EveryNetworkCodeIsTheDialogsModalResult) {
  for (const char* code : {"1", "2", "3", "9"}) {
    ConsoleHost host(network(code), terminal, out);
    host.Install();
    zul00500::TfrmCartaoDebito form;
    EXPECT_EQ(std::to_string(static_cast<int>(form.ShowModal())), code);
  }
}

TEST_F(ZulposHostTest, LeavingPutsThePackageDefaultsBack) {
  {
    ConsoleHost host(network("1"), terminal, out);
    host.Install();
    EXPECT_NE(&zul00500::host(), &zul00500::DefaultHostServices());
  }
  EXPECT_EQ(&zul00500::host(), &zul00500::DefaultHostServices());
#ifndef _WIN32
  // Without a terminal the package's own network dialog closes. (On Windows
  // it is a real window, which the window tests drive.)
  zul00500::TfrmCartaoDebito form;
  EXPECT_EQ(form.ShowModal(), zul00500::mrEncerra);
#endif
}

TEST_F(ZulposHostTest, FailingJournalEndsTheRoutineWithThePackagesErrorAndZulposReason) {
  HostOptions journalled = options({true});
  journalled.journal_path = "/nonexistent-folder/journal.txt";
  ConsoleHost host(journalled, terminal, out);
  host.Install();
  try {
    ask();
    ADD_FAILURE() << "no error";
  } catch (const zul00500::Error& error) {
    EXPECT_NE(std::string(error.what()).find("Mensagem"), std::string::npos) << error.what();
  }
}

TEST_F(ZulposHostTest, JournalGetsALinePerDialogWithTheAnswer) {
  const std::string folder = tool_platform::make_temp_directory("zulpos-test-");
  const std::string journal = folder + "/journal.txt";
  {
    HostOptions journalled = options({true});
    journalled.journal_path = journal;
    ConsoleHost host(journalled, terminal, out);
    host.Install();
    tell("a\tb");
    ask("c\\d");
  }
  EXPECT_EQ(zul00500::platform::fs().read_file(journal), "a\\tb\t\tN\tN\t0\t\tctx\t0\t\tfalse\n"
                                                         "c\\\\d\t\tN\tS\t3\t\tctx\t0\t\ttrue\n");
  EXPECT_TRUE(tool_platform::remove_directory_tree(folder));
}

TEST(ZulposJournal, DialogLineEscapesControlBytesAndKeepsCp1252) {
  const DialogCall call{"Linha 1\r\nTab\there \\ \x01 fim \xE3", "", "N", "S", 3, "", "ctx", 0, true};
  EXPECT_EQ(DialogJournalLine(call),
            "Linha 1\\r\\nTab\\there \\\\ \\x01 fim \xE3\t\tN\tS\t3\t\tctx\t0\t\ttrue");
}

TEST(ZulposYesNo, AcceptsEnglishAndPortugueseInAnyCase) {
  std::ostringstream prompt;
  for (const char* yes : {"y", "YES", " s ", "Sim"}) {
    std::istringstream in(std::string(yes) + "\n");
    EXPECT_TRUE(AskYesNo(in, prompt)) << yes;
  }
  for (const char* no : {"n", "No", "nao", "n\xC3\xA3o"}) {
    std::istringstream in(std::string(no) + "\n");
    EXPECT_FALSE(AskYesNo(in, prompt)) << no;
  }
}

TEST(ZulposOutput, ResultValuesStayOnOneLineAndKeepBackslashes) {
  EXPECT_EQ(ResultValue("c:\\tef_dial\\"), "c:\\tef_dial\\");
  EXPECT_EQ(ResultValue("a\r\nb\tc\x01\x7F"), "a\\r\\nb\\tc\\x01\\x7F");
  EXPECT_EQ(ResultValue("Cart\xE3o"), "Cart\xC3\xA3o");
}

TEST(ZulposOutput, PathResultsAreEscapedButPassAsTheFileSystemHasThem) {
  std::ostringstream stream;
  Output out(stream);
  out.PathResult("dsDirTef", "/tmp/caf\xC3\xA9\\Dados\nx");
#ifdef _WIN32
  EXPECT_EQ(stream.str(), "dsDirTef=/tmp/caf\xC3\x83\xC2\xA9\\Dados\\nx\n");
#else
  EXPECT_EQ(stream.str(), "dsDirTef=/tmp/caf\xC3\xA9\\Dados\\nx\n");
#endif
}

TEST(ZulposOutput, ResultsAndTextLines) {
  std::ostringstream stream;
  Output out(stream);
  out.Result("result", true);
  out.Result("Zul_IdTipoImp", 29);
  out.SetIndent("  ");
  out.Text("one\ntwo");
  out.Result("DirTef", "c:\\tef_disc\\");
  EXPECT_EQ(stream.str(), "result=true\nZul_IdTipoImp=29\n  one\n  two\nDirTef=c:\\tef_disc\\\n");
}

TEST(ZulposTempDirectory, EachIsFreshPrivateAndRemovedWhole) {
  const std::string first = tool_platform::make_temp_directory("zulpos-test-");
  const std::string second = tool_platform::make_temp_directory("zulpos-test-");
  EXPECT_NE(first, second);
  zul00500::platform::fs().create_directories(first + "/a/b");
  zul00500::platform::fs().write_file(first + "/a/b/file.txt", "x");
  EXPECT_TRUE(tool_platform::remove_directory_tree(first));
  EXPECT_FALSE(zul00500::platform::fs().directory_exists(first));
  EXPECT_TRUE(tool_platform::remove_directory_tree(second));
  // Nothing there is nothing left.
  EXPECT_TRUE(tool_platform::remove_directory_tree(second));
}

} // namespace
} // namespace zulpos
