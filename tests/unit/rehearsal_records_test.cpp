// A rehearsal's records put in order and judged: tefsim's log and kept
// files, the host part's event journal, and each expectation's mark.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "journal/journal.h"
#include "rehearsal/book.h"
#include "rehearsal/evidence.h"
#include "rehearsal/judge.h"
#include "rehearsal/text.h"
#include "support/temp_world.h"
#include "tool_platform/files.h"

namespace rehearsal {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr std::int64_t kStart = 10 * 3600 * 1000; // 10:00:00.000

std::string Answer(const std::string& sequence, const std::string& document,
                   const std::string& result = "0") {
  return "000-000 = CRT\r\n001-000 = " + sequence + "\r\n003-000 = 4000\r\n009-000 = " + result +
         "\r\n010-000 = REDEX\r\n012-000 = " + document +
         "\r\n028-000 = 1\r\n029-001 = \"X\"\r\n999-999 = 0\r\n";
}

class RehearsalRecordsTest : public ::testing::Test {
protected:
  RehearsalRecordsTest() {
    std::filesystem::create_directories(requests_);
    std::filesystem::create_directories(written_);
  }
  void Keep(const std::string& folder, const std::string& name, const std::string& bytes) {
    tool_platform::write_file(folder + "/" + name, bytes);
  }
  Case Expecting(const std::string& expectations) {
    return ReadBook("[[case]]\nname = \"c\"\n[[case.step]]\ndo = \"sale\"\npay = [40]\nexpect = true\n"
                    "[case.expect]\n" +
                        expectations,
                    "t.toml")
        .cases.at(0);
  }
  static const Mark& Find(const std::vector<Mark>& marks, const std::string& what) {
    for (const Mark& mark : marks)
      if (mark.what.find(what) != std::string::npos) return mark;
    throw std::runtime_error("no mark " + what);
  }

  zul00500::testing::TempWorld world_;
  const std::string requests_ = world_.root() + "/requests";
  const std::string written_ = world_.root() + "/written";
  CaseRecord record_;
};

TEST_F(RehearsalRecordsTest, TefsimsLogAndKeptFilesBecomeTheManagersLane) {
  Keep(requests_, "CRT-1.001", "000-000 = CRT\r\n001-000 = 0000000005\r\n003-000 = 4000\r\n999-999 = 0\r\n");
  Keep(requests_, "CNF-1.001", "000-000 = CNF\r\n010-000 = REDEX\r\n012-000 = 000001\r\n999-999 = 0\r\n");
  Keep(requests_, "NCN-1.001", "000-000 = NCN\r\n010-000 = REDEX\r\n012-000 = 000001\r\n999-999 = 0\r\n");
  Keep(written_, "CRT-1-1.sts", "000-000 = CRT\r\n");
  // An answer of another sequence first, then the right one torn in two.
  Keep(written_, "CRT-1-2.001", Answer("0000000006", "000001"));
  const std::string right = Answer("0000000005", "000001");
  Keep(written_, "CRT-1-3.001", right.substr(0, 6));
  Keep(written_, "CRT-1-4.001", right.substr(6));
  const std::string log =
      "10:00:00.100 tefsim: serving c:\\tef_dial\\ (/x)\r\n"
      "10:00:01.000 c:\\tef_dial\\ CRT#1: took req\\intpos.001: 000-000 = CRT | 001-000 = 5\r\n"
      "10:00:01.001 c:\\tef_dial\\ CRT#1: wrote resp\\intpos.sts (status): 000-000 = CRT\r\n"
      "10:00:01.002 c:\\tef_dial\\ CRT#1: wrote resp\\intpos.001 (answer of another sequence): x\r\n"
      "10:00:01.500 c:\\tef_dial\\ CRT#1: resp\\intpos.001 was taken away\r\n"
      "10:00:01.600 c:\\tef_dial\\ CRT#1: wrote resp\\intpos.001 (answer, first piece)\r\n"
      "10:00:01.900 c:\\tef_dial\\ CRT#1: wrote resp\\intpos.001 (answer, rest)\r\n"
      "10:00:03.000 c:\\tef_dial\\ CNF#1: took req\\intpos.001: 000-000 = CNF\r\n"
      "10:00:04.000 c:\\tef_dial\\ NCN#1: took req\\intpos.001: 000-000 = NCN\r\n";
  Evidence evidence(record_, kStart);
  evidence.ReadManager("dial", log, requests_, written_);
  evidence.Finish(world_.root());

  ASSERT_EQ(record_.operations.size(), 3u);
  EXPECT_EQ(record_.operations[0].ms, 1000);
  EXPECT_EQ(record_.operations[0].root, "dial");
  EXPECT_EQ(record_.operations[0].fields.at("003-000"), "4000");
  EXPECT_EQ(record_.operations[2].code, "NCN");
  // The stray answer (a sequence no request had) is none; the torn one is
  // the transaction, settled both ways.
  ASSERT_EQ(record_.transactions.size(), 1u);
  EXPECT_EQ(record_.transactions[0].document, "000001");
  EXPECT_EQ(record_.transactions[0].Ending(), "1 CNF, 1 NCN");

  std::vector<std::string> files;
  for (const TimelineEvent& event : record_.events)
    if (event.is_file) files.push_back(event.file + " " + event.bytes.substr(0, 13));
  EXPECT_THAT(files, ElementsAre("c:\\tef_dial\\req\\intpos.001 000-000 = CRT",
                                 "c:\\tef_dial\\resp\\intpos.sts 000-000 = CRT",
                                 "c:\\tef_dial\\resp\\intpos.001 000-000 = CRT",
                                 "c:\\tef_dial\\resp\\intpos.001 000-00",
                                 "c:\\tef_dial\\resp\\intpos.001 0 = CRT\r\n001-",
                                 "c:\\tef_dial\\req\\intpos.001 000-000 = CNF",
                                 "c:\\tef_dial\\req\\intpos.001 000-000 = NCN"));
}

TEST_F(RehearsalRecordsTest, TheHostsJournalGivesStepsCallsDialogsAndCuts) {
  const auto line = [](std::int64_t ms, const std::string& lane, const std::string& kind,
                       const std::string& text, const std::string& detail = "") {
    return journal::Line({std::to_string(ms), lane, kind, text, detail}) + "\n";
  };
  // Across midnight: the case began at 23:59:59.
  const std::int64_t start = 86'399'000;
  const std::string journal =
      line(start + 10, "host", "start", "start 1") + line(start + 20, "host", "step", "sale", "0") +
      line(start + 30, "package", "call", "DoTEF(40.00)") +
      line(start + 900, "dialog", "dialog", "Impressora n\xE3o responde\r\nImprimir?", "yes") +
      line(1000, "package", "return", "true") + line(1100, "host", "step-end", "sale", "0") +
      line(1200, "host", "step", "print", "1") + line(1300, "printer", "call", "Usa_CompNFis\t\tA") +
      line(1400, "host", "power-cut", "mid-receipt") + "1500\thost\tstep-";
  Evidence evidence(record_, start);
  evidence.ReadHostEvents(journal);
  evidence.Finish(world_.root());

  EXPECT_THAT(record_.step_returns, ElementsAre(ElementsAre("true"), ElementsAre()));
  EXPECT_THAT(record_.cut_steps, ElementsAre(1));
  ASSERT_EQ(record_.dialogs.size(), 1u);
  EXPECT_EQ(record_.dialogs[0].answer, "yes");
  std::vector<std::string> events;
  for (const TimelineEvent& event : record_.events)
    events.push_back(std::to_string(event.ms) + " " + LaneName(event.lane) + " " + event.text +
                     (event.end_ms >= 0 ? " until " + std::to_string(event.end_ms) : ""));
  EXPECT_THAT(events,
              ElementsAre("20 host step 1: sale until 2100", "30 package DoTEF(40.00) until 2000",
                          "900 dialog Impressora n\xE3o responde\r\nImprimir?", "2200 host step 2: print",
                          "2300 printer Usa_CompNFis", "2400 host power cut (mid-receipt)"));
}

TEST_F(RehearsalRecordsTest, EachExpectationGetsItsMarkWithWhatHappened) {
  record_.step_returns = {{"false"}};
  record_.operations = {{10, "dial", "ATV", {}}, {20, "dial", "CRT", {{"003-000", "4000"}}}};
  record_.dialogs = {{"TRANSA\xC7\xC3O NEGADA", "", false}};
  record_.paper = "VALOR R$ 40,00\nFIM\n";
  record_.card_log = "01/01/2027 10:00:00 - Inicio DoTEF ----\r\n01/01/2027 10:00:01 - Fim DoTEF ----\r\n";
  const Case c =
      Expecting("operations = [\"ATV\", \"CRT 003-000=5000\"]\ndialogs = [\"NEGADA\"]\n"
                "paper = [\"FIM\", \"VALOR\"]\nlog = [\"Inicio\", \"Fim\"]\nlog_absent = [\"Erro\"]\n"
                "open = []\n");
  const std::vector<Mark> marks = Judge(c, record_, false);

  const Mark& result = Find(marks, "payment 1 returns");
  EXPECT_FALSE(result.passed);
  EXPECT_EQ(result.expected, "true");
  EXPECT_EQ(result.actual, "false");
  EXPECT_EQ(result.line, 3);
  const Mark& operations = Find(marks, "requests");
  EXPECT_FALSE(operations.passed);
  EXPECT_EQ(operations.actual, "ATV\nCRT 003-000=4000   \xE2\x86\x90 differs");
  EXPECT_EQ(operations.line, 8);
  EXPECT_TRUE(Find(marks, "dialogs").passed);
  // The paper's lines in order: VALOR comes before FIM, not after.
  std::vector<bool> paper;
  for (const Mark& mark : marks)
    if (mark.what.find("the paper has a line") != std::string::npos) paper.push_back(mark.passed);
  EXPECT_THAT(paper, ElementsAre(true, false));
  EXPECT_TRUE(Find(marks, "the card log has no line").passed);
  EXPECT_TRUE(Find(marks, "end open").passed);
}

TEST_F(RehearsalRecordsTest, AttendedTheManagersAnswerDecidesAndItsTextsAreNotChecked) {
  record_.step_returns = {{"false"}};
  TimelineEvent step;
  step.kind = "step";
  step.text = "step 1: sale";
  step.ms = 0;
  step.end_ms = 5000;
  TimelineEvent answer;
  answer.kind = "answer";
  answer.ms = 2000;
  answer.file = "c:\\tef_dial\\resp\\intpos.001";
  answer.bytes = Answer("1", "77", "05");
  answer.detail = "package, its clock at 2000 ms"; // the answer as the package read it
  record_.events = {step, answer};
  record_.operations = {{5, "dial", "ATV", {}},
                        {10, "dial", "CRT", {{"001-000", "1"}}},
                        {15, "dial", "ATV", {}},
                        {20, "dial", "NCN", {{"012-000", "77"}}}};
  const Case c =
      Expecting("operations = [\"ATV\", \"CRT\", \"ATV\", \"NCN 012-000=000001\"]\ndialogs = [\"X\"]\n");
  const std::vector<Mark> marks = Judge(c, record_, true);
  const Mark& result = Find(marks, "payment 1 returns");
  EXPECT_TRUE(result.passed) << result.expected;
  EXPECT_THAT(result.expected, HasSubstr("as the manager answered"));
  EXPECT_TRUE(Find(marks, "requests").passed);
  EXPECT_TRUE(Find(marks, "dialogs").skipped);
  // The book needs the payment approved; the real manager refused it: the
  // case could not show what it is for, and says so without a failure.
  const Mark& premise = Find(marks, "the manager approves it, as the case needs");
  EXPECT_TRUE(premise.skipped && premise.premise_unmet);
  record_.marks = marks;
  EXPECT_TRUE(record_.PremiseNotMet());
  EXPECT_STREQ(record_.Verdict(), "PREMISE NOT MET");
  EXPECT_THAT(record_.FirstFailure(), HasSubstr("premise not met: step 1 (sale) payment 1"));
  // What follows from it (the approval the case needs refused stays open)
  // is no failure of the host either; a run that went wrong is.
  record_.marks.push_back({"transactions that end open", "none", "1", false, false, 3});
  EXPECT_STREQ(record_.Verdict(), "PREMISE NOT MET");
  record_.problem = "the host ended with exit status 3";
  EXPECT_STREQ(record_.Verdict(), "FAIL");
}

// tefsim's CRT#2 with "field 012-000 000001": two approvals, one document
// number. The sequences tell them apart; each CNF settles one.
TEST_F(RehearsalRecordsTest, ApprovalsThatRepeatADocumentNumberAreTwoTransactions) {
  Keep(requests_, "CRT-1.001", "000-000 = CRT\r\n001-000 = 0000000005\r\n003-000 = 4000\r\n999-999 = 0\r\n");
  Keep(requests_, "CRT-2.001", "000-000 = CRT\r\n001-000 = 0000000007\r\n003-000 = 4000\r\n999-999 = 0\r\n");
  const std::string settle =
      "000-000 = CNF\r\n010-000 = REDEX\r\n012-000 = 000001\r\n027-000 = \r\n999-999 = 0\r\n";
  for (const char* name : {"CNF-1.001", "CNF-2.001", "CNF-3.001"}) Keep(requests_, name, settle);
  Keep(written_, "CRT-1-1.001", Answer("0000000005", "000001"));
  Keep(written_, "CRT-2-1.001", Answer("0000000007", "000001"));
  std::string log = "10:00:01.000 c:\\tef_dial\\ CRT#1: took req\\intpos.001: x\r\n"
                    "10:00:01.100 c:\\tef_dial\\ CRT#1: wrote resp\\intpos.001 (answer): x\r\n"
                    "10:00:02.000 c:\\tef_dial\\ CNF#1: took req\\intpos.001: x\r\n"
                    "10:00:03.000 c:\\tef_dial\\ CRT#2: took req\\intpos.001: x\r\n"
                    "10:00:03.100 c:\\tef_dial\\ CRT#2: wrote resp\\intpos.001 (answer): x\r\n"
                    "10:00:04.000 c:\\tef_dial\\ CNF#2: took req\\intpos.001: x\r\n";
  {
    Evidence evidence(record_, kStart);
    evidence.ReadManager("dial", log, requests_, written_);
    evidence.Finish(world_.root());
  }
  ASSERT_EQ(record_.transactions.size(), 2u);
  EXPECT_EQ(record_.transactions[0].sequence, "0000000005");
  EXPECT_EQ(record_.transactions[1].sequence, "0000000007");
  EXPECT_EQ(record_.transactions[0].Ending(), "confirmed");
  EXPECT_EQ(record_.transactions[1].Ending(), "confirmed");
  EXPECT_TRUE(Find(Judge(Expecting("confirmed = [1, 2]\n"), record_, false), "end confirmed").passed);

  // A third confirmation of that document is one too many, and shows.
  CaseRecord again;
  Evidence evidence(again, kStart);
  evidence.ReadManager("dial", log + "10:00:05.000 c:\\tef_dial\\ CNF#3: took req\\intpos.001: x\r\n",
                       requests_, written_);
  evidence.Finish(world_.root());
  ASSERT_EQ(again.transactions.size(), 2u);
  EXPECT_EQ(again.transactions[0].Ending(), "confirmed");
  EXPECT_EQ(again.transactions[1].Ending(), "2 CNF, 0 NCN");
}

// Attended, the folder watch saw none of the package's requests (a manager
// that takes them at once): the package's own record makes the requests and
// the transaction, and an answer only the watch saw is not held against the
// host.
TEST_F(RehearsalRecordsTest, AttendedThePackagesRecordDecidesAndWhatWasNotObservedIsNotAFault) {
  const auto file = [](std::int64_t ms, const std::string& kind, const std::string& path,
                       const std::string& bytes, const std::string& to = "") {
    return journal::Line({std::to_string(kStart + ms), "file", kind, path, bytes, to, std::to_string(ms)}) +
           "\n";
  };
  const std::string req = "c:\\tef_dial\\req\\", resp = "c:\\tef_dial\\resp\\";
  const std::string journal =
      journal::Line({std::to_string(kStart), "host", "step", "sale", "0"}) + "\n" +
      file(10, "rename", req + "~intpos.001.tmp", "000-000 = CRT\r\n001-000 = 5\r\n003-000 = 4000\r\n",
           req + "intpos.001") +
      file(20, "read", resp + "intpos.sts", "000-000 = CRT\r\n001-000 = 5\r\n") +
      file(30, "read", resp + "intpos.001", Answer("5", "123456")) +
      file(40, "remove", resp + "intpos.001", "") +
      file(50, "rename", req + "~intpos.001.tmp",
           "000-000 = CNF\r\n001-000 = 6\r\n010-000 = REDEX\r\n012-000 = 123456\r\n027-000 = \r\n",
           req + "intpos.001") +
      file(60, "rename", req + "~intpos.001.tmp", "000-000 = CRT\r\n001-000 = 7\r\n003-000 = 4000\r\n",
           req + "intpos.001") +
      file(62, "rename", resp + "intpos.001", Answer("7", "654321"), "c:\\host\\Dados\\TefDisc\\intpos.007") +
      journal::Line({std::to_string(kStart + 65), "package", "return", "true", ""}) + "\n" +
      journal::Line({std::to_string(kStart + 70), "host", "step-end", "sale", "0"}) + "\n";
  // The manager's late approval of the second sale, after the package gave up.
  const std::vector<SeenFile> seen = {
      {900, "c:\\tef_dial\\", "resp\\intpos.001", Answer("7", "123456"), false}};
  Evidence evidence(record_, kStart);
  evidence.ReadHostEvents(journal);
  evidence.UsePackageExchange();
  evidence.AddSeen(seen);
  evidence.Finish(world_.root());

  ASSERT_EQ(record_.operations.size(), 3u);
  EXPECT_EQ(record_.operations[1].code, "CNF");
  ASSERT_EQ(record_.transactions.size(), 2u);
  EXPECT_EQ(record_.transactions[0].Ending(), "confirmed");
  EXPECT_EQ(record_.transactions[1].Ending(), "not observed");
  // An answer the package put away out of the exchange folder is gone from
  // there; it is no answer read, and its approval is not counted from it.
  EXPECT_TRUE(std::any_of(record_.events.begin(), record_.events.end(), [](const TimelineEvent& event) {
    return event.kind == "taken" &&
           event.text == "resp\\intpos.001 moved by the package to c:\\host\\Dados\\TefDisc\\intpos.007";
  }));

  const std::vector<Mark> marks =
      Judge(Expecting("operations = [\"CRT\", \"CNF\", \"CRT\"]\nconfirmed = [1]\nopen = []\n"
                      "not_confirmed = [2]\n"),
            record_, true);
  EXPECT_TRUE(Find(marks, "payment 1 returns").passed);
  EXPECT_THAT(Find(marks, "payment 1 returns").expected, HasSubstr("true (as the manager answered)"));
  EXPECT_TRUE(Find(marks, "requests").passed);
  EXPECT_TRUE(Find(marks, "end confirmed").passed);
  EXPECT_TRUE(Find(marks, "end open").passed);
  const Mark& late = Find(marks, "end not confirmed");
  EXPECT_FALSE(late.passed);
  EXPECT_TRUE(late.skipped);
  EXPECT_TRUE(late.unobserved);
}

// A manager that leaves its requests in req\ (the next one overwrites it):
// the package reads its own request back to see whether it was taken. That
// read is no answer, and the approval it read after it decides the sale.
TEST_F(RehearsalRecordsTest, AttendedARequestReadBackFromReqIsNoAnswer) {
  const auto file = [](std::int64_t ms, const std::string& kind, const std::string& path,
                       const std::string& bytes, const std::string& to = "") {
    return journal::Line({std::to_string(kStart + ms), "file", kind, path, bytes, to, std::to_string(ms)}) +
           "\n";
  };
  const std::string req = "c:\\tef_dial\\req\\", resp = "c:\\tef_dial\\resp\\";
  const std::string request = "000-000 = CRT\r\n001-000 = 5\r\n003-000 = 4000\r\n999-999 = 0\r\n";
  const std::string journal =
      journal::Line({std::to_string(kStart), "host", "step", "sale", "0"}) + "\n" +
      file(10, "rename", req + "~intpos.001.tmp", request, req + "intpos.001") +
      file(20, "read", resp + "intpos.sts", "000-000 = CRT\r\n001-000 = 5\r\n") +
      file(25, "read", req + "intpos.001", request) +
      file(30, "read", resp + "intpos.001", Answer("5", "123456")) +
      journal::Line({std::to_string(kStart + 65), "package", "return", "true", ""}) + "\n" +
      journal::Line({std::to_string(kStart + 70), "host", "step-end", "sale", "0"}) + "\n";
  Evidence evidence(record_, kStart);
  evidence.ReadHostEvents(journal);
  evidence.UsePackageExchange();
  evidence.Finish(world_.root());
  EXPECT_EQ(std::count_if(record_.events.begin(), record_.events.end(),
                          [](const TimelineEvent& event) { return event.kind == "answer"; }),
            1);
  const std::vector<Mark> marks = Judge(Expecting("confirmed = []\n"), record_, true);
  EXPECT_TRUE(Find(marks, "payment 1 returns").passed);
  EXPECT_TRUE(std::none_of(marks.begin(), marks.end(), [](const Mark& mark) { return mark.premise_unmet; }));
}

TEST(RehearsalTextTest, TimesOfDayAcrossMidnight) {
  EXPECT_EQ(ParseTimeOfDay("17:21:08.261 c:\\"), ((17 * 60 + 21) * 60 + 8) * 1000 + 261);
  EXPECT_EQ(ParseTimeOfDay("17:21:08,261"), -1);
  EXPECT_EQ(RelativeMs(500, 86'399'000), 1500);
  EXPECT_EQ(RelativeMs(1000, 2000), -1000);
}

TEST(RehearsalTextTest, JournalFieldsComeBackAsTheyWereWritten) {
  const std::vector<std::string> fields = {"a\tb", "c\\d\r\n", std::string("\x01\xA0", 2), "", "\xE9"};
  EXPECT_EQ(journal::Fields(journal::Line(fields, "\xA0")), fields);
  EXPECT_EQ(journal::Fields("x\\q\\"), (std::vector<std::string>{"xq\\"}));
}

} // namespace
} // namespace rehearsal
