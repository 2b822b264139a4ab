// zulpos's command line from the argument list to a command and its
// options: what main runs, and what the option fuzz target feeds.
#include <gtest/gtest.h>

#include "zulpos/command_line.h"

namespace zulpos {
namespace {

// A command of this test's own, registered once.
const Command& Echo() {
  static const bool registered = [] {
    Command echo;
    echo.name = "zz-echo";
    echo.operands = "FILE";
    echo.min_operands = echo.max_operands = 1;
    echo.options = {{"--times", "N", "how often"}, {"--loud", "", "louder"}};
    return RegisterCommand(std::move(echo));
  }();
  (void)registered;
  return *FindCommand("zz-echo");
}

CommandLine Parse(const std::vector<std::string>& args) {
  CommandLine line;
  ParseCommandLine(args, line);
  return line;
}

TEST(ZulposCommandLine, SplitsGlobalOptionsTheCommandItsOptionsAndOperands) {
  const CommandLine line = Parse({"--answer", "y", "--context=caixa", Echo().name, "a.txt", "--times", "2"});
  EXPECT_EQ(line.command, &Echo());
  EXPECT_EQ(line.global.All("--answer"), (std::vector<std::string>{"y"}));
  EXPECT_EQ(line.global.Value("--context"), "caixa");
  EXPECT_EQ(line.options.Value("--times"), "2");
  EXPECT_EQ(line.options.positionals, (std::vector<std::string>{"a.txt"}));
}

TEST(ZulposCommandLine, HelpNeedsNoCommandAndACommandsHelpNoOperand) {
  EXPECT_EQ(Parse({"--help", "whatever"}).command, nullptr);
  const CommandLine line = Parse({Echo().name, "--help"});
  EXPECT_EQ(line.command, &Echo());
  EXPECT_TRUE(line.options.help);
}

TEST(ZulposCommandLine, AFaultAfterTheCommandLeavesItKnownForTheHint) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
    bool command_known;
  };
  const std::string echo = Echo().name;
  for (const Case& c : std::vector<Case>{
           {{}, "no command given", false},
           {{"--answer"}, "--answer needs a value (y|n)", false},
           {{"zz-nothing"}, "unknown command 'zz-nothing'", false},
           {{echo}, "zz-echo needs FILE", true},
           {{echo, "a", "b"}, "unexpected operand 'b'", true},
           {{echo, "a", "--loud=yes"}, "--loud takes no value", true},
           {{echo, "a", "--host-dir", "x"},
            "--host-dir is a global option: write it before the command (zulpos --host-dir ... COMMAND)",
            true},
       }) {
    CommandLine line;
    try {
      ParseCommandLine(c.args, line);
      ADD_FAILURE() << c.message << ": no error";
    } catch (const UsageError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
    EXPECT_EQ(line.command != nullptr, c.command_known) << c.message;
  }
}

} // namespace
} // namespace zulpos
