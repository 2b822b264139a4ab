#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "cli/command_line.h"
#include "support/temp_world.h"
#include "zulpos/command.h"
#include "zulpos/command_line.h"
#include "zulpos/options.h"

namespace zulpos {
namespace {

// A command with a flag, a number, a repeatable amount and one operand.
struct TestOptions {
  std::string file;
  bool not_confirm = false;
  int printer_type = 0;
  std::vector<std::string> pays;
};
TestOptions* last_options = nullptr; // of the last command line built

Command AddTestCommand(CLI::App& zulpos) {
  auto o = std::make_shared<TestOptions>();
  last_options = o.get();
  CLI::App* command = zulpos.add_subcommand("zz-confirm", "a command of the tests\n\nIt does nothing.");
  AddFileOperand(*command, o->file, "a file");
  AddFlag(*command, "--not-confirm", o->not_confirm, "send NCN");
  AddValue(*command, "--printer-type", o->printer_type, "N", "printer type")->check(Integer());
  AddRepeatable(*command, "--pay", o->pays, "A", "an amount")->transform(Amount());
  return {.app = command, .run = [o](CommandContext&) { return 0; }};
}

struct Parsed {
  std::unique_ptr<CommandLine> line = std::make_unique<CommandLine>();
  TestOptions* options = nullptr;
};

Parsed parse(const std::vector<std::string>& args) {
  Parsed parsed;
  parsed.line->Add(AddTestCommand);
  parsed.options = last_options;
  parsed.line->Parse(args);
  return parsed;
}

// What zulpos reports when parsing `args` throws: its exit status, and what
// it writes on stdout (the help) and stderr (a mistake).
struct Report {
  int status = -1; // -1: nothing thrown
  std::string out, err;
};
Report report(const std::vector<std::string>& args) {
  CommandLine line;
  line.Add(AddTestCommand);
  Report report;
  try {
    line.Parse(args);
  } catch (const CLI::ParseError& error) {
    std::ostringstream out, err;
    report.status = line.Report(error, out, err);
    report.out = out.str();
    report.err = err.str();
  }
  return report;
}

// What zulpos says, on stderr, about the mistake in `args`: the message and
// the help it points to; "no error" when there is none.
std::string mistake(const std::vector<std::string>& args) {
  const Report said = report(args);
  if (said.status == -1) return "no error";
  EXPECT_EQ(said.status, 2) << said.err;
  EXPECT_EQ(said.out, "");
  return said.err;
}

TEST(ZulposCommandLine, GlobalOptionsThenTheCommandWithItsOptionsAndOperand) {
  const Parsed parsed = parse({"--host-dir", "/h", "--answer", "y", "--answer=n", "zz-confirm", "a.txt",
                               "--not-confirm", "--pay", "1", "--pay=2,50", "--printer-type", "29"});
  const CommandLine& line = *parsed.line;
  ASSERT_NE(line.command(), nullptr);
  EXPECT_EQ(line.command()->app->get_name(), "zz-confirm");
  EXPECT_EQ(line.global().host_dir, "/h");
  EXPECT_EQ(line.global().answers, (std::vector<std::string>{"y", "n"}));
  EXPECT_EQ(line.global().context, "zulpos");
  EXPECT_FALSE(line.global().drive_root.has_value());
  EXPECT_EQ(parsed.options->file, "a.txt");
  EXPECT_TRUE(parsed.options->not_confirm);
  // Amounts as checked: a comma decimal comes back with a point.
  EXPECT_EQ(parsed.options->pays, (std::vector<std::string>{"1", "2.50"}));
  EXPECT_EQ(parsed.options->printer_type, 29);
}

TEST(ZulposCommandLine, ValuesKeepWhatFollowsTheFirstEqualsAndMayBeEmptyOrStartWithADash) {
  const Parsed parsed = parse({"--context=a=b", "--host-dir=", "zz-confirm", "f", "--printer-type", "-1"});
  EXPECT_EQ(parsed.line->global().context, "a=b");
  // An empty value written inline does not take the command as its value.
  EXPECT_EQ(parsed.line->global().host_dir, "");
  ASSERT_NE(parsed.line->command(), nullptr);
  EXPECT_EQ(parsed.options->printer_type, -1);
  EXPECT_EQ(parse({"--context", "--answer", "zz-confirm", "f"}).line->global().context, "--answer");
  EXPECT_EQ(parse({"zz-confirm", "-"}).options->file, "-");
}

TEST(ZulposCommandLine, AGlobalOptionMayFollowTheCommandUnlessTheCommandHasOneOfThatName) {
  const Parsed after = parse({"zz-confirm", "f", "--host-dir", "/h", "--answer=y"});
  EXPECT_EQ(after.line->global().host_dir, "/h");
  EXPECT_EQ(after.line->global().answers, (std::vector<std::string>{"y"}));
  // cancel has a --network of its own: the transaction's network.
  CommandLine line;
  line.Parse({"--network", "2", "cancel", "--network", "REDEX", "--doc", "1", "--amount", "100"});
  EXPECT_EQ(line.global().network, "2");
}

TEST(ZulposCommandLine, MistakesNameTheHelpOfTheCommandTheyAreIn) {
  auto says = [](const std::vector<std::string>& args, const std::string& message, const std::string& help) {
    const std::string text = mistake(args);
    EXPECT_EQ(text.rfind("zulpos: " + message + "\n", 0), 0u) << text;
    EXPECT_NE(text.find("Try '" + help + "'."), std::string::npos) << text;
  };
  says({}, "COMMAND is required", "zulpos --help");
  says({"--answer", "y"}, "COMMAND is required", "zulpos --help");
  says({"frobnicate"}, "unknown command 'frobnicate'", "zulpos --help");
  says({"zz-confrim", "f"}, "unknown command 'zz-confrim': did you mean zz-confirm?", "zulpos --help");
  says({"--unknown", "zz-confirm", "f"}, "unknown option --unknown", "zulpos zz-confirm --help");
  // No abbreviations, but a hint.
  says({"--host", "x", "dirs"}, "unknown option --host: did you mean --host-dir?", "zulpos dirs --help");
  says({"zz-confirm", "f", "--not-confrim"}, "unknown option --not-confrim: did you mean --not-confirm?",
       "zulpos zz-confirm --help");
  says({"zz-confirm", "f", "--frobnicate=1"}, "unknown option --frobnicate", "zulpos zz-confirm --help");
  says({"zz-confirm", "f", "-x"}, "unknown option -x", "zulpos zz-confirm --help");
  says({"zz-confirm"}, "FILE is required", "zulpos zz-confirm --help");
  says({"zz-confirm", "a", "b"}, "unexpected operand 'b'", "zulpos zz-confirm --help");
  says({"zz-confirm", "f", "zz-confirm"}, "unexpected operand 'zz-confirm'", "zulpos zz-confirm --help");
  // An unknown option is the mistake, not the option it kept from being given.
  says({"sale", "--pays", "40"}, "unknown option --pays: did you mean --pay?", "zulpos sale --help");
  // The values: the check of each option, as it is parsed.
  says({"zz-confirm", "f", "--pay", "4O"}, "--pay: an amount such as 40, 40.00 or 40,00, not '4O'",
       "zulpos zz-confirm --help");
  says({"--network", "4", "dirs"}, "--network: one of 1, 2, 3, 9, not '4'", "zulpos dirs --help");
  // What CLI11 finds itself comes in its words, in the same frame.
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--host-dir"},
                                             {"zz-confirm", "f", "--printer-type"},
                                             {"zz-confirm", "f", "--not-confirm=yes"},
                                             {"--host-dir", "a", "--host-dir", "b", "zz-confirm", "f"}}) {
    const std::string text = mistake(args);
    EXPECT_EQ(text.rfind("zulpos: ", 0), 0u) << text;
    EXPECT_NE(text.find("\nTry 'zulpos"), std::string::npos) << text;
  }
}

TEST(ZulposCommandLine, DoubleDashEndsTheOptions) {
  EXPECT_FALSE(parse({"zz-confirm", "--", "--not-confirm"}).options->not_confirm);
  EXPECT_EQ(parse({"zz-confirm", "--", "--not-confirm"}).options->file, "--not-confirm");
  // Among the global options it ends them, and the command comes next.
  const Parsed global = parse({"--context", "x", "--", "zz-confirm", "f"});
  ASSERT_NE(global.line->command(), nullptr);
  EXPECT_EQ(global.line->global().context, "x");
  EXPECT_EQ(parse({"--context", "--", "zz-confirm", "f"}).line->global().context, "--");
  EXPECT_NE(mistake({"--", "--help"}).find("unknown command '--help'"), std::string::npos);
}

TEST(ZulposCommandLine, HelpIsAskedForAndVersionAndCompletionNeedNoCommand) {
  auto help = [](const std::vector<std::string>& args) {
    const Report said = report(args);
    EXPECT_EQ(said.status, 0);
    EXPECT_EQ(said.err, "");
    return said.out;
  };
  EXPECT_EQ(help({"--answer", "y", "--help"}).rfind("Usage: zulpos [global options] COMMAND [options]\n", 0),
            0u);
  // A command's help, whatever else its part holds.
  EXPECT_EQ(help({"zz-confirm", "--frobnicate", "-h"}).rfind("Usage: zulpos [global options] zz-confirm", 0),
            0u);
  const Parsed version = parse({"--version"});
  EXPECT_TRUE(version.line->global().version);
  EXPECT_EQ(version.line->command(), nullptr);
  EXPECT_TRUE(parse({"--bash-completion"}).line->global().bash_completion);
}

// Parse is the one way in from argv (a fuzz target calls it): whatever it is
// given ends in a command line or CLI11's error, nothing else.
TEST(ZulposCommandLine, AnyArgumentsEndInACommandLineOrAParseError) {
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
      {"sale", "--receipts", "/no/such/folder/r.txt", "--pay", "1"},
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
    } catch (const CLI::ParseError&) {
    } catch (const std::exception& other) {
      ADD_FAILURE() << ::testing::PrintToString(args) << ": " << other.what();
    }
  }
}

TEST(ZulposCommandLine, TheCompletionKnowsEveryCommandAndOption) {
  CommandLine line;
  line.Add(AddTestCommand);
  const std::string script = line.BashCompletionScript();
  for (const char* word : {"complete -o default -F _zulpos zulpos", "zz-confirm", "sale", "--host-dir",
                           "--not-confirm", "--printer-fail", "--answer) COMPREPLY=($(compgen -W \"y n\""})
    EXPECT_NE(script.find(word), std::string::npos) << word;
}

TEST(ZulposHelp, TheProgramListsEachCommandBySummaryAndACommandMarksWhatItRequires) {
  CommandLine line;
  const std::string program = line.app().help();
  EXPECT_EQ(program.rfind("Usage: zulpos [global options] COMMAND [options]\n", 0), 0u);
  for (const char* command : {"dirs", "network", "check", "scan", "confirm", "sale", "receipt", "print",
                              "cancel", "pending", "demo", "dataset"})
    EXPECT_NE(program.find("\n  " + std::string(command) + " "), std::string::npos) << command;
  // The summary only: the rest of a description is the command's own help.
  EXPECT_EQ(program.find("Runs DoTEF once per --pay"), std::string::npos);
  const std::string sale = line.app().get_subcommand("sale")->help("zulpos");
  EXPECT_EQ(sale.rfind("Usage: zulpos [global options] sale [options]\n", 0), 0u) << sale;
  EXPECT_NE(sale.find("Runs DoTEF once per --pay"), std::string::npos);
  EXPECT_NE(sale.find("--pay A "), std::string::npos);
  EXPECT_NE(sale.find("in order (required)"), std::string::npos);
  const std::string confirm = line.app().get_subcommand("confirm")->help("zulpos");
  EXPECT_EQ(confirm.rfind("Usage: zulpos [global options] confirm [options] FILE\n", 0), 0u) << confirm;
}

TEST(ZulposOptionValues, AmountsTakeADotOrACommaAndTwoDecimalsAtMost) {
  for (const auto& [text, value] : std::vector<std::pair<std::string, double>>{
           {"40", 40.0}, {"40.5", 40.5}, {"0.01", 0.01}, {"1,50", 1.5}, {"1.50", 1.5}}) {
    std::string checked = text;
    EXPECT_EQ(Amount()(checked), "") << text;
    EXPECT_DOUBLE_EQ(AmountValue(checked), value) << text;
  }
  for (std::string bad : {"", "-1", "4O", "40.00 ", "inf", "nan", "1e999", "1e3", "1.505", "1,000.50", ".5",
                          "5.", "1234567890123"})
    EXPECT_NE(Amount()(bad), "") << bad;
}

TEST(ZulposOptionValues, EachCheckTakesWhatItShouldAndNothingElse) {
  struct Case {
    CLI::Validator check;
    std::vector<std::string> good, bad;
  };
  const std::vector<Case> cases = {
      {Cents(), {"1250", "050"}, {"", "12.50", "12,50", "-5", "1e3", " 12", "123456789012345", "0", "000"}},
      {PaymentAmount(), {"0.01", "40", "0,50"}, {"0", "0.00", "0,0", "-5", "", "nan"}},
      {Integer(), {"29", "-3", "0"}, {"", "1x", "x1", " 1", "1.5", "99999999999"}},
      {Kind(), {"Q", "c"}, {"", "CC", "1", " ", "\xC3\x87"}},
      {YesNo(), {"y", "yes", "n", "no"}, {"", "maybe", "Y"}},
      {OneOf({"1", "2", "3", "9"}), {"1", "9"}, {"4", "", "19"}},
  };
  for (const Case& c : cases) {
    for (std::string good : c.good) EXPECT_EQ(c.check(good), "") << c.check.get_name() << " " << good;
    for (std::string bad : c.bad) EXPECT_NE(c.check(bad), "") << c.check.get_name() << " " << bad;
  }
  EXPECT_TRUE(YesNoValue("yes"));
  EXPECT_FALSE(YesNoValue("n"));
  std::string four = "4";
  EXPECT_EQ(OneOf({"1", "2", "3", "9"})(four), "one of 1, 2, 3, 9, not '4'");
}

TEST(ZulposOptionValues, AFileToWriteNeedsAnExistingFolder) {
  zul00500::testing::TempWorld world;
  for (std::string good : {world.root() + "/receipts.txt", std::string("receipts.txt")})
    EXPECT_EQ(OutputFile()(good), "") << good;
  for (std::string bad : {world.root() + "/missing/receipts.txt", world.root(), std::string()})
    EXPECT_NE(OutputFile()(bad), "") << bad;
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

TEST(CommandLineTypos, TheNearestKnownWordIsATypoAway) {
  const std::vector<std::string> known = {"--pay", "--print", "--printer-type", "--host-dir", "--answer"};
  EXPECT_EQ(zul_cli::Nearest("--pays", known), "--pay");
  EXPECT_EQ(zul_cli::Nearest("--prnit", known), "--print"); // two letters swapped
  EXPECT_EQ(zul_cli::Nearest("--anwser", known), "--answer");
  EXPECT_EQ(zul_cli::Nearest("--host", known), "--host-dir"); // cut short, one word starts so
  EXPECT_EQ(zul_cli::Nearest("--pri", known), "");            // two words start so
  EXPECT_EQ(zul_cli::Nearest("--xyz", known), "");
  EXPECT_EQ(zul_cli::Nearest("--", known), "");
  EXPECT_EQ(zul_cli::Nearest("-p", known), "");
  EXPECT_EQ(zul_cli::Nearest("sael", {"sale", "scan"}), "sale");
}

} // namespace
} // namespace zulpos
