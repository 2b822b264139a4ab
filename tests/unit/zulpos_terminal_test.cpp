// zulpos for a person at a terminal: the progress line while the package
// waits for the manager (in virtual time), and the option an error points to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tool_platform/process.h"
#include "zulpos/options.h"
#include "zulpos/progress.h"

namespace zulpos {
namespace {

using std::chrono::milliseconds;

class ZulposProgressTest : public ::testing::Test {
protected:
  // The package's wait cycles `count` times, `every` apart; the line the
  // terminal shows after each cycle's text.
  void Cycles(int count, milliseconds every, bool answer = false) {
    for (int i = 0; i < count; ++i) {
      progress_.Cycle(answer);
      now_ += every;
    }
  }
  // What a terminal shows on its last line: the text after the last "\r",
  // blanks at the end aside.
  std::string LastLine() const {
    std::string text = terminal_.str();
    text = text.substr(text.find_last_of("\r\n") + 1);
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }
  int Hints() const {
    int count = 0;
    for (std::size_t at = terminal_.str().find("is the TEF manager running?"); at != std::string::npos;
         at = terminal_.str().find("is the TEF manager running?", at + 1))
      ++count;
    return count;
  }

  std::ostringstream terminal_;
  milliseconds now_{100'000};
  Progress progress_{terminal_, "tefsim --drive-root /pos", [this] { return now_; }};
};

TEST_F(ZulposProgressTest, AQuietManagerShowsOneLineThatCountsTheSecondsThenWhatToTry) {
  // The status wait's cycles, 600 ms apart: nothing for the first 3 s.
  Cycles(5, milliseconds(600));
  EXPECT_EQ(terminal_.str(), "");
  Cycles(1, milliseconds(600)); // at 3.0 s
  EXPECT_EQ(terminal_.str(), "\rzulpos: waiting 3 s for the TEF manager's status file (gives up at 15 s)");
  Cycles(4, milliseconds(600)); // to 5.4 s: the line is rewritten in place, then what to try
  EXPECT_EQ(terminal_.str().find('\n'), terminal_.str().rfind('\n')) << "one line of what to try";
  EXPECT_NE(
      terminal_.str().find("zulpos: is the TEF manager running? To start one: tefsim --drive-root /pos\n"),
      std::string::npos);
  EXPECT_EQ(LastLine(), "zulpos: waiting 5 s for the TEF manager's status file (gives up at 15 s)");
  Cycles(16, milliseconds(600));
  EXPECT_EQ(LastLine(), "zulpos: waiting 15 s for the TEF manager's status file (gives up at 15 s)");
  EXPECT_EQ(Hints(), 1);

  // The routine returned: the line goes before anything else is written.
  progress_.Clear();
  EXPECT_EQ(LastLine(), "");
  const std::string before = terminal_.str();
  progress_.Clear();
  EXPECT_EQ(terminal_.str(), before);
}

TEST_F(ZulposProgressTest, AManagerThatAnswersAtOnceShowsNothing) {
  // A total payment and its printing against a manager that answers at once,
  // as the package pumps: the status waits, then the answer wait; then,
  // after the routine returned, the printing run's settlement.
  for (const int at : {40, 893}) {
    now_ = milliseconds(at);
    progress_.Cycle(false);
  }
  for (const int at : {1745, 2023}) {
    now_ = milliseconds(at);
    progress_.Cycle(true);
  }
  progress_.Clear();
  for (int at = 2027; at < 4600; at += 610) {
    now_ = milliseconds(at);
    progress_.Cycle(false);
  }
  EXPECT_EQ(terminal_.str(), "");
}

TEST_F(ZulposProgressTest, EachWaitCountsFromItsStartAndTheAnswerWaitSuggestsNothing) {
  Cycles(12, milliseconds(600)); // 6.6 s of a status wait: its line and the hint
  EXPECT_EQ(Hints(), 1);
  EXPECT_EQ(LastLine(), "zulpos: waiting 6 s for the TEF manager's status file (gives up at 15 s)");
  // The status came; the answer wait starts (cycles of 250 ms), and the
  // status wait's line goes.
  Cycles(11, milliseconds(250), true);
  EXPECT_EQ(LastLine(), "");
  Cycles(2, milliseconds(250), true);
  EXPECT_EQ(LastLine(), "zulpos: waiting 3 s for the TEF manager's answer");
  Cycles(40, milliseconds(250), true);
  EXPECT_EQ(LastLine(), "zulpos: waiting 13 s for the TEF manager's answer");
  // A pause longer than a cycle between two waits: the next one starts at 0.
  now_ += milliseconds(2000);
  Cycles(5, milliseconds(600));
  EXPECT_EQ(LastLine(), "");
  Cycles(2, milliseconds(600));
  EXPECT_EQ(LastLine(), "zulpos: waiting 3 s for the TEF manager's status file (gives up at 15 s)");
  // What to try was said once.
  Cycles(10, milliseconds(600));
  EXPECT_EQ(Hints(), 1);
}

TEST(ZulposFolderHint, AnErrorInTheHostDirectoryOrUnderTheDriveRootNamesTheOption) {
  const std::string host = "/home/ana/.local/share/zul00500/host";
  const std::string root = "/home/ana/pos";
  EXPECT_EQ(FolderHint("make the folder \"" + host + "/Dados/Cadastros\": Permission denied", host, root),
            " (the host directory: --host-dir DIR chooses another)");
  // The package's paths mix separators.
  EXPECT_EQ(
      FolderHint("CheckDirTef: write \"" + host + "\\Dados\\Cadastros\\~DIRTEF.cds.tmp\": Permission denied",
                 host, root),
      " (the host directory: --host-dir DIR chooses another)");
  EXPECT_EQ(FolderHint("DoTEF: write \"/home/ana/pos/c/tef_dial\\req\\intpos.001\": Read-only file system",
                       host, root),
            " (under the drive root: --drive-root DIR chooses another)");
  // A host directory under the drive root is the host directory.
  EXPECT_EQ(FolderHint("write \"/home/ana/pos/c/loja\\Dados\": No space", "/home/ana/pos/c/loja", root),
            " (the host directory: --host-dir DIR chooses another)");
  EXPECT_EQ(FolderHint("ImprCupons: the host has not assigned Usa_CompNFis", host, root), "");
  EXPECT_EQ(FolderHint("anything", "", ""), "");
}

#ifndef _WIN32
// The environment as the test found it comes back after each case.
class UserDataFolderTest : public ::testing::Test {
protected:
  UserDataFolderTest() {
    for (const char* name : {"XDG_DATA_HOME", "HOME"})
      if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
  }
  ~UserDataFolderTest() override {
    ::unsetenv("XDG_DATA_HOME");
    for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
  }
  std::vector<std::pair<std::string, std::string>> saved_;
};

TEST_F(UserDataFolderTest, XdgDataHomeWhenAbsoluteElseTheHomesLocalShare) {
  ::setenv("HOME", "/home/ana", 1);
  ::setenv("XDG_DATA_HOME", "/data/ana", 1);
  EXPECT_EQ(tool_platform::user_data_folder(), "/data/ana");
  ::setenv("XDG_DATA_HOME", "relative/data", 1);
  EXPECT_EQ(tool_platform::user_data_folder(), "/home/ana/.local/share");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(tool_platform::user_data_folder(), "/home/ana/.local/share");
  ::unsetenv("HOME");
  EXPECT_EQ(tool_platform::user_data_folder(), "");
}
#endif

} // namespace
} // namespace zulpos
