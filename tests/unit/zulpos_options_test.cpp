#include <gtest/gtest.h>

#include "zulpos/command.h"
#include "zulpos/options.h"

namespace zulpos {
namespace {

const std::vector<OptionDef> kGlobal = {
    {"--host-dir", "DIR", "host directory"},
    {"--answer", "y|n", "an answer", true},
    {"--context", "TEXT", "context"},
};
const std::vector<OptionDef> kCommand = {
    {"--not-confirm", "", "send NCN"},
    {"--printer-type", "N", "printer type"},
};

ParsedOptions parse(std::vector<std::string> args, const std::vector<OptionDef>& defs, Positionals mode) {
  return ParseOptions(args, defs, mode);
}

TEST(ZulposOptions, GlobalPartStopsAtTheCommandName) {
  const std::vector<std::string> args = {"--host-dir", "/h",      "--answer",      "y",
                                         "--answer=n", "confirm", "--not-confirm", "FILE"};
  const ParsedOptions parsed = ParseOptions(args, kGlobal, Positionals::StopAtFirst);
  EXPECT_EQ(parsed.rest, 5u);
  EXPECT_EQ(parsed.ValueOr("--host-dir", ""), "/h");
  EXPECT_EQ(parsed.All("--answer"), (std::vector<std::string>{"y", "n"}));
  EXPECT_TRUE(parsed.positionals.empty());
  // The command's own options are not the global part's business.
  EXPECT_FALSE(parsed.Has("--not-confirm"));
}

TEST(ZulposOptions, CommandPartCollectsOperandsAroundOptions) {
  const ParsedOptions parsed =
      parse({"a.txt", "--not-confirm", "b.txt", "--printer-type", "29"}, kCommand, Positionals::Collect);
  EXPECT_EQ(parsed.positionals, (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_TRUE(parsed.Has("--not-confirm"));
  EXPECT_EQ(parsed.Value("--printer-type"), "29");
  EXPECT_EQ(parsed.rest, 5u);
}

TEST(ZulposOptions, ValuesKeepWhatFollowsTheFirstEqualsAndMayBeEmptyOrStartWithADash) {
  const ParsedOptions global = parse({"--context=a=b", "--host-dir="}, kGlobal, Positionals::StopAtFirst);
  EXPECT_EQ(global.Value("--context"), "a=b");
  EXPECT_EQ(global.Value("--host-dir"), "");
  // A value is taken whole, even when it looks like an option.
  const ParsedOptions command = parse({"--printer-type", "-1"}, kCommand, Positionals::Collect);
  EXPECT_EQ(command.Value("--printer-type"), "-1");
}

TEST(ZulposOptions, AbsentOptionHasNoValue) {
  const ParsedOptions parsed = parse({}, kGlobal, Positionals::StopAtFirst);
  EXPECT_FALSE(parsed.Value("--context").has_value());
  EXPECT_EQ(parsed.ValueOr("--context", "zulpos"), "zulpos");
  EXPECT_TRUE(parsed.All("--answer").empty());
  EXPECT_EQ(parsed.rest, 0u);
}

TEST(ZulposOptions, MistakesAreUsageErrors) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--unknown"},
           {"--unknown=1"},
           {"-x"},
           {"--host-dir"},                         // value missing at the end
           {"--host-dir", "a", "--host-dir", "b"}, // not repeatable
           {"--host"},                             // no abbreviations
       }) {
    EXPECT_THROW(parse(args, kGlobal, Positionals::StopAtFirst), UsageError) << args[0];
  }
  EXPECT_THROW(parse({"--not-confirm=yes"}, kCommand, Positionals::Collect), UsageError);
}

TEST(ZulposOptions, UsageErrorNamesTheOption) {
  try {
    parse({"--printer-type"}, kCommand, Positionals::Collect);
    FAIL() << "no error";
  } catch (const UsageError& error) {
    EXPECT_STREQ(error.what(), "--printer-type needs a value (N)");
  }
}

TEST(ZulposOptions, DoubleDashEndsTheOptions) {
  const ParsedOptions command = parse({"--", "--not-confirm", "-"}, kCommand, Positionals::Collect);
  EXPECT_FALSE(command.Has("--not-confirm"));
  EXPECT_EQ(command.positionals, (std::vector<std::string>{"--not-confirm", "-"}));

  const ParsedOptions global = parse({"--context", "x", "--", "check"}, kGlobal, Positionals::StopAtFirst);
  EXPECT_EQ(global.rest, 3u);
}

TEST(ZulposOptions, LoneDashIsAnOperand) {
  const ParsedOptions parsed = parse({"-"}, kCommand, Positionals::Collect);
  EXPECT_EQ(parsed.positionals, (std::vector<std::string>{"-"}));
}

TEST(ZulposOptions, HelpIsKnownEverywhere) {
  EXPECT_TRUE(parse({"-h"}, kCommand, Positionals::Collect).help);
  EXPECT_TRUE(parse({"--answer", "y", "--help"}, kGlobal, Positionals::StopAtFirst).help);
  EXPECT_FALSE(parse({"check", "--help"}, kGlobal, Positionals::StopAtFirst).help);
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

TEST(ZulposOptions, AGlobalOptionAfterTheCommandGetsAHint) {
  const std::vector<std::string> args = {"--not-confirm", "--host-dir", "/h"};
  try {
    ParseCommandOptions(args, kCommand, kGlobal);
    FAIL() << "no error";
  } catch (const UsageError& error) {
    EXPECT_STREQ(error.what(),
                 "--host-dir is a global option: write it before the command (zulpos --host-dir "
                 "... COMMAND)");
  }
  // An option nobody knows is just unknown.
  const std::vector<std::string> unknown = {"--frobnicate"};
  try {
    ParseCommandOptions(unknown, kCommand, kGlobal);
    FAIL() << "no error";
  } catch (const UsageError& error) {
    EXPECT_STREQ(error.what(), "unknown option --frobnicate");
  }
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
  const std::string help = ProgramHelp(kGlobal);
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
