// A manager that writes its answer in place and pauses in the middle, at a
// line end: the package must never judge the part it has read. The sale,
// the cancellation and the leftover scan wait for the rest; a file cut short
// for good is kept byte for byte before anything can delete it.
#include <gtest/gtest.h>

#include "cancellation/cancellation.h"
#include "platform/file_system.h"
#include "printing/printing.h"
#include "support/manager_folders.h"
#include "support/printer_stubs.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::SaleWorld;

using testing::kDialResp;

// Where `bytes` stand after the line of field `id` and its line end.
std::size_t AfterLine(const std::string& bytes, const std::string& id) {
  const std::size_t line = bytes.find(id + " = ");
  return bytes.find('\n', line) + 1;
}

class HalfWrittenAnswerTest : public SaleWorld {
protected:
  HalfWrittenAnswerTest() { testing::AnswerEveryPrinterCall(&printed_); }
  ~HalfWrittenAnswerTest() override { testing::ClearPrinterProcedures(); }

  // The manager of c:\tef_dial\ answers each sale or cancellation request
  // in place: up to the line of `id`, then, `pause_ms` later, the rest.
  void AnswerInTwoPieces(const std::string& id, std::int64_t pause_ms,
                         std::function<StringList(const StringList&)> make = nullptr) {
    AnswerCutAt([id](const std::string& bytes) { return AfterLine(bytes, id); }, pause_ms, std::move(make));
  }
  // The same, with the first piece ending where `cut_at` says.
  void AnswerCutAt(std::function<std::size_t(const std::string&)> cut_at, std::int64_t pause_ms,
                   std::function<StringList(const StringList&)> make = nullptr) {
    if (!make) make = [](const StringList& request) { return Approval(request); };
    dial_.OnRequest([this, cut_at, pause_ms, make](const StringList& request) {
      const std::string operation = request.Field("000-000 ");
      if (operation != "CRT" && operation != "CNC") return;
      const std::string bytes = make(request).Text();
      const std::size_t cut = cut_at(bytes);
      const std::string path = kDialResp + "intpos.001";
      platform::fs().write_file(path, bytes.substr(0, cut));
      clock_.at(clock_.elapsed_ms() + pause_ms,
                [path, rest = bytes.substr(cut)] { platform::fs().append_file(path, rest); });
    });
  }
  bool Print() { return ImprCupons(*receipts_, 1, 1, 0, "", "", "ctx", "", "", "N", "N", "", "", 10); }
  std::string Quarantine() { return dsDirBkpTef + "Descartados\\"; }

  std::string printed_;
};

TEST_F(HalfWrittenAnswerTest, AnApprovalPausedAfterItsAmountIsWaitedForNotTakenAsARefusal) {
  AnswerInTwoPieces("003-000", 3000);
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(LogCount("Rez00000 - Transa\xE7\xE3o n\xE3o aprovada."), 0);
  EXPECT_TRUE(Print());
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
}

TEST_F(HalfWrittenAnswerTest, AnApprovalPausedAfterItsNetworkIsNotTakenForOneWithoutReceipt) {
  AnswerInTwoPieces("010-000", 3000);
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  ASSERT_FALSE(receipts_->empty());
  EXPECT_TRUE(Print());
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
}

TEST_F(HalfWrittenAnswerTest, AnApprovalPausedAfterItsReceiptCountKeepsEveryReceiptLine) {
  AnswerInTwoPieces("028-000", 3000);
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(receipts_->Field("029-002 "), "\"APROVADA\"");
}

// Cut after "028-000 = ", before the count: by the line syntax the file
// ends in a line, and it may stand still for longer than the quiet time.
TEST_F(HalfWrittenAnswerTest, AnApprovalPausedBeforeItsReceiptCountIsNotTakenForOneWithoutReceipt) {
  AnswerCutAt([](const std::string& bytes) { return bytes.find("028-000 = ") + 10; }, 3000);
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(receipts_->Field("029-002 "), "\"APROVADA\"");
  EXPECT_TRUE(Print());
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
}

TEST_F(HalfWrittenAnswerTest, AnAnswerPausedBetweenTheCrAndLfOfItsClosingLineIsStoredWhole) {
  AnswerCutAt([](const std::string& bytes) { return bytes.size() - 1; }, 3000);
  EXPECT_TRUE(Pay(10, 10));
  const std::vector<std::string> backups = Names(dsDirBkpTef + "intpos.*");
  ASSERT_EQ(backups.size(), 1u);
  const std::string stored = platform::fs().read_file(dsDirBkpTef + backups[0]);
  EXPECT_EQ(stored.substr(stored.size() - 13), "999-999 = 0\r\n");
  EXPECT_TRUE(Print());
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
}

TEST_F(HalfWrittenAnswerTest, AnAnswerWithoutItsClosingLineIsJudgedOnceItStoodStillAndLooksWhole) {
  dial_.QueueAnswer([](const StringList& request) {
    StringList answer = Approval(request);
    StringList without;
    for (std::size_t i = 0; i + 1 < answer.Count(); ++i) without.Add(answer[i]);
    return without;
  });
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(LogCount("Zul00500 - Resposta sem 999-999 = 0 aceita ap\xF3s 1500 ms sem mudan\xE7"
                     "a: " +
                     kDialResp + "intpos.001"),
            1);
}

TEST_F(HalfWrittenAnswerTest, ACancellationAnswerPausedAfterItsNetworkIsPrintedAndConfirmedWhole) {
  AnswerInTwoPieces("010-000", 3000, [](const StringList& request) {
    return StringList{"000-000 = CNC",      "001-000 = " + request.Field("001-000 "),
                      "009-000 = 0",        "010-000 = REDEY",
                      "012-000 = 777",      "028-000 = 1",
                      "029-001 = \"CANC\"", "030-000 = CANCELAMENTO OK",
                      testing::kClosingLine};
  });
  EXPECT_TRUE(
      CancelaTEF("", "", "ctx", "N", 1, 1, 0, "", "", "1000", "REDEY", "1", "", "", "N", "", "", true));
  EXPECT_NE(printed_.find("CANC"), std::string::npos);
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 777"}));
}

TEST_F(HalfWrittenAnswerTest, ALeftoverTheManagerIsStillWritingIsWaitedForAndSettledOnce) {
  const std::string bytes = Approval({"000-000 = CRT", "001-000 = 0000000005", "003-000 = 1000"}).Text();
  const std::size_t cut = AfterLine(bytes, "003-000");
  platform::fs().write_file(kDialResp + "intpos.001", bytes.substr(0, cut));
  clock_.at(3000,
            [this, rest = bytes.substr(cut)] { platform::fs().append_file(kDialResp + "intpos.001", rest); });

  EXPECT_TRUE(CheckIntPosFiles("ctx", true));

  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 654321"}));
  EXPECT_TRUE(Names(Quarantine() + "*").empty());
}

// A response file cut short for good, in the root the sale then uses: the
// sale's activity check empties that directory, so the scan keeps the bytes
// first.
TEST_F(HalfWrittenAnswerTest, ALeftoverCutShortForGoodInTheSalesOwnRootIsKeptByteForByte) {
  const std::string torn = "000-000 = CRT\r\n001-000 = 0000000005\r\n003-0";
  platform::fs().write_file(kDialResp + "intpos.001", torn);
  dial_.QueueAnswers({testing::Approves(), testing::Approves()});

  EXPECT_TRUE(Pay(10, 10));

  const std::vector<std::string> kept = Names(Quarantine() + "*");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(platform::fs().read_file(Quarantine() + kept[0]), torn);
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(Names(Quarantine() + "*").size(), 1u);
}

} // namespace
} // namespace zul00500
