// zulpos sale against a running tefsim, in real time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"
#include "support/state.h"

namespace zul00500 {
namespace {

class SaleAgainstTefsim : public testing::TefsimWorld {
protected:
  void SetUp() override { platform::native_fs().create_directories(requests_); }

  void Start(const std::vector<std::string>& rules = {}) {
    std::vector<std::string> options = {"--keep-requests", requests_};
    for (const std::string& rule : rules) options.insert(options.end(), {"--rule", rule});
    StartTefsim("dial", options);
  }

  // The sale request as the manager took it, with its sequence checked and
  // replaced by "SEQ".
  std::string Request(const std::string& name) {
    std::string request = platform::native_fs().read_file(requests_ + "/" + name);
    const std::string prefix = "000-000 = CRT\r\n001-000 = ";
    EXPECT_EQ(request.compare(0, prefix.size(), prefix), 0) << request;
    const std::size_t end = request.find('\r', prefix.size());
    const std::string sequence = request.substr(prefix.size(), end - prefix.size());
    EXPECT_EQ(sequence.size(), 10u);
    EXPECT_EQ(sequence.find_first_not_of("0123456789"), std::string::npos) << sequence;
    return request.replace(prefix.size(), sequence.size(), "SEQ");
  }

  static std::string ExpectedRequest(const std::string& cents) {
    return "000-000 = CRT\r\n001-000 = SEQ\r\n003-000 = " + cents +
           "\r\n004-000 = 0\r\n500-000 = 1\r\n701-000 = Quintar v5, 55, 1, 0\r\n706-000 = 2\r\n"
           "716-000 = VELTRAN SOFTWARE LTDA.\r\n999-999 = 0\r\n";
  }

  static std::vector<std::string> Answers(const std::string& directory) {
    return platform::fs().list(directory + "intpos.*");
  }

  const std::string requests_ = world_.root() + "/requests";
};

TEST_F(SaleAgainstTefsim, TotalPaymentIsLeftForPrintingAndPrintsFromTheSavedList) {
  Start();
  const std::string receipts = world_.root() + "/receipts.txt";
  const auto run = Zulpos({"sale", "--pay", "12.34", "--receipts", receipts});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  for (const char* line : {"1.result=true", "1.approved=1", "1.txn=1", "1.extra=0.00", "1.doc=000001",
                           "1.f748=TEFSIM000", "1.f013=A00001", "1.f027=00000000001", "doTrocoTef=12.34",
                           "doValorTef=12.34", "DirTef=c:\\tef_dial\\"})
    EXPECT_TRUE(run.Said(line)) << line;
  EXPECT_EQ(Request("CRT-1.001"), ExpectedRequest("1234"));

  // Nothing confirmed: the answer stays with its backup, for the printing run.
  EXPECT_EQ(Answers("c:\\tef_dial\\resp\\"), std::vector<std::string>{"intpos.001"});
  EXPECT_EQ(Answers(backup_), std::vector<std::string>{"intpos.  1"});
  EXPECT_TRUE(Answers(pending_).empty());
  EXPECT_FALSE(AnyLineHas(Lines(tefsim_log_), "confirmed"));

  // One block: "1" and the answer, in code page 1252 with CR LF.
  const std::string saved = platform::native_fs().read_file(receipts);
  EXPECT_EQ(saved.compare(0, 20, "1\r\n000-000 = CRT\r\n00"), 0) << saved;
  EXPECT_NE(saved.find("\r\n029-001 = \""), std::string::npos);
  EXPECT_EQ(saved.substr(saved.size() - 13), "999-999 = 0\r\n");
  EXPECT_TRUE(AnyLineHas(Lines(journal_), "TRANSACAO APROVADA\t"));

  // The saved list printed later: confirmed, printed, cleaned up.
  const std::string paper = world_.root() + "/paper.txt";
  const auto print = Zulpos({"print", receipts, "--count", "1", "--txns", "1", "--paper", paper});
  ASSERT_TRUE(print.status.has_value());
  EXPECT_EQ(*print.status, 0);
  EXPECT_TRUE(print.Said("result=true"));
  EXPECT_NE(platform::native_fs().read_file(paper).find("VALOR R$ 12,34"), std::string::npos);
  EXPECT_TRUE(AnyLineHas(StopTefsim(), "CNF", "confirmed: network=REDEX doc=000001"));
  EXPECT_TRUE(Answers("c:\\tef_dial\\resp\\").empty());
  EXPECT_TRUE(Answers(backup_).empty());
}

TEST_F(SaleAgainstTefsim, RefusedAndErrorAnswersEndTheSaleAndLeaveNothing) {
  Start({"CRT#1: refuse", "CRT#2: error"});
  const auto refused = Zulpos({"sale", "--pay", "10", "--pay", "5"});
  ASSERT_TRUE(refused.status.has_value());
  EXPECT_EQ(*refused.status, 1);
  EXPECT_TRUE(refused.Said("1.result=false"));
  EXPECT_TRUE(refused.Said("1.approved=0"));
  EXPECT_TRUE(refused.Said("1.txn=0"));
  EXPECT_TRUE(refused.Said("1.doc=000001"));
  EXPECT_FALSE(AnyLineHas(refused.output, "2.result="));
  EXPECT_TRUE(refused.Said("doValorTef=0.00"));
  EXPECT_EQ(Request("CRT-1.001"), ExpectedRequest("1000"));

  const auto failed = Zulpos({"sale", "--pay", "7"});
  ASSERT_TRUE(failed.status.has_value());
  EXPECT_EQ(*failed.status, 1);
  EXPECT_TRUE(failed.Said("1.result=false"));
  EXPECT_TRUE(failed.Said("1.doc="));
  EXPECT_EQ(Request("CRT-2.001"), ExpectedRequest("700"));

  for (const std::string& directory : {std::string("c:\\tef_dial\\resp\\"), backup_, pending_})
    EXPECT_TRUE(Answers(directory).empty()) << directory;
  const auto dialogs = Lines(journal_);
  EXPECT_TRUE(AnyLineHas(dialogs, "TRANSACAO NEGADA\t"));
  EXPECT_TRUE(AnyLineHas(dialogs, "OPERACAO NAO REALIZADA\t"));
  EXPECT_FALSE(AnyLineHas(StopTefsim(), "confirmed"));
}

TEST_F(SaleAgainstTefsim, TwoPaymentsConfirmThePartialOneAndKeepItPending) {
  Start();
  const auto run = Zulpos({"sale", "--pay", "40.00", "--pay", "60.00", "--total", "100.00"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  for (const char* line :
       {"1.result=true", "1.approved=1", "1.txn=1", "1.doc=000001", "2.result=true", "2.approved=1",
        "2.txn=2", "2.doc=000002", "2.f027=00000000002", "doTrocoTef=60.00", "doValorTef=100.00"})
    EXPECT_TRUE(run.Said(line)) << line;
  EXPECT_EQ(Request("CRT-1.001"), ExpectedRequest("4000"));
  EXPECT_EQ(Request("CRT-2.001"), ExpectedRequest("6000"));

  // The partial payment: pending copy kept, confirmed, its answer gone; the
  // total one left for printing.
  EXPECT_EQ(Answers(pending_), std::vector<std::string>{"intpos.1"});
  EXPECT_NE(platform::fs().read_file(pending_ + "intpos.1").find("012-000 = 000001\r\n"), std::string::npos);
  EXPECT_EQ(Answers("c:\\tef_dial\\resp\\"), std::vector<std::string>{"intpos.001"});
  EXPECT_NE(platform::fs().read_file("c:\\tef_dial\\resp\\intpos.001").find("012-000 = 000002\r\n"),
            std::string::npos);
  EXPECT_EQ(Answers(backup_).size(), 1u);
  const auto log = StopTefsim();
  EXPECT_TRUE(AnyLineHas(log, "CNF", "confirmed: network=REDEX doc=000001"));
  EXPECT_FALSE(AnyLineHas(log, "doc=000002"));
}

TEST_F(SaleAgainstTefsim, PrintedSaleConfirmsBothPaymentsAndLeavesNothingBehind) {
  Start();
  const std::string printer_journal = world_.root() + "/printer.txt";
  const std::string paper = world_.root() + "/paper.txt";
  const auto run = Zulpos({"sale", "--pay", "40", "--pay", "60", "--total", "100", "--print",
                           "--printer-journal", printer_journal, "--paper", paper});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("2.result=true"));
  EXPECT_TRUE(run.Said("print.result=true"));

  // The partial payment's saved receipt first, then the one of the list.
  const std::string printed = platform::native_fs().read_file(paper);
  const std::size_t first = printed.find("DOC 000001  AUT A00001");
  const std::size_t second = printed.find("DOC 000002  AUT A00002");
  ASSERT_NE(first, std::string::npos) << printed;
  ASSERT_NE(second, std::string::npos) << printed;
  EXPECT_LT(first, second);
  EXPECT_NE(printed.find("VALOR R$ 60,00"), std::string::npos);
  const auto calls = Lines(printer_journal);
  EXPECT_TRUE(AnyLineHas(calls, "Usa_CompNFis", "DOC 000001"));
  EXPECT_TRUE(AnyLineHas(calls, "Usa_CompNFis", "DOC 000002"));
  EXPECT_FALSE(AnyLineHas(calls, "=false"));

  const auto log = StopTefsim();
  EXPECT_TRUE(AnyLineHas(log, "CNF", "confirmed: network=REDEX doc=000001"));
  EXPECT_TRUE(AnyLineHas(log, "CNF", "confirmed: network=REDEX doc=000002"));
  EXPECT_FALSE(AnyLineHas(log, "not confirmed"));
  for (const std::string& directory : {std::string("c:\\tef_dial\\resp\\"), backup_, pending_})
    EXPECT_TRUE(Answers(directory).empty()) << directory;
}

// What a terminal types is UTF-8: tefsim's rule writes its message in code
// page 1252 into the answer, as a manager does, and zulpos hands the
// receipts file's accented path to the package, which saves the list where
// the terminal named it.
TEST_F(SaleAgainstTefsim, TextTypedInUtf8ReachesTheAnswerAndTheDiskInTheirOwnEncodings) {
  Start({"CRT#1: message Transa\xC3\xA7\xC3\xA3o aprovada"});
  std::filesystem::create_directories(world_.root() + "/recibos");
  const std::string receipts = world_.root() + "/recibos/caf\xC3\xA9.txt";
  const auto run = Zulpos({"sale", "--pay", "5", "--receipts", receipts});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  std::ifstream file(std::filesystem::u8path(receipts), std::ios::binary);
  ASSERT_TRUE(file) << "no " << receipts;
  std::ostringstream text;
  text << file.rdbuf();
  EXPECT_NE(text.str().find("030-000 = Transa\xE7\xE3o aprovada\r\n"), std::string::npos) << text.str();
}

} // namespace
} // namespace zul00500
