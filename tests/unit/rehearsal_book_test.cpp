// The rehearsal book: what a book says once read, the built-in book, and
// mistakes named by their line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "rehearsal/book.h"
#include "rehearsal/case_run.h"

namespace rehearsal {
namespace {

using ::testing::HasSubstr;

const char* const kTwoCards = R"(title = "Hand-written"

[[case]]
name = "two-cards-cut"
purpose = "Two cards, the power fails after the first answer."
roots = ["dial", "disc"]
manager.disc = """
# the TecBan manager is slow
CRT: answer-delay 500
CRT#2: message APROVADA CRÉDITO
"""

[[case.given]]
path = 'host:Dados\TefDisc\intpos.004'
text = """
000-000 = CRT
009-000 = 0
"""

[[case.step]]
do = "sale"
pay = [40, "60,50"]
total = 100.5
kind = "D"
network_choice = 1
power_cut = { moment = "after-answer", payment = 1 }

[[case.step]]
do = "scan"
expect = true

[[case.step]]
do = "cancel"
restart = true
network = "TECBAN"
document = "000001"
amount = "40.00"
printer_fail = "Usa_CompNFis:2"
answers = ["y", "n"]
expect = [false]

[case.expect]
operations = ["disc: CRT 003-000=4000", "NCN 716-000=VELTRAN SOFTWARE LTDA. 012-000=000001"]
not_confirmed = [1]
dialogs = ["Transação"]
)";

TEST(RehearsalBookTest, AHandWrittenBookSaysWhatItsAuthorMeant) {
  const Book book = ReadBook(kTwoCards, "two.toml");
  EXPECT_EQ(book.title, "Hand-written");
  ASSERT_EQ(book.cases.size(), 1u);
  const Case& c = book.cases[0];
  EXPECT_EQ(c.roots, (std::vector<std::string>{"dial", "disc"}));
  // Texts the package compares are code page 1252.
  EXPECT_EQ(c.manager.at("disc"),
            "# the TecBan manager is slow\nCRT: answer-delay 500\nCRT#2: message APROVADA CR\xC9"
            "DITO\n");
  EXPECT_EQ(c.given.at(0).path, "host:Dados\\TefDisc\\intpos.004");
  EXPECT_EQ(c.given.at(0).bytes, "000-000 = CRT\r\n009-000 = 0\r\n");

  ASSERT_EQ(c.steps.size(), 3u);
  const Step& sale = c.steps[0];
  EXPECT_EQ(sale.payments, (std::vector<double>{40.0, 60.5}));
  EXPECT_EQ(sale.total, 100.5);
  EXPECT_EQ(sale.network_choice, 1);
  ASSERT_TRUE(sale.power_cut);
  EXPECT_EQ(sale.power_cut->kind, Moment::Kind::AfterAnswer);
  EXPECT_EQ(sale.power_cut->number, 1);
  const Step& cancel = c.steps[2];
  EXPECT_TRUE(cancel.restart);
  EXPECT_EQ(cancel.cents, "4000");
  EXPECT_EQ(cancel.answers, (std::vector<bool>{true, false}));
  EXPECT_EQ(cancel.printing.printer_fail, "Usa_CompNFis:2");

  // A power cut ends a start, `restart` begins one.
  EXPECT_EQ(HostStarts(c), (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}}));

  const auto& operations = *c.expect.operations;
  EXPECT_EQ(operations[0].root, "disc");
  EXPECT_EQ(operations[0].fields.at("003-000"), "4000");
  // A value runs to the next field, blanks and all.
  EXPECT_EQ(operations[1].root, "");
  EXPECT_EQ(operations[1].fields.at("716-000"), "VELTRAN SOFTWARE LTDA.");
  EXPECT_EQ(operations[1].fields.at("012-000"), "000001");
  EXPECT_EQ(c.expect.dialogs->at(0), "Transa\xE7\xE3o");
  EXPECT_EQ(c.expect.lines.at("operations"), 43);
}

TEST(RehearsalBookTest, TheBuiltInBookHoldsTheStandardScript) {
  const Book book = BuiltinBook();
  EXPECT_GE(book.cases.size(), 20u);
  std::set<std::string> moments, actions, choices;
  for (const Case& c : book.cases) {
    EXPECT_FALSE(c.purpose.empty()) << c.name;
    EXPECT_FALSE(c.operator_text.empty()) << c.name;
    const Expectations& e = c.expect;
    EXPECT_TRUE(e.operations || e.confirmed || e.not_confirmed || e.paper || e.dialogs) << c.name;
    for (const Step& step : c.steps) {
      actions.insert(step.action);
      if (step.power_cut) moments.insert(step.power_cut->label);
      if (step.network_choice) choices.insert(std::to_string(*step.network_choice));
    }
  }
  EXPECT_EQ(moments, (std::set<std::string>{"after-answer", "mid-receipt", "during-scan"}));
  EXPECT_EQ(choices, (std::set<std::string>{"1", "2", "3", "9"}));
  for (const char* action : {"sale", "print", "cancel", "pending", "scan"})
    EXPECT_TRUE(actions.count(action)) << action;
}

// A book of one case whose sale step ends with `step` (and `rest` after it).
std::string Book1(const std::string& step, const std::string& rest = "") {
  return "[[case]]\nname = \"c\"\n\n[[case.step]]\ndo = \"sale\"\n" + step + "\n" + rest;
}

struct Mistake {
  std::string text;
  int line;
  std::string says;
};

TEST(RehearsalBookTest, EveryMistakeIsNamedByItsLine) {
  const Mistake mistakes[] = {
      {Book1("pey = [100]"), 6, "unknown key \"pey\" in a sale step"},
      {Book1("pay = [\"10,001\"]"), 6, "not \"10,001\""},
      {Book1("pay = 12.345"), 6, "two decimals at most"},
      {Book1("pay = [40, 0]"), 6, "0.01 or more"},
      {Book1("pay = [40]\ntotal = \"0,00\""), 7, "0.01 or more"},
      {Book1("pay = [100]\npower_cut = \"after-the-answer\""), 7, "unknown moment \"after-the-answer\""},
      {Book1("pay = [100]\npower_cut = { moment = \"after-answer\", payment = 2 }"), 7, "no payment 2"},
      {Book1("pay = [100]\nexpect = [true, true]"), 7, "2 results for 1 payment"},
      {Book1("pay = [100]\nkind = \"CD\""), 7, "one letter"},
      {Book1("pay = [100]\nanswers = [\"yes\"]"), 7, "\"y\" or \"n\""},
      {Book1("pay = [100]", "[case.expect]\noperations = [\"CRT 3-000=1\"]"), 8, "FIELD=VALUE"},
      {Book1("pay = [100]", "[case.expect]\noperations = [\"XYZ\"]"), 8, "unknown operation \"XYZ\""},
      {Book1("pay = [100]", "[case.expect]\nconfirmed = [0]"), 8, "from 1"},
      {Book1("pay = [100]", "[case.expect]\npaper = \"x\"\npaperz = [\"x\"]"), 9, "unknown key \"paperz\""},
      {"[[case]]\nname = \"c\"\nroots = [\"dial\", \"hyper\"]\n[[case.step]]\ndo = \"scan\"\n", 3,
       "unknown root \"hyper\""},
      {"[[case]]\nname = \"c\"\nstopped = [\"disc\"]\n[[case.step]]\ndo = \"scan\"\n", 3,
       "not among the roots"},
      {"[[case]]\nname = \"c\"\n[[case.step]]\ndo = \"print\"\n", 3, "a print step needs a sale step"},
      {"[[case]]\nname = \"c\"\n[[case.step]]\ndo = \"dance\"\n", 4, "unknown step \"dance\""},
      {"[[case]]\nname = \"C D\"\n[[case.step]]\ndo = \"scan\"\n", 2, "a-z, 0-9 and -"},
      {"[[case]]\nname = \"c\"\n[[case.step]]\ndo = \"scan\"\n[[case]]\nname = \"c\"\n[[case.step]]\ndo = "
       "\"scan\"\n",
       5, "a second case named \"c\""},
      {"title = \"t\"\n[[case]\nname = \"c\"\n", 2, "expected ']'"},
      // A scenario line is named in the book, inside its multi-line text.
      {"[[case]]\nname = \"c\"\nmanager.dial = \"\"\"\nCRT#1: refuse\n\nCRT#2: frobnicate\n\"\"\"\n", 6,
       "the dial manager's scenario: \"CRT#2: frobnicate\": unknown directive"},
      {"[[case]]\nname = \"c\"\nmanager.dial = \"CRT#x: refuse\"\n", 3, "must be a whole number"},
      {Book1("pay = [100]", "[[case.step]]\ndo = \"print\"\nprinter_fail = \"Usa_CompNFis:0\""), 9,
       "Usa_CompNFis:0"},
  };
  for (const Mistake& mistake : mistakes) {
    SCOPED_TRACE(mistake.text);
    try {
      ReadBook(mistake.text, "book.toml");
      ADD_FAILURE() << "accepted";
    } catch (const BookError& error) {
      EXPECT_THAT(error.what(), HasSubstr("book.toml line " + std::to_string(mistake.line) + ": "));
      EXPECT_THAT(error.what(), HasSubstr(mistake.says));
    }
  }
}

TEST(RehearsalBookTest, DrivePathsLiveUnderTheDriveRootAsThePackageMapsThem) {
  const std::string mapped = NativeDrivePath("/tmp/d", "C:\\HiperTEF\\resp\\intpos.001");
#ifdef _WIN32
  EXPECT_EQ(mapped, "/tmp/d\\c\\HiperTEF\\resp\\intpos.001");
#else
  EXPECT_EQ(mapped, "/tmp/d/c/HiperTEF/resp/intpos.001");
#endif
  EXPECT_EQ(NativeDrivePath("", "c:\\tef_dial\\req\\"), "c:\\tef_dial\\req\\");
}

} // namespace
} // namespace rehearsal
