// The simulator's scenario lines and command line: which request gets which
// misbehaviour, and the errors a user sees for a line that makes no sense.
#include "tefsim/options.h"
#include "tefsim/scenario.h"

#include "platform/process.h"
#include "support/temp_world.h"

#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tefsim {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

Scenario Parse(const std::string& text) {
  Scenario scenario;
  scenario.add_text(text, "test.txt");
  return scenario;
}

TEST(TefsimScenarioTest, WithoutLinesEveryRequestIsAnsweredNormally) {
  const Behaviour behaviour = Scenario().behaviour_for("ATV", 1);
  EXPECT_EQ(behaviour, Behaviour{});
  EXPECT_FALSE(behaviour.silent);
  EXPECT_EQ(behaviour.status, StatusKind::Echo);
  EXPECT_EQ(behaviour.outcome, Outcome::Approve);
}

TEST(TefsimScenarioTest, NumberedSelectorHitsOnlyThatRequestOfThatOperation) {
  const Scenario scenario = Parse("ATV#2: silent\n");
  EXPECT_FALSE(scenario.behaviour_for("ATV", 1).silent);
  EXPECT_TRUE(scenario.behaviour_for("ATV", 2).silent);
  EXPECT_FALSE(scenario.behaviour_for("ATV", 3).silent);
  EXPECT_FALSE(scenario.behaviour_for("CNF", 2).silent);
}

TEST(TefsimScenarioTest, SelectorForms) {
  const Scenario scenario = Parse("CNF#2+: wrong-header\nNCN 3: empty-status\n*: delay 40\n");
  EXPECT_EQ(scenario.behaviour_for("CNF", 1).status, StatusKind::Echo);
  EXPECT_EQ(scenario.behaviour_for("CNF", 2).status, StatusKind::WrongHeader);
  EXPECT_EQ(scenario.behaviour_for("CNF", 9).status, StatusKind::WrongHeader);
  EXPECT_EQ(scenario.behaviour_for("NCN", 3).status, StatusKind::Empty);
  EXPECT_EQ(scenario.behaviour_for("NCN", 4).status, StatusKind::Echo);
  EXPECT_EQ(scenario.behaviour_for("CRT", 7).delay_ms, 40u);
}

TEST(TefsimScenarioTest, LaterLinesOverrideEarlierOnesForTheSameSetting) {
  const Scenario scenario = Parse("ATV: silent\nATV: delay 300\nATV#3: answer\nATV: header 000-000 = ATX\n");
  const Behaviour second = scenario.behaviour_for("ATV", 2);
  EXPECT_TRUE(second.silent);
  EXPECT_EQ(second.delay_ms, 300u);
  const Behaviour third = scenario.behaviour_for("ATV", 3);
  EXPECT_FALSE(third.silent);
  EXPECT_EQ(third.delay_ms, 0u);
  EXPECT_EQ(third.status, StatusKind::Header);
  EXPECT_EQ(third.status_header, "000-000 = ATX");
}

TEST(TefsimScenarioTest, ArgumentsAreTheRestOfTheLineWithInnerBlanksKept) {
  const Behaviour behaviour =
      Parse("CRT: message  TRANSACAO  NEGADA  \r\nCRT: network Rede X\nCRT: line 2 001-000=12\n")
          .behaviour_for("CRT", 1);
  EXPECT_TRUE(behaviour.has_message);
  EXPECT_EQ(behaviour.message, "TRANSACAO  NEGADA");
  EXPECT_EQ(behaviour.network, "Rede X");
  EXPECT_EQ(behaviour.lines.at(2), "001-000=12");
  EXPECT_TRUE(Parse("CRT: message").behaviour_for("CRT", 1).has_message);
}

TEST(TefsimScenarioTest, AnswerDirectivesFillTheBehaviour) {
  const Behaviour behaviour = Parse("# sale answers\n"
                                    "\n"
                                    "CRT: refuse\n"
                                    "CRT: answer-delay 250\n"
                                    "CRT: other-sequence-first\n"
                                    "CRT: blocks 710 714\n"
                                    "CRT: field 709-000 1250\n"
                                    "CRT: omit 748-000\n"
                                    "CHQ: answer-silent\n")
                                  .behaviour_for("CRT", 1);
  EXPECT_EQ(behaviour.outcome, Outcome::Refuse);
  EXPECT_EQ(behaviour.answer_delay_ms, 250u);
  EXPECT_TRUE(behaviour.other_sequence_first);
  EXPECT_FALSE(behaviour.answer_silent);
  EXPECT_THAT(behaviour.extra_blocks, ElementsAre("710-000", "714-000"));
  EXPECT_EQ(behaviour.fields.at("709-000"), "1250");
  EXPECT_THAT(behaviour.omitted, ElementsAre("748-000"));
}

TEST(TefsimScenarioTest, BadLinesAreRefusedWithWhereAndWhy) {
  const std::pair<const char*, const char*> cases[] = {
      {"ATV silent", "SELECTOR: DIRECTIVE"},
      {": silent", "no operation"},
      {"ATV: silet", "unknown directive \"silet\""},
      {"ATV#0: silent", "counted from 1"},
      {"ATV#two: silent", "whole number"},
      {"ATV: delay", "needs an argument"},
      {"ATV: delay 1.5", "whole number"},
      {"ATV: delay -3", "whole number"},
      {"ATV: silent please", "takes no argument"},
      {"CRT: field 709 12", "field id"},
      {"CRT: omit 7090-00", "field id"},
      {"CRT: blocks 710 711", "710, 712 or 714"},
      {"CRT: line 0 x", "start at 1"},
      {"CTR: refuse", "unknown operation \"CTR\""},
      // The package writes operation codes in capitals only: a selector in
      // lower case could never match.
      {"atv: silent", "unknown operation \"atv\""},
      {"ATV: torn", "needs an argument"},
      {"CRT: pause-at 52", "pause-at's pause must be a whole number"},
  };
  for (const auto& [line, why] : cases) {
    SCOPED_TRACE(line);
    try {
      Parse(std::string("ATV: delay 5\n") + line + "\n");
      ADD_FAILURE() << "accepted";
    } catch (const ScenarioError& e) {
      EXPECT_THAT(e.what(), HasSubstr("test.txt line 2: "));
      EXPECT_THAT(e.what(), HasSubstr(why));
    }
  }
}

TEST(TefsimScenarioTest, TextWithABadLineAddsNothing) {
  Scenario scenario;
  EXPECT_THROW(scenario.add_text("ATV: silent\nATV: nonsense\n", "run.txt"), ScenarioError);
  EXPECT_TRUE(scenario.empty());
  EXPECT_FALSE(scenario.behaviour_for("ATV", 1).silent);
}

TEST(TefsimOptionsTest, Defaults) {
  const Options options = parse_options({});
  EXPECT_THAT(options.roots, ElementsAre("c:\\tef_dial\\"));
  EXPECT_EQ(options.poll_ms, 100u);
  EXPECT_TRUE(options.rules.empty());
  EXPECT_FALSE(options.version);
}

TEST(TefsimOptionsTest, RootsInTheirOrderWithoutRepeats) {
  EXPECT_THAT(parse_options({"--roots", "hiper,disc,hiper"}).roots,
              ElementsAre("c:\\HiperTEF\\", "c:\\tef_disc\\"));
  EXPECT_THAT(parse_options({"--roots=dial,disc,hiper"}).roots,
              ElementsAre("c:\\tef_dial\\", "c:\\tef_disc\\", "c:\\HiperTEF\\"));
}

TEST(TefsimOptionsTest, MisbehaviourOptionsBecomeScenarioLinesAfterTheFile) {
  const Options options =
      parse_options({"--scenario", "run.txt", "--silent", "ATV#2", "--delay=CNF=200", "--wrong-header", "NCN",
                     "--empty-status", "ATV#3+", "--rule", "CRT: refuse", "--log", "tefsim.log", "--poll-ms",
                     "25", "--drive-root", "/tmp/drive"});
  EXPECT_EQ(options.scenario_file, "run.txt");
  EXPECT_THAT(options.rules, ElementsAre("ATV#2: silent", "CNF: delay 200", "NCN: wrong-header",
                                         "ATV#3+: empty-status", "CRT: refuse"));
  EXPECT_EQ(options.log_file, "tefsim.log");
  EXPECT_EQ(options.poll_ms, 25u);
  EXPECT_EQ(options.drive_root, "/tmp/drive");

  Scenario scenario;
  for (const std::string& rule : options.rules) scenario.add_line(rule);
  EXPECT_TRUE(scenario.behaviour_for("ATV", 2).silent);
  EXPECT_EQ(scenario.behaviour_for("ATV", 4).status, StatusKind::Empty);
  EXPECT_EQ(scenario.behaviour_for("CNF", 1).delay_ms, 200u);
}

// What tefsim says on stderr about the mistake in `args`, as zulpos would.
std::string Mistake(const std::vector<std::string>& args) {
  try {
    parse_options(args);
  } catch (const CLI::ParseError& error) {
    std::ostringstream out, err;
    EXPECT_EQ(report(error, out, err), 2);
    return err.str();
  }
  return "no error";
}

TEST(TefsimOptionsTest, MistakesAreToldAsZulposTellsThem) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--roots", "dial,tecban"}, "--roots: unknown root \"tecban\" (dial, disc or hiper)"},
      {{"--poll-ms", "0"}, "--poll-ms: a whole number of milliseconds above 0, not \"0\""},
      {{"--poll-ms", "fast"}, "--poll-ms: a whole number of milliseconds above 0, not \"fast\""},
      {{"--delay", "ATV"}, "--delay: SELECTOR=MS, not \"ATV\""},
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"--dealy", "ATV=1"}, "unknown option --dealy: did you mean --delay?"},
      {{"extra"}, "unexpected operand 'extra'"},
  };
  for (const auto& [args, message] : cases)
    EXPECT_EQ(Mistake(args), "tefsim: " + message + "\nTry 'tefsim --help'.\n") << args.front();
  // A missing value, in CLI11's words.
  EXPECT_THAT(Mistake({"--silent"}), HasSubstr("Try 'tefsim --help'."));
}

TEST(TefsimOptionsTest, AKeepRequestsFolderThatDoesNotExistIsRefused) {
  zul00500::testing::TempWorld world;
  EXPECT_EQ(parse_options({"--keep-requests", world.root()}).keep_requests, world.root());
  EXPECT_THAT(Mistake({"--keep-requests", world.root() + "/missing"}),
              HasSubstr(world.root() + "/missing does not exist"));
}

TEST(TefsimOptionsTest, ALaterValueReplacesAnEarlierOne) {
  const Options options =
      parse_options({"--log", "a.log", "--poll-ms", "5", "--log=b.log", "--poll-ms", "7"});
  EXPECT_EQ(options.log_file, "b.log");
  EXPECT_EQ(options.poll_ms, 7u);
}

TEST(TefsimOptionsTest, HelpNamesTheDefaultDriveRoot) {
  const std::string text = usage();
  EXPECT_THAT(text, HasSubstr("$ZUL_DRIVE_ROOT, else $XDG_DATA_HOME/zul00500/drives"));
  // Windows has no default drive root: the real drives serve.
  if (const std::string root = zul00500::platform::drive_root(); !root.empty()) {
    EXPECT_THAT(text, HasSubstr("(here: " + root + ")"));
  }
}

TEST(TefsimOptionsTest, HelpDescribesEveryOptionTheParserKnows) {
  const std::string text = usage();
  for (const std::string& option : option_names()) EXPECT_THAT(text, HasSubstr(option + " ")) << option;
}

TEST(TefsimOptionsTest, VersionAndCompletionAreAskedForLikeTheHelp) {
  const Options options = parse_options({"--version", "--bash-completion"});
  EXPECT_TRUE(options.version);
  EXPECT_TRUE(options.bash_completion);
  EXPECT_THAT(version_text(), HasSubstr("tefsim " ZUL_VERSION));
  const std::string script = bash_completion();
  EXPECT_THAT(script, HasSubstr("complete -o default -F _tefsim tefsim"));
  EXPECT_THAT(script, HasSubstr("--keep-requests"));
}

TEST(TefsimOptionsTest, AnEmptyValueWrittenInlineStaysEmpty) {
  const Options options = parse_options({"--log=", "--poll-ms", "7"});
  EXPECT_EQ(options.log_file, "");
  EXPECT_EQ(options.poll_ms, 7u);
}

TEST(TefsimOptionsTest, HelpDocumentsEveryDirective) {
  EXPECT_THROW(parse_options({"--help"}), CLI::CallForHelp);
  const std::string text = usage();
  for (const char* word :
       {"silent", "delay MS", "wrong-header", "empty-status", "header TEXT", "refuse", "error",
        "other-sequence-first", "network NAME", "torn MS", "--scenario FILE", "--drive-root DIR"})
    EXPECT_THAT(text, HasSubstr(word));
}

} // namespace
} // namespace tefsim
