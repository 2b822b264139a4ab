// zulpos rehearse end to end: a hand-written book of a case with a power cut
// and a case whose expectation is wrong on purpose, run against the real
// tefsim; the report read back as a person's browser would, and a book with
// a mistake refused by its line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"
#include "support/json_check.h"
#include "support/json_schema_check.h"
#include "tool_platform/files.h"

namespace zul00500 {
namespace {

using ::testing::HasSubstr;

const char* const kBook = R"(title = "Integration"

[[case]]
name = "cut-and-scan"
purpose = "The power fails at the approval; the next start does not confirm it."

[[case.step]]
do = "sale"
pay = ["12.50"]
power_cut = "after-answer"

[[case.step]]
do = "scan"
expect = true

[case.expect]
operations = ["ATV", "CRT 003-000=1250", "ATV", "NCN 012-000=000001"]
not_confirmed = [1]
dialogs = ["TRANSACAO APROVADA", "Cancelada a Transação"]

[[case]]
name = "wrong-on-purpose"
purpose = "A refused sale the book wrongly expects approved."
manager.dial = "CRT#1: refuse"

[[case.step]]
do = "sale"
pay = [20]
expect = true

[case.expect]
dialogs = ["TRANSACAO NEGADA"]
paper = ["VALOR R$ 20,00"]

[[case]]
name = "same-document-twice"
purpose = "Two cards approved with one document number: two transactions, each confirmed once."
manager.dial = "CRT#2: field 012-000 000001"

[[case.step]]
do = "sale"
pay = ["40.00", "60.00"]

[[case.step]]
do = "print"
expect = true

[case.expect]
confirmed = [1, 2]
)";

class RehearseCommand : public testing::TefsimWorld {
protected:
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = world_.root() + "/" + name;
    tool_platform::write_file(path, text);
    return path;
  }

  // Debian's, on the build machine; a Windows build under wine has none.
  static std::string Chromium() {
#ifdef _WIN32
    return {};
#endif
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"})
      if (std::filesystem::exists(path)) return path;
    return {};
  }

  const std::string report_ = world_.root() + "/report";
};

TEST_F(RehearseCommand, RunsABookAndWritesAReportThatShowsWhyACaseFailed) {
  const std::string book = Write("book.toml", kBook);
  const std::string junit = world_.root() + "/junit.xml";
  const std::string json = world_.root() + "/report.json";
  const auto run = Zulpos({"rehearse", book, "--report", report_, "--junit", junit, "--json", json}, 120'000);
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 1);
  EXPECT_TRUE(AnyLineHas(run.output, "PASS cut-and-scan (")) << ::testing::PrintToString(run.output);
  EXPECT_TRUE(AnyLineHas(run.output, "PASS same-document-twice ("));
  EXPECT_TRUE(
      AnyLineHas(run.output, "FAIL wrong-on-purpose (", "payment 1 returns: expected true, got false"));
  EXPECT_TRUE(run.Said("2 of 3 cases passed in ") || AnyLineHas(run.output, "2 of 3 cases passed in "));

  const std::string page = tool_platform::read_file(report_ + "/index.html");
  pugi::xml_document document;
  ASSERT_TRUE(document.load_string(page.c_str(), pugi::parse_default | pugi::parse_doctype));
  for (const char* name : {"cut-and-scan", "wrong-on-purpose"})
    EXPECT_THAT(page, HasSubstr("<section class=\"case " + std::string(name[0] == 'c' ? "pass" : "fail") +
                                "\" id=\"case-" + name + "\">"));
  for (const char* what : {"the manager sees these requests, in order", "transactions that end not confirmed",
                           "step 1 (sale): the power fails at after-answer", "step 2 (scan) returns",
                           "the paper has a line with this"})
    EXPECT_THAT(page, HasSubstr(what));
  EXPECT_THAT(page, HasSubstr("<td><pre>true</pre></td><td class=\"actual\"><pre>false</pre></td>"));
  EXPECT_THAT(page, HasSubstr("Cancelada a Transação"));
  EXPECT_THAT(page, HasSubstr("power cut: the host is killed"));
  // The raw files lie beside the page, where its links say.
  EXPECT_TRUE(std::filesystem::is_regular_file(report_ + "/cases/01-cut-and-scan/host-events.tsv"));
  EXPECT_THAT(page, HasSubstr("href=\"cases/01-cut-and-scan/host-events.tsv\""));

  pugi::xml_document xml;
  ASSERT_TRUE(xml.load_file(junit.c_str()));
  EXPECT_STREQ(xml.child("testsuites").child("testsuite").attribute("failures").value(), "1");
  std::string error;
  EXPECT_TRUE(testing::IsJson(tool_platform::read_file(json), error)) << error;

  // Opened as a person opens it, when this machine has the browser.
  const std::string chromium = Chromium();
  if (chromium.empty()) GTEST_SKIP() << "no headless Chromium here";
  const std::string profile = world_.root() + "/profile";
  const std::string dom = world_.root() + "/dom.html";
  const std::string shot = world_.root() + "/shot.png";
  std::vector<std::string> flags = {"--headless",
                                    "--no-sandbox",
                                    "--disable-gpu",
                                    "--disable-quic",
                                    "--no-first-run",
                                    "--disable-background-networking",
                                    "--disable-component-update",
                                    "--disable-sync",
                                    "--user-data-dir=" + profile};
  const std::string url = "file://" + std::filesystem::absolute(report_ + "/index.html").string();
  auto with = [&](std::vector<std::string> extra) {
    extra.insert(extra.begin(), flags.begin(), flags.end());
    return extra;
  };
  auto browser = tool_platform::spawn(chromium, with({"--dump-dom", url}), {dom});
  ASSERT_TRUE(browser.wait_for(90'000).has_value()) << "chromium did not end";
  const std::string rendered = tool_platform::read_file(dom);
  EXPECT_THAT(rendered, HasSubstr("id=\"case-wrong-on-purpose\""));
  EXPECT_THAT(rendered, HasSubstr("<svg class=\"timeline\""));
  auto camera = tool_platform::spawn(chromium, with({"--screenshot=" + shot, "--window-size=1200,900", url}),
                                     {world_.root() + "/chromium.out"});
  ASSERT_TRUE(camera.wait_for(90'000).has_value()) << "chromium did not end";
  EXPECT_GT(std::filesystem::file_size(shot), 10'000u);
}

// Attended, the manager already runs (here a tefsim started beforehand) on
// the drive root given. It takes each request within a millisecond or two,
// too soon for any look at its folders: the package's own record of the
// exchange decides.
TEST_F(RehearseCommand, AttendedTheRunningManagerAnswersAndItsFilesAreSeen) {
  StartTefsim("dial", {"--poll-ms", "1"});
  const std::string book = Write("attended.toml", R"([[case]]
name = "pay-and-print"
purpose = "A sale, printed."
operator = "Insert a card and type the PIN."
manager.dial = "CRT#1: refuse"

[[case.step]]
do = "sale"
pay = 30
expect = false

[[case.step]]
do = "print"

[case.expect]
operations = ["ATV", "CRT 003-000=3000", "ATV", "ATV", "CNF 012-000=999999"]
confirmed = [1]
open = []
dialogs = ["never shown"]
)");
  const auto run =
      Zulpos({"rehearse", book, "--attended", "--drive-root", world_.root(), "--report", report_});
  ASSERT_TRUE(run.status.has_value());
  // The book expected a refusal (and its scenario does not apply): the
  // manager approved, and it decides. The host did all it should; the case
  // could not show a refusal.
  EXPECT_EQ(*run.status, 1) << ::testing::PrintToString(run.output);
  EXPECT_TRUE(
      AnyLineHas(run.output, "PREMISE NOT MET pay-and-print", "the manager refuses it, as the case needs"));
  EXPECT_FALSE(AnyLineHas(run.output, "FAIL"));
  EXPECT_TRUE(AnyLineHas(run.output, "you, at the pinpad and the manager: Insert a card and type the PIN."));
  const std::string page = tool_platform::read_file(report_ + "/index.html");
  EXPECT_THAT(page, HasSubstr("true (as the manager answered)"));
  EXPECT_THAT(page, HasSubstr("(decided by the manager: not checked)"));
  EXPECT_THAT(page, HasSubstr("req\\intpos.001 \xE2\x80\x94 request written by the package: CNF"));
  EXPECT_THAT(page, HasSubstr("resp\\intpos.001 \xE2\x80\x94 answer read by the package: CRT"));
  // The host's journal holds the exchange byte for byte.
  const std::string journal = tool_platform::read_file(report_ + "/cases/01-pay-and-print/host-events.tsv");
  EXPECT_THAT(journal, HasSubstr("\tfile\trename\tc:\\\\tef_dial\\\\req\\\\~intpos.001.tmp\t000-000 = CRT"));
  // --report alone writes the JUnit XML and the JSON beside the page.
  EXPECT_TRUE(std::filesystem::is_regular_file(report_ + "/junit.xml"));
  EXPECT_TRUE(std::filesystem::is_regular_file(report_ + "/rehearsal.json"));
  EXPECT_TRUE(AnyLineHas(StopTefsim(), "CNF#1: confirmed"));
}

// A run a certifier can sign: every case of the book in the report, each
// with what it came to (left out, nothing to check, a timeout, a printer
// failure), the run's identity and sign-off, and a reused report folder that
// holds this run's cases only.
TEST_F(RehearseCommand, AReportSaysWhatEachCaseCameToAndWhatRan) {
  const std::string text = R"(title = "Signable"

[signoff]
ran_by = "Ana Souza"
store = "Loja 12"

[[case]]
name = "stands-idle"
purpose = "Nothing to check."

[[case.step]]
do = "idle"
ms = 10

[[case]]
name = "left-out"
purpose = "Not chosen with --case."

[[case.step]]
do = "check"
expect = true

[[case]]
name = "manager-hangs"
purpose = "The manager takes its time; the case's timeout comes first."
manager.dial = "CRT#1: answer-delay 8000"
timeout = 2

[[case.step]]
do = "sale"
pay = 10

[[case]]
name = "printer-gives-up"
purpose = "The printer fails at its second line; the operator does not print again."

[[case.step]]
do = "sale"
pay = 10

[[case.step]]
do = "print"
printer_fail = "Usa_CompNFis:2+"
answers = ["n"]
expect = false
)";
  const std::string book = Write("signable.toml", text);
  // A report folder an earlier run used: its case folders go, the rest stays.
  std::filesystem::create_directories(report_ + "/cases/09-from-before");
  tool_platform::write_file(report_ + "/notes.txt", "mine");
  const auto run = Zulpos({"rehearse", book, "--report", report_, "--case", "stands-idle", "--case",
                           "manager-hangs", "--case", "printer-gives-up", "--store", "Loja 12, caixa 3",
                           "--network-case", "printer-gives-up=TC-17"},
                          120'000);
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 1) << ::testing::PrintToString(run.output);
  EXPECT_TRUE(AnyLineHas(run.output, "NO EXPECTATION stands-idle (", "nothing of this case was checked"))
      << ::testing::PrintToString(run.output);
  EXPECT_TRUE(AnyLineHas(run.output, "FAIL manager-hangs (", ": timeout: DoTEF("));
  EXPECT_TRUE(AnyLineHas(run.output, "PASS printer-gives-up ("));
  EXPECT_TRUE(AnyLineHas(run.output, "1 of 3 cases passed in ",
                         " (1 failed, 1 with no expectation); 1 of the book's 4 left out with --case"));

  EXPECT_FALSE(std::filesystem::exists(report_ + "/cases/09-from-before"));
  EXPECT_TRUE(std::filesystem::exists(report_ + "/notes.txt"));
  EXPECT_EQ(tool_platform::read_file(report_ + "/book.toml"), text);
  const std::string page = tool_platform::read_file(report_ + "/index.html");
  for (const char* fact : {"Ana Souza", "Loja 12, caixa 3", "TC-17", "not run: left out with --case",
                           "the printer failed here", "the printer failed: Usa_CompNFis",
                           "timeout: the host is killed", "still waiting when the host was killed"})
    EXPECT_THAT(page, HasSubstr(fact));

  pugi::xml_document xml;
  ASSERT_TRUE(xml.load_file((report_ + "/junit.xml").c_str()));
  const pugi::xml_node suite = xml.child("testsuites").child("testsuite");
  EXPECT_STREQ(suite.find_child_by_attribute("testcase", "name", "manager-hangs")
                   .child("error")
                   .attribute("type")
                   .value(),
               "timeout");
  EXPECT_TRUE(suite.find_child_by_attribute("testcase", "name", "left-out").child("skipped"));
  const std::string json = tool_platform::read_file(report_ + "/rehearsal.json");
  EXPECT_THAT(testing::SchemaViolations(tool_platform::read_file(report_ + "/rehearsal.schema.json"), json),
              ::testing::IsEmpty());

  // The built-in book's text, for reading its lines.
  const auto printed = Zulpos({"rehearse", "--builtin", "--print-book"});
  ASSERT_TRUE(printed.status.has_value());
  EXPECT_EQ(*printed.status, 0);
  EXPECT_GT(printed.output.size(), 500u);
  EXPECT_TRUE(printed.Said("name = \"power-cut-mid-receipt\""));
}

// Attended against a second manager written apart from tefsim
// (tests/peers/second_manager.py): it leaves each request in req\, gives
// every approval the document number 123456 and polls fast or slowly. No
// case may fail where the manager's own log says the host did right: each
// confirmation the report counts is one the manager received.
TEST_F(RehearseCommand, AttendedAgainstASecondManagerNothingItsLogContradictsFails) {
#ifdef _WIN32
  GTEST_SKIP() << "the second manager is a Python script, run on the build machine";
#endif
  const std::string python = "/usr/bin/python3";
  if (!std::filesystem::exists(python)) GTEST_SKIP() << "no python3 here";
  const std::string book = Write("second.toml", R"([[case]]
name = "approved-sale"
purpose = "A sale, printed and confirmed."

[[case.step]]
do = "sale"
pay = 100
expect = true

[[case.step]]
do = "print"
expect = true

[case.expect]
operations = ["ATV", "CRT 003-000=10000", "ATV", "ATV", "CNF 012-000=123456"]
confirmed = [1]

[[case]]
name = "two-cards-one-document"
purpose = "Two cards the manager approves with the same document number: two transactions."

[[case.step]]
do = "sale"
pay = ["40.00", "60.00"]

[[case.step]]
do = "print"
expect = true

[case.expect]
confirmed = [1, 2]

[[case]]
name = "power-cut-after-answer"
purpose = "The power fails at the approval: the next start does not confirm it."

[[case.step]]
do = "sale"
pay = 50
power_cut = "after-answer"

[[case.step]]
do = "scan"
expect = true

[case.expect]
not_confirmed = [1]
)");
  for (const int poll_ms : {1, 150}) {
    SCOPED_TRACE("polling every " + std::to_string(poll_ms) + " ms");
    const std::string root = world_.root() + "/second-" + std::to_string(poll_ms);
    const std::string log = root + "-manager.log";
    const std::string stop = root + "-stop";
    std::filesystem::create_directories(root);
    auto manager =
        tool_platform::spawn(python,
                             {std::string(ZUL_SOURCE_DIR) + "/tests/peers/second_manager.py", "--drive-root",
                              root, "--poll-ms", std::to_string(poll_ms), "--log", log, "--stop-file", stop},
                             {root + "-manager.out"});
    const auto run =
        Zulpos({"rehearse", book, "--attended", "--drive-root", root, "--report", root + "-report"}, 120'000);
    tool_platform::write_file(stop, "");
    manager.wait_for(5'000);
    ASSERT_TRUE(run.status.has_value());
    EXPECT_EQ(*run.status, 0) << ::testing::PrintToString(run.output);
    EXPECT_TRUE(run.Said("3 of 3 cases passed in ") || AnyLineHas(run.output, "3 of 3 cases passed in "));
    const std::string said = tool_platform::read_file(log);
    std::size_t confirmed = 0, not_confirmed = 0;
    for (std::size_t at = said.find(" confirmed "); at != std::string::npos;
         at = said.find(" confirmed ", at + 1))
      ++(said.compare(at - 4, 4, " not") == 0 ? not_confirmed : confirmed);
    EXPECT_EQ(confirmed, 3u) << said;
    EXPECT_EQ(not_confirmed, 1u) << said;
  }
}

TEST_F(RehearseCommand, ABookWithAMistakeIsRefusedByItsLineAndTheBuiltInBookIsListed) {
  const std::string bad =
      Write("bad.toml", "[[case]]\nname = \"x\"\n\n[[case.step]]\ndo = \"sale\"\npay = [\"1,234\"]\n");
  const auto refused = Zulpos({"rehearse", bad});
  ASSERT_TRUE(refused.status.has_value());
  EXPECT_EQ(*refused.status, 2);
  EXPECT_TRUE(AnyLineHas(refused.output, "bad.toml line 6: ", "not \"1,234\""))
      << ::testing::PrintToString(refused.output);

  const auto listed = Zulpos({"rehearse", "--builtin", "--list"});
  ASSERT_TRUE(listed.status.has_value());
  EXPECT_EQ(*listed.status, 0);
  EXPECT_GE(listed.output.size(), 21u);
  EXPECT_TRUE(AnyLineHas(listed.output, "power-cut-mid-receipt", "second receipt"));
}

} // namespace
} // namespace zul00500
