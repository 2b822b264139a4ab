// zulpos and tefsim for a person at a terminal: the per-user host directory,
// the progress line on a terminal (a pseudo-terminal made by `script`) and
// never in a pipe, and tefsim telling when it makes its drive root.
#include <gtest/gtest.h>

#include <cstdlib>

#include "integration/tefsim_world.h"
#include "platform/clock.h"
#include "platform/file_system.h"

namespace zul00500 {
namespace {

class AtATerminal : public testing::TefsimWorld {
protected:
  // A program run to its end with `arguments` alone: its status and output.
  testing::ZulposRun Run(const std::string& program, const std::vector<std::string>& arguments,
                         std::uint32_t limit_ms = 30'000) {
    const std::string output = world_.root() + "/run.out";
    auto child = tool_platform::spawn(program, arguments, {output});
    testing::ZulposRun run;
    run.status = child.wait_for(limit_ms);
    if (!run.status) child.kill();
    run.output = Lines(output);
    return run;
  }

  // Sets the variable for the programs this test starts; the old value
  // comes back at the end.
  void SetEnvironment(const char* name, const std::string& value) {
    const char* old = std::getenv(name);
    restore_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    Put(name, value);
  }
  ~AtATerminal() override {
    for (const auto& [name, value] : restore_) Put(name.c_str(), value.value_or(""));
  }

private:
  static void Put(const char* name, const std::string& value) {
#ifdef _WIN32
    ::_putenv_s(name, value.c_str());
#else
    if (value.empty()) ::unsetenv(name);
    else ::setenv(name, value.c_str(), 1);
#endif
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> restore_;
};

TEST_F(AtATerminal, WithoutHostDirZulposWorksInTheUsersOwnFolderAndSaysSo) {
#ifdef _WIN32
  const char* variable = "LOCALAPPDATA";
  const char* separator = "\\";
#else
  const char* variable = "XDG_DATA_HOME";
  const char* separator = "/";
#endif
  const std::string data = world_.root() + separator + "data";
  const std::string host = data + separator + "zul00500" + separator + "host";
  SetEnvironment(variable, data);
  const auto run = Run(Program("zulpos"), {"--drive-root", world_.root(), "dirs"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0) << ::testing::PrintToString(run.output);
  EXPECT_TRUE(AnyLineHas(run.output, "zulpos: host directory " + host + " (this user's; --host-dir DIR"))
      << ::testing::PrintToString(run.output);
  EXPECT_TRUE(AnyLineHas(run.output, "dsDirTef=", "Dados"));
  EXPECT_TRUE(platform::native_fs().directory_exists(host + separator + "Dados"));

  // A folder that cannot be made there: the error names --host-dir.
  const std::string blocked_data = world_.root() + separator + "blocked";
  platform::native_fs().write_file(blocked_data, "a file, not a folder");
  SetEnvironment(variable, blocked_data);
  const auto blocked = Run(Program("zulpos"), {"--drive-root", world_.root(), "dirs"});
  ASSERT_TRUE(blocked.status.has_value());
  EXPECT_EQ(*blocked.status, 3);
  EXPECT_TRUE(AnyLineHas(blocked.output, "zulpos: make the folder", "--host-dir DIR chooses another"))
      << ::testing::PrintToString(blocked.output);
}

TEST_F(AtATerminal, ProgressShowsOnATerminalAndNeverInAPipe) {
#ifdef _WIN32
  GTEST_SKIP() << "the pseudo-terminal comes from script(1)";
#else
  // The manager answers each activity check after 3.8 s: long enough for
  // the progress line, which shows from 3 s on.
  StartTefsim("dial", {"--rule", "ATV: delay 3800"});
  ASSERT_EQ(Zulpos({"network", "--kind", "C"}).status, 0);

  const auto piped = Zulpos({"check"});
  ASSERT_TRUE(piped.status.has_value());
  EXPECT_EQ(*piped.status, 0);
  EXPECT_TRUE(piped.Said("result=true"));
  EXPECT_FALSE(AnyLineHas(piped.output, "waiting")) << ::testing::PrintToString(piped.output);

  // The same check with a terminal for its standard streams.
  std::string command = "'" + Program("zulpos") + "'";
  for (const std::string& argument :
       std::vector<std::string>{"--host-dir", world_.host_dir(), "--drive-root", world_.root(),
                                "--dialog-journal", journal_, "check"})
    command += " '" + argument + "'";
  const std::string transcript = world_.root() + "/terminal.txt";
  const auto terminal = Run("/usr/bin/script", {"-q", "-e", "-c", command, transcript});
  ASSERT_TRUE(terminal.status.has_value());
  EXPECT_EQ(*terminal.status, 0);
  const std::string seen = platform::native_fs().read_file(transcript);
  EXPECT_NE(seen.find("\rzulpos: waiting 3 s for the TEF manager's status file (gives up at 15 s)"),
            std::string::npos)
      << seen;
  // The line went before the results were written.
  EXPECT_NE(seen.find(std::string(20, ' ') + "\rresult=true"), std::string::npos) << seen;
#endif
}

TEST_F(AtATerminal, TefsimSaysWhenItMakesItsDriveRoot) {
  const std::string root = world_.root() + "/new/drive";
  for (const bool first : {true, false}) {
    const std::string output = world_.root() + "/tefsim-new.out";
    auto tefsim = tool_platform::spawn(Program("tefsim"),
                                       {"--drive-root", root, "--log", world_.root() + "/new.log"}, {output});
    for (int waited = 0; !platform::native_fs().directory_exists(root + "/c/tef_dial/resp"); waited += 50) {
      ASSERT_LT(waited, 10'000) << "tefsim did not get ready";
      platform::pause(50);
    }
    tefsim.terminate();
    ASSERT_TRUE(tefsim.wait_for(5000).has_value());
    EXPECT_EQ(AnyLineHas(Lines(output), "tefsim: made the drive root " + root), first)
        << ::testing::PrintToString(Lines(output));
  }
}

} // namespace
} // namespace zul00500
