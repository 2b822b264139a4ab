#include <gtest/gtest.h>

#include "zulpos/command.h"
#include "zulpos/command_line.h"
#include "zulpos/options.h"

namespace zulpos {
namespace {

const std::vector<OptionDef> kCommand = {
    {"--not-confirm", "", "send NCN"},
    {"--printer-type", "N", "printer type"},
    {"--pay", "A", "an amount", true},
};

// A command with kCommand's options and one operand, registered once.
const Command& TestCommand() {
  if (const Command* known = FindCommand("zz-confirm")) return *known;
  Command command;
  command.name = "zz-confirm";
  command.operands = "FILE";
  command.min_operands = 1;
  command.max_operands = 1;
  command.options = kCommand;
  command.rank = 1000;
  RegisterCommand(command);
  return *FindCommand("zz-confirm");
}

CommandLine parse(std::vector<std::string> args) {
  TestCommand();
  return ParseCommandLine(args);
}

// The message and the command named by the usage error `args` give.
std::pair<std::string, std::string> mistake(std::vector<std::string> args) {
  try {
    parse(std::move(args));
  } catch (const UsageError& error) {
    return {error.what(), error.command()};
  }
  return {"no error", ""};
}

TEST(ZulposCommandLine, GlobalOptionsThenTheCommandWithItsOptionsAndOperand) {
  const CommandLine line = parse({"--host-dir", "/h", "--answer", "y", "--answer=n", "zz-confirm", "a.txt",
                                  "--not-confirm", "--pay", "1", "--pay=2", "--printer-type", "29"});
  EXPECT_EQ(line.request, CommandLine::Request::Run);
  ASSERT_EQ(line.command, &TestCommand());
  EXPECT_EQ(line.global.ValueOr("--host-dir", ""), "/h");
  EXPECT_EQ(line.global.All("--answer"), (std::vector<std::string>{"y", "n"}));
  EXPECT_FALSE(line.global.Has("--not-confirm"));
  EXPECT_EQ(line.options.positionals, (std::vector<std::string>{"a.txt"}));
  EXPECT_TRUE(line.options.Has("--not-confirm"));
  EXPECT_EQ(line.options.All("--pay"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(line.options.Value("--printer-type"), "29");
  EXPECT_FALSE(line.options.Value("--context").has_value());
  EXPECT_EQ(line.global.ValueOr("--context", "zulpos"), "zulpos");
}

TEST(ZulposCommandLine, ValuesKeepWhatFollowsTheFirstEqualsAndMayBeEmptyOrStartWithADash) {
  const CommandLine line = parse({"--context=a=b", "--host-dir=", "zz-confirm", "f", "--printer-type", "-1"});
  EXPECT_EQ(line.global.Value("--context"), "a=b");
  // An empty value written inline does not take the command as its value.
  EXPECT_EQ(line.global.Value("--host-dir"), "");
  ASSERT_EQ(line.command, &TestCommand());
  EXPECT_EQ(line.options.Value("--printer-type"), "-1");
  EXPECT_EQ(parse({"--context", "--answer", "zz-confirm", "f"}).global.Value("--context"), "--answer");
  EXPECT_EQ(parse({"zz-confirm", "-"}).options.positionals, (std::vector<std::string>{"-"}));
}

TEST(ZulposCommandLine, MistakesAreUsageErrorsNamingTheCommandOnceKnown) {
  using Expected = std::pair<std::string, std::string>;
  EXPECT_EQ(mistake({}), Expected("no command given", ""));
  EXPECT_EQ(mistake({"--answer", "y"}), Expected("no command given", ""));
  EXPECT_EQ(mistake({"frobnicate"}), Expected("unknown command 'frobnicate'", ""));
  EXPECT_EQ(mistake({"--unknown", "zz-confirm", "f"}), Expected("unknown option --unknown", ""));
  EXPECT_EQ(mistake({"--host", "zz-confirm", "f"}),
            Expected("unknown option --host", "")); // no abbreviations
  EXPECT_EQ(mistake({"zz-confirm", "f", "--frobnicate=1"}),
            Expected("unknown option --frobnicate", "zz-confirm"));
  EXPECT_EQ(mistake({"zz-confirm", "f", "-x"}), Expected("unknown option -x", "zz-confirm"));
  EXPECT_EQ(mistake({"zz-confirm"}), Expected("zz-confirm needs FILE", "zz-confirm"));
  EXPECT_EQ(mistake({"zz-confirm", "a", "b"}), Expected("unexpected operand 'b'", "zz-confirm"));
  EXPECT_EQ(mistake({"--host-dir", "a", "--host-dir", "b", "zz-confirm", "f"}),
            Expected("--host-dir given more than once", ""));
  EXPECT_EQ(mistake({"zz-confirm", "f", "--not-confirm", "--not-confirm"}),
            Expected("--not-confirm given more than once", "zz-confirm"));
  // What CLI11 finds itself, in our words: a missing value, a value given to a flag.
  EXPECT_EQ(mistake({"--host-dir"}), Expected("--host-dir needs a value (DIR)", ""));
  EXPECT_EQ(mistake({"zz-confirm", "f", "--printer-type"}),
            Expected("--printer-type needs a value (N)", "zz-confirm"));
  EXPECT_EQ(mistake({"zz-confirm", "f", "--not-confirm=yes"}),
            Expected("--not-confirm takes no value", "zz-confirm"));
}

TEST(ZulposCommandLine, DoubleDashEndsTheOptions) {
  const CommandLine command = parse({"zz-confirm", "--", "--not-confirm"});
  EXPECT_FALSE(command.options.Has("--not-confirm"));
  EXPECT_EQ(command.options.positionals, (std::vector<std::string>{"--not-confirm"}));
  EXPECT_EQ(parse({"zz-confirm", "--", "--"}).options.positionals, (std::vector<std::string>{"--"}));
  // Among the global options it ends them, and the command comes next.
  const CommandLine global = parse({"--context", "x", "--", "zz-confirm", "f"});
  EXPECT_EQ(global.command, &TestCommand());
  EXPECT_EQ(global.global.Value("--context"), "x");
  EXPECT_EQ(parse({"--context", "--", "zz-confirm", "f"}).global.Value("--context"), "--");
  EXPECT_EQ(mistake({"--", "--help"}).first, "unknown command '--help'");
}

TEST(ZulposCommandLine, AGlobalOptionAfterTheCommandGetsAHint) {
  EXPECT_EQ(mistake({"zz-confirm", "f", "--not-confirm", "--host-dir", "/h"}).first,
            "--host-dir is a global option: write it before the command (zulpos --host-dir ... COMMAND)");
  EXPECT_EQ(mistake({"zz-confirm", "f", "--answer=y"}).first,
            "--answer is a global option: write it before the command (zulpos --answer ... COMMAND)");
}

TEST(ZulposCommandLine, HelpVersionAndCompletionAreRequests) {
  EXPECT_EQ(parse({"--answer", "y", "--help"}).request, CommandLine::Request::Help);
  EXPECT_EQ(parse({"-h"}).command, nullptr);
  // A command's help, whatever else its part holds.
  const CommandLine command_help = parse({"zz-confirm", "--frobnicate", "-h"});
  EXPECT_EQ(command_help.request, CommandLine::Request::Help);
  EXPECT_EQ(command_help.command, &TestCommand());
  EXPECT_EQ(parse({"--help", "zz-confirm"}).command, nullptr);
  EXPECT_EQ(parse({"--version"}).request, CommandLine::Request::Version);
  EXPECT_EQ(parse({"--bash-completion"}).request, CommandLine::Request::BashCompletion);
  EXPECT_EQ(mistake({"--help=yes"}).first.find("no error"), std::string::npos);
}

// One parse leaves nothing behind for the next: not its help request, not
// the values of a line refused halfway, not its command.
TEST(ZulposCommandLine, EachParseStartsClean) {
  parse({"zz-confirm", "a.txt", "-h"});
  mistake({"--context", "x", "zz-confirm", "f", "--pay", "1", "--not-confirm", "--printer-type"});
  parse({"--answer", "y", "--version"});
  const CommandLine line = parse({"zz-confirm", "b.txt", "--pay", "2"});
  EXPECT_EQ(line.request, CommandLine::Request::Run);
  EXPECT_FALSE(line.global.Has("--context"));
  EXPECT_FALSE(line.global.Has("--answer"));
  EXPECT_FALSE(line.options.Has("--not-confirm"));
  EXPECT_EQ(line.options.All("--pay"), (std::vector<std::string>{"2"}));
  EXPECT_EQ(line.options.positionals, (std::vector<std::string>{"b.txt"}));
  EXPECT_EQ(mistake({"--answer", "n"}).first, "no command given");
}

TEST(ZulposCommandLine, OneCommandAtATime) {
  EXPECT_EQ(mistake({"zz-confirm", "f", "zz-confirm"}).first, "unexpected operand 'zz-confirm'");
}

// ParseCommandLine is the one way in from argv (a fuzz target calls it):
// whatever it is given ends in a command line or a usage error, nothing else.
TEST(ZulposCommandLine, AnyArgumentsEndInACommandLineOrAUsageError) {
  const std::vector<std::vector<std::string>> odd = {
      {},
      {""},
      {"-"},
      {"--"},
      {"--="},
      {"---host-dir"},
      {"-h", "x"},
      {"--help="},
      {"--pay=1"},
      {"zz-confirm", "--"},
      {"zz-confirm", "--", "--pay"},
      {"--answer", "--answer"},
      {"zz-confirm", "f", "--pay", "-1", "--pay="},
      {"zz-confirm", "--printer-type=a=b", "f"},
      {"--version", "zz-confirm"},
      {"--bash-completion", "--help"},
      {"zz-confirm", "f", "--not-confirm=yes"},
      {std::string("zz-confirm\0", 11), "\xff\xfe"},
      {"zz-confirm", "f", "-abc"},
  };
  // Far longer than any real line (the fuzz target stops at 512 bytes).
  std::vector<std::string> long_line = {"--context", "x", "zz-confirm", "f"};
  const std::vector<std::string> pieces = {"--pay", "1", "--not-confirm", "--", "-x", "zz-confirm", "--pay="};
  for (std::size_t i = 0; i < 3000; ++i) long_line.push_back(pieces[i % pieces.size()]);
  auto cases = odd;
  cases.push_back(long_line);
  for (const auto& args : cases) {
    try {
      parse(args);
    } catch (const UsageError&) {
    } catch (const std::exception& other) {
      ADD_FAILURE() << ::testing::PrintToString(args) << ": " << other.what();
    }
  }
}

TEST(ZulposCommandLine, TheCompletionKnowsEveryCommandAndOption) {
  TestCommand();
  const std::string script = BashCompletionScript();
  for (const char* word : {"complete -o default -F _zulpos zulpos", "zz-confirm", "--host-dir",
                           "--not-confirm", "--answer) COMPREPLY=($(compgen -W \"y n\""})
    EXPECT_NE(script.find(word), std::string::npos) << word;
}

TEST(ZulposOptionValues, YesNoTakesYAndNOnly) {
  EXPECT_TRUE(ParseYesNo("--answer", "y"));
  EXPECT_TRUE(ParseYesNo("--answer", "yes"));
  EXPECT_FALSE(ParseYesNo("--answer", "n"));
  EXPECT_FALSE(ParseYesNo("--answer", "no"));
  EXPECT_THROW(ParseYesNo("--answer", ""), UsageError);
  EXPECT_THROW(ParseYesNo("--answer", "maybe"), UsageError);
}

TEST(ZulposOptionValues, IntegerMustBeWholeAndFit) {
  EXPECT_EQ(ParseInteger("--printer-type", "29"), 29);
  EXPECT_EQ(ParseInteger("--printer-type", "-3"), -3);
  for (const char* bad : {"", "1x", "x1", " 1", "1.5", "99999999999"})
    EXPECT_THROW(ParseInteger("--printer-type", bad), UsageError) << bad;
}

TEST(ZulposOptionValues, KindIsOneLetter) {
  EXPECT_EQ(ParseKind("--kind", "Q"), "Q");
  EXPECT_EQ(ParseKind("--kind", "c"), "c");
  for (const char* bad : {"", "CC", "1", " ", "\xC3\x87"})
    EXPECT_THROW(ParseKind("--kind", bad), UsageError) << bad;
}

TEST(ZulposSetupNotices, SayWhatIsMissingAndNothingElse) {
  MachineSetup setup;
  setup.drive_root = "/pos/drives";
  EXPECT_TRUE(SetupNotices(setup).empty());

  setup.drive_root_exists = false;
  setup.needs_stored_root = true;
  setup.dirtef_path = "/pos/host\\Dados\\Cadastros\\DIRTEF.cds";
  setup.dirtef_exists = false;
  const std::vector<std::string> notices = SetupNotices(setup);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_NE(notices[0].find("the drive root /pos/drives does not exist"), std::string::npos);
  EXPECT_NE(notices[1].find("run `zulpos network` first"), std::string::npos);

  // A command that does not use the stored root is not told about it; on
  // Windows there is no drive root.
  setup.needs_stored_root = false;
  setup.drive_root.clear();
  EXPECT_TRUE(SetupNotices(setup).empty());
}

TEST(ZulposOptionValues, ChoiceMustBeOneOfTheList) {
  EXPECT_EQ(ParseChoice("--network", "9", {"1", "2", "3", "9"}), "9");
  try {
    ParseChoice("--network", "4", {"1", "2", "3", "9"});
    FAIL() << "no error";
  } catch (const UsageError& error) {
    EXPECT_STREQ(error.what(), "--network takes one of 1, 2, 3, 9, not '4'");
  }
}

TEST(ZulposHelp, OptionsAlignAndContinuationLinesIndent) {
  const std::string text = FormatOptions({{"--a", "X", "first\nsecond"}, {"--longer", "", "flag"}});
  EXPECT_EQ(text, "  --a X      first\n"
                  "             second\n"
                  "  --longer   flag\n");
}

TEST(ZulposHelp, CommandsAreFoundByNameAndListedByRank) {
  Command late;
  late.name = "zz-test-late";
  late.summary = "late";
  late.rank = -1;
  Command early = late;
  early.name = "zz-test-early";
  early.summary = "early";
  early.rank = -2;
  RegisterCommand(late);
  RegisterCommand(early);

  ASSERT_NE(FindCommand("zz-test-late"), nullptr);
  EXPECT_EQ(FindCommand("zz-test-late")->summary, "late");
  EXPECT_EQ(FindCommand("zz-test-none"), nullptr);
  const auto commands = AllCommands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[0]->name, "zz-test-early");
  EXPECT_EQ(commands[1]->name, "zz-test-late");
  const std::string help = ProgramHelp(GlobalOptions());
  EXPECT_LT(help.find("zz-test-early"), help.find("zz-test-late"));
}

TEST(ZulposHelp, CommandHelpShowsSynopsisAndOptions) {
  Command command;
  command.name = "confirm";
  command.operands = "FILE";
  command.description = "Confirms.";
  command.options = kCommand;
  const std::string help = CommandHelp(command);
  EXPECT_EQ(help.rfind("Usage: zulpos [global options] confirm [options] FILE\n\nConfirms.\n", 0), 0u)
      << help;
  EXPECT_NE(help.find("--printer-type N"), std::string::npos);
}

} // namespace
} // namespace zulpos
