// What makes a rehearsal's report one a certifier can sign: statuses beyond
// pass and fail (a case with nothing checked, or whose evidence was not
// observed, is no green pass), the run's identity, JUnit as CI systems read
// it, JSON that keeps to the schema shipped beside it, the paper and the
// timeline marking a printer failure and a timeout's kill.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include <pugixml.hpp>

#include "rehearsal/identity.h"
#include "rehearsal/reports.h"
#include "rehearsal/text.h"
#include "support/json_schema_check.h"

namespace rehearsal {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

Mark Checked(bool passed) {
  return {"step 1 (sale) payment 1 returns", "true", passed ? "true" : "false", passed};
}

CaseRecord Ran(const std::string& name, std::vector<Mark> marks) {
  static int index = 0;
  CaseRecord record;
  record.index = index++;
  record.name = name;
  record.purpose = "A case.";
  record.folder = "cases/" + name;
  record.marks = std::move(marks);
  record.passed = std::all_of(record.marks.begin(), record.marks.end(), [](const Mark& mark) {
    return (mark.passed || mark.skipped) && !mark.premise_unmet;
  });
  return record;
}

// One case of each status, as the runner and the command leave them.
BookRecord EveryStatus() {
  BookRecord book;
  book.title = "Store 1.2 script";
  book.origin = "store.toml";
  book.started = "2027-01-01 10:00:00";
  book.identity = {
      "ab12",         "book.toml",       "/opt/lib/libPkg_Zul00500.so", "0.1.0 (ca2d32c, release)", "cd34",
      "zulpos 0.1.0", "till-07 (Linux)", "2027-01-01T10:00:00-03:00"};
  book.signoff = {"Ana Souza", "Loja 12, caixa 3", "", ""};
  Mark unobserved{"transactions that end confirmed", "1", "1 (not observed)", false, true};
  unobserved.unobserved = true;
  Mark premise{"step 1 (sale) payment 1: the manager refuses it", "false", "true", false, true};
  premise.premise_unmet = true;
  CaseRecord timed_out = Ran("hangs", {});
  timed_out.problem =
      "timeout: DoTEF(10.00) was called at 0.4 s and was still waiting when the host was killed";
  timed_out.timed_out = true;
  CaseRecord left_out;
  left_out.index = 6;
  left_out.name = "left-out";
  left_out.not_run = true;
  left_out.not_run_reason = "not run: left out with --case";
  book.cases = {Ran("passes", {Checked(true)}),
                Ran("fails", {Checked(false)}),
                Ran("unmet", {premise, Checked(true)}),
                Ran("unobserved", {Checked(true), unobserved}),
                Ran("expects-nothing", {}),
                timed_out,
                left_out};
  book.cases[0].network_case = "TC-001";
  return book;
}

TEST(RehearsalSignableTest, OnlyACheckedCaseWithEverythingObservedIsAPass) {
  const BookRecord book = EveryStatus();
  std::vector<Status> statuses;
  for (const CaseRecord& record : book.cases) statuses.push_back(record.status());
  EXPECT_THAT(statuses, ElementsAre(Status::Pass, Status::Fail, Status::PremiseNotMet, Status::NotObserved,
                                    Status::NoExpectation, Status::Fail, Status::NotRun));
  // A case whose every mark was left to the manager checked nothing either.
  Mark decided = Checked(true);
  decided.skipped = true;
  EXPECT_EQ(Ran("all-decided", {decided}).status(), Status::NoExpectation);
  EXPECT_EQ(book.Passed(), 1);
  EXPECT_EQ(book.Run(), 6);
  for (const Status status : kStatuses) EXPECT_EQ(book.Count(status), status == Status::Fail ? 2 : 1);
  EXPECT_THAT(book.cases[3].FirstFailure(), HasSubstr("not observed: transactions that end confirmed"));
  EXPECT_THAT(book.cases[4].FirstFailure(), HasSubstr("nothing of this case was checked"));
  EXPECT_EQ(book.cases[6].FirstFailure(), "not run: left out with --case");
}

TEST(RehearsalSignableTest, JUnitReadsAsCiSystemsExpect) {
  const std::string xml = JUnitReport(EveryStatus());
  pugi::xml_document document;
  ASSERT_TRUE(document.load_string(xml.c_str()));
  const pugi::xml_node suite = document.child("testsuites").child("testsuite");
  EXPECT_STREQ(suite.attribute("tests").value(), "7");
  EXPECT_STREQ(suite.attribute("failures").value(), "1");
  EXPECT_STREQ(suite.attribute("errors").value(), "2");
  EXPECT_STREQ(suite.attribute("skipped").value(), "3");
  EXPECT_TRUE(std::regex_match(suite.attribute("timestamp").value(),
                               std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")));
  const auto child_of = [&](const char* name) {
    return std::string(suite.find_child_by_attribute("testcase", "name", name).first_child().name());
  };
  EXPECT_EQ(child_of("fails"), "failure");
  EXPECT_EQ(child_of("hangs"), "error"); // the run could not judge: no failure of the host
  EXPECT_EQ(child_of("unobserved"), "error");
  for (const char* name : {"unmet", "expects-nothing", "left-out"})
    EXPECT_EQ(child_of(name), "skipped") << name;
  EXPECT_STREQ(
      suite.find_child_by_attribute("testcase", "name", "hangs").child("error").attribute("type").value(),
      "timeout");
  // The title's dots do not split the class into packages.
  for (const pugi::xml_node test : suite.children("testcase"))
    EXPECT_STREQ(test.attribute("classname").value(), "rehearsal.Store_1_2_script");
  std::map<std::string, std::string> properties;
  for (const pugi::xml_node property : suite.child("properties").children("property"))
    properties[property.attribute("name").value()] = property.attribute("value").value();
  EXPECT_EQ(properties["package.sha256"], "cd34");
  EXPECT_EQ(properties["book.sha256"], "ab12");
  EXPECT_EQ(properties["machine"], "till-07 (Linux)");
  EXPECT_EQ(properties["signoff.ran_by"], "Ana Souza");
  EXPECT_EQ(properties["network_case.passes"], "TC-001");
}

TEST(RehearsalSignableTest, TheJsonKeepsToTheSchemaShippedBesideIt) {
  const BookRecord book = EveryStatus();
  const std::string json = JsonReport(book);
  EXPECT_THAT(zul00500::testing::SchemaViolations(JsonSchema(), json), IsEmpty());
  EXPECT_THAT(json, HasSubstr("\"format_version\" : 2"));
  EXPECT_THAT(json, HasSubstr("\"status\" : \"no_expectation\""));
  EXPECT_THAT(json, HasSubstr("\"not_run\" : 1"));
  // The schema is no blank cheque: a status it does not know, or a field
  // missing, is caught.
  std::string unknown = json;
  unknown.replace(unknown.find("\"no_expectation\""), 16, "\"green\"");
  EXPECT_THAT(zul00500::testing::SchemaViolations(JsonSchema(), unknown),
              ElementsAre(HasSubstr("/cases/4/status: not one of the enum")));
  std::string missing = json;
  missing.replace(missing.find("\"format_version\""), 16, "\"format_versio\"");
  EXPECT_THAT(zul00500::testing::SchemaViolations(JsonSchema(), missing), Not(IsEmpty()));
}

TEST(RehearsalSignableTest, ThePageNamesWhatRanAndHasASignOffBlock) {
  const BookRecord book = EveryStatus();
  const std::string page = HtmlReport(book);
  pugi::xml_document document;
  ASSERT_TRUE(document.load_string(page.c_str(), pugi::parse_default | pugi::parse_doctype));
  for (const char* fact :
       {"SHA-256 ab12", "SHA-256 cd34", "/opt/lib/libPkg_Zul00500.so", "0.1.0 (ca2d32c, release)",
        "till-07 (Linux)", "2027-01-01T10:00:00-03:00", "href=\"book.toml\"", "Ana Souza", "Loja 12, caixa 3",
        "<th>Signature</th>", "TC-001"})
    EXPECT_THAT(page, HasSubstr(fact));
  EXPECT_THAT(page, HasSubstr("1 of 6 cases passed \xC2\xB7 2 failed \xC2\xB7 1 premise not met \xC2\xB7 "
                              "1 not observed \xC2\xB7 1 with no expectation \xC2\xB7 1 not run"));
  // A case not run is in the summary, with no section of evidence it has not got.
  EXPECT_THAT(page, HasSubstr("not run: left out with --case"));
  EXPECT_THAT(page, Not(HasSubstr("id=\"case-left-out\"")));
  EXPECT_THAT(page, HasSubstr("id=\"case-expects-nothing\""));
}

TEST(RehearsalSignableTest, APrinterFailureIsMarkedOnThePaperAndTheTimeline) {
  BookRecord book = EveryStatus();
  CaseRecord& record = book.cases[1];
  record.paper = "LINE 1\nLINE 2\nLINE 3\n";
  record.paper_failures = {14};
  TimelineEvent failed;
  failed.ms = 800;
  failed.lane = Lane::Printer;
  failed.kind = "printer-failed";
  failed.text = "the printer failed: Usa_CompNFis";
  TimelineEvent kill;
  kill.ms = 900;
  kill.kind = "kill";
  kill.text = "timeout: the host is killed";
  record.events = {failed, kill};
  const std::string page = HtmlReport(book);
  EXPECT_THAT(page,
              HasSubstr("<pre>LINE 1\nLINE 2\n</pre></div>\n<div class=\"tear\">\xE2\x9C\x97 the printer "
                        "failed here</div>\n<div class=\"slip\"><pre>LINE 3\n"));
  const std::string svg = TimelineSvg(record, "x");
  EXPECT_THAT(svg, HasSubstr("the printer failed: Usa_CompNFis"));
  EXPECT_THAT(svg, HasSubstr(">failed</text>"));
  EXPECT_THAT(svg, HasSubstr("timeout: the host is killed"));
}

TEST(RehearsalSignableTest, ConsoleReasonsAreCutAtAWord) {
  const std::string why = "the dialogs shown, in order: expected TRANSACAO APROVADA, got TRANSACAO NEGADA";
  EXPECT_EQ(CutAtWord(why, 200), why);
  const std::string cut = CutAtWord(why, 50);
  EXPECT_LE(cut.size(), 50u);
  EXPECT_EQ(cut, "the dialogs shown, in order: expected TRANSACAO...");
  // One long word is cut at a whole character, never inside one.
  const std::string long_word = "Transa\xC3\xA7\xC3\xA3o" + std::string(60, 'x');
  EXPECT_EQ(CutAtWord(long_word, 10), "Transa...");
}

TEST(RehearsalSignableTest, IdentityHashesAndDatesAreStandard) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // Two blocks of padding: 56 bytes.
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Hex(std::string(1'000'000, 'a')),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  EXPECT_TRUE(std::regex_match(IsoLocalTime(1'700'000'000),
                               std::regex(R"(2023-11-1[45]T\d\d:\d\d:20[+-]\d\d:\d\d)")));
}

} // namespace
} // namespace rehearsal
