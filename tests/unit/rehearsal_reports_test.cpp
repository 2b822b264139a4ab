// The rehearsal's reports from a record made by hand: the HTML page is
// well-formed and holds every case and expectation, the JUnit XML one test
// case per case, the JSON the same facts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "rehearsal/reports.h"
#include "support/json_check.h"

namespace rehearsal {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

BookRecord Sample() {
  BookRecord book;
  book.title = "Sample & <test>";
  book.origin = "sample.toml";
  book.started = "2027-01-01 10:00:00";
  book.versions = "zulpos 0.1.0, package 0.1.0";
  book.duration_ms = 4321;

  CaseRecord pass;
  pass.index = 0;
  pass.name = "approved";
  pass.purpose = "An approved sale.";
  pass.folder = "cases/01-approved";
  pass.passed = true;
  pass.duration_ms = 1500;
  pass.steps = {"sale: DoTEF for 10.00"};
  TimelineEvent process;
  process.kind = "process";
  process.text = "host start 1";
  process.end_ms = 1400;
  TimelineEvent answer;
  answer.ms = 700;
  answer.lane = Lane::Manager;
  answer.kind = "answer";
  answer.text = "answer written by the manager: CRT";
  answer.is_file = true;
  answer.file = "c:\\tef_dial\\resp\\intpos.001";
  answer.bytes = "000-000 = CRT\r\n030-000 = TRANSA\xC7\xC3O <OK>\r\n";
  TimelineEvent cut;
  cut.ms = 900;
  cut.kind = "power-cut";
  cut.text = "power cut (after-answer)";
  pass.events = {process, answer, cut};
  pass.dialogs = {{"Cancelada a Transa\xE7\xE3o\r\nRede: REDEX", "", false}};
  pass.paper = "LINE 1\nLINE 2\n8< - - -\nLINE 3\n";
  pass.paper_cuts = {7};
  pass.card_log = "01/01/2027 10:00:00 - Gerenciador est\xE1 ativo\r\n";
  pass.raw_files = {"cases/01-approved/paper.txt"};
  pass.marks = {{"the dialogs shown, in order", "Cancelada", "Cancelada a Transação", true, false, 12}};

  CaseRecord fail = pass;
  fail.index = 1;
  fail.name = "refused";
  fail.passed = false;
  fail.marks = {{"step 1 (sale) payment 1 returns", "true", "false", false, false, 20},
                {"the paper has a line with this", "VALOR", "on no line", false, false, 24}};
  book.cases = {pass, fail};
  return book;
}

TEST(RehearsalReportsTest, ThePageIsWellFormedSelfContainedAndHoldsEveryCaseAndExpectation) {
  const BookRecord book = Sample();
  const std::string page = HtmlReport(book);
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_string(page.c_str(), pugi::parse_default | pugi::parse_doctype);
  ASSERT_TRUE(parsed) << parsed.description() << " at " << parsed.offset << ": "
                      << page.substr(parsed.offset, 80);

  for (const CaseRecord& record : book.cases) {
    const pugi::xml_node section = document.find_node([&](const pugi::xml_node& node) {
      return std::string(node.name()) == "section" &&
             std::string(node.attribute("id").value()) == "case-" + record.name;
    });
    ASSERT_TRUE(section) << record.name;
    EXPECT_TRUE(
        section.find_node([](const pugi::xml_node& node) { return std::string(node.name()) == "svg"; }));
    for (const Mark& mark : record.marks) EXPECT_THAT(page, HasSubstr(mark.what));
  }
  // No script and nothing fetched: the only URL is the SVG namespace's.
  EXPECT_THAT(page, Not(HasSubstr("<script")));
  EXPECT_THAT(page, Not(HasSubstr("src=")));
  EXPECT_EQ(page.find("http"), page.find("http://www.w3.org/2000/svg"));
  EXPECT_THAT(page, HasSubstr("@media print"));
  // Code page 1252 shown as such, escaped, line ends made visible.
  EXPECT_THAT(page, HasSubstr("030-000 = TRANSAÇÃO &lt;OK&gt;<span class=\"eol\">␍␊</span>"));
  EXPECT_THAT(page, HasSubstr("Gerenciador está ativo"));
  EXPECT_THAT(page, HasSubstr("Sample &amp; &lt;test&gt;"));
  // The paper: the cut and the power cut where they were.
  EXPECT_THAT(page, HasSubstr("<pre>LINE 1\n</pre></div>\n<div class=\"tear\">"));
  EXPECT_THAT(page, HasSubstr("the cutter cut here"));
  // A failed expectation shows what was expected next to what happened.
  EXPECT_THAT(
      page,
      HasSubstr("<tr class=\"fail\"><td class=\"mark\" title=\"fail\">✗</td><td>step 1 (sale) payment 1 "
                "returns <span class=\"line\">book line 20</span></td><td><pre>true</pre></td><td "
                "class=\"actual\"><pre>false</pre></td></tr>"));
  EXPECT_THAT(page, HasSubstr("1 of 2 cases passed"));
}

TEST(RehearsalReportsTest, JUnitHasATestCasePerCaseAndTheFailuresSaid) {
  const std::string xml = JUnitReport(Sample());
  pugi::xml_document document;
  ASSERT_TRUE(document.load_string(xml.c_str()));
  const pugi::xml_node suite = document.child("testsuites").child("testsuite");
  EXPECT_STREQ(suite.attribute("tests").value(), "2");
  EXPECT_STREQ(suite.attribute("failures").value(), "1");
  const pugi::xml_node failed = suite.find_child_by_attribute("testcase", "name", "refused");
  EXPECT_THAT(failed.child("failure").text().get(), HasSubstr("expected: true\n  actual:   false"));
  EXPECT_FALSE(suite.find_child_by_attribute("testcase", "name", "approved").child("failure"));
}

TEST(RehearsalReportsTest, JsonHoldsTheSameFacts) {
  const std::string json = JsonReport(Sample());
  std::string error;
  EXPECT_TRUE(zul00500::testing::IsJson(json, error)) << error;
  EXPECT_THAT(json, HasSubstr("\"cases_passed\" : 1"));
  EXPECT_THAT(json, HasSubstr("\"name\" : \"refused\""));
  EXPECT_THAT(json, HasSubstr("TRANSAÇÃO <OK>"));
}

} // namespace
} // namespace rehearsal
