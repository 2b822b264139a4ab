// A manager written from the file protocol alone does what the protocol
// allows and tefsim never does: it leaves each request it took in "req\",
// ends its status and answer files without the closing line, and leaves
// their last line without a line end. Every sale here is judged by what
// that manager received and by the virtual time it cost.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "printing/printing.h"
#include "support/printer_stubs.h"
#include "support/sale_world.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/network_choice.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/store.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::FakeManager;

class PlainManagerTest : public testing::SaleWorld {
protected:
  PlainManagerTest() { testing::AnswerEveryPrinterCall(&printed_); }
  ~PlainManagerTest() override { testing::ClearPrinterProcedures(); }

  // A sale of 10.00 paid whole and printed, against the manager of
  // c:\tef_dial\ in `shape`; the virtual time it took.
  std::uint64_t SellAndPrint(FakeManager::Shape shape) {
    dial_.Plain(shape);
    dial_.QueueAnswer([](const StringList& request) { return Approval(request); });
    dial_.AnswerEachRequestOnce();
    const std::uint64_t start = clock_.elapsed_ms();
    EXPECT_TRUE(Pay(10, 10));
    EXPECT_EQ(approved_, 1);
    EXPECT_TRUE(ImprCupons(*receipts_, 1, 1, 0, "", "", "ctx", "", "", "N", "N", "", "", 10));
    return clock_.elapsed_ms() - start;
  }

  std::string printed_;
};

TEST_F(PlainManagerTest, AManagerThatLeavesItsRequestsInPlaceIsCheckedPaidAndConfirmed) {
  dial_.Plain({.leave_requests = true});
  StoreDirTef(kRootTefDial);
  EXPECT_TRUE(CheckGPAtivo("ATV", GetSequence()));
  EXPECT_EQ(LogCount("Zul00500 - Gerenciador est\xE1 ativo"), 1);

  const std::uint64_t took = SellAndPrint({.leave_requests = true});
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "ATV", "CRT", "ATV", "ATV", "CNF"}));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321"}));
  EXPECT_NE(printed_.find("APROVADA"), std::string::npos);
  // No wait ran out.
  EXPECT_LT(took, 15'000u);
  // The next sale is not held by the requests left behind.
  dial_.QueueAnswer([](const StringList& request) { return Approval(request); });
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(approved_, 1);
}

TEST_F(PlainManagerTest, FilesWithoutClosingLineOrLastLineEndCostAtMostTwoSecondsMoreEach) {
  StoreDirTef(kRootTefDial);
  const std::uint64_t usual = SellAndPrint({});
  const std::vector<std::string> usual_operations = Operations(kRootTefDial);
  for (const bool line_end : {true, false}) {
    // Another manager, which never writes the closing line: the package
    // knows nothing of it yet (one seen to write it is waited for longer).
    ForgetSettledInThisProcess();
    const std::size_t before = Operations(kRootTefDial).size();
    const std::uint64_t took =
        SellAndPrint({.leave_requests = !line_end, .closing_line = false, .last_line_end = line_end});
    const std::vector<std::string> all = Operations(kRootTefDial);
    const std::vector<std::string> operations(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    EXPECT_EQ(operations, usual_operations) << line_end;
    // Six files: five status files and the answer.
    EXPECT_LE(took, usual + 6 * 2'000) << line_end;
  }
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"CNF 654321", "CNF 654321", "CNF 654321"}));
}

// A status written late for an earlier request (the wait for it ran out)
// does not acknowledge the next one while that one still waits in "req\\":
// the wait holds it until the manager takes the request.
TEST_F(PlainManagerTest, ALateStatusDoesNotAcknowledgeTheNextRequestStillWaiting) {
  StoreDirTef(kRootTefDial);
  // A manager seen to remove what it takes.
  EXPECT_TRUE(CheckGPAtivo("ATV", GetSequence()));
  dial_.Script({testing::StatusReply::Silent});
  EXPECT_FALSE(CheckGPAtivo("ATV", GetSequence()));
  dial_.Stop(true);
  const std::uint64_t start = clock_.elapsed_ms();
  clock_.at(start + 1'000, [] { testing::WriteResponse(kRootTefDial, "intpos.sts", {"000-000 = ATV"}); });
  clock_.at(start + 5'000, [this] { dial_.Stop(false); });
  const std::string sequence = GetSequence();
  EXPECT_TRUE(CheckGPAtivo("ATV", sequence));
  EXPECT_GE(clock_.elapsed_ms() - start, 5'000u);
  EXPECT_EQ(LastRequest(kRootTefDial).Field("001-000 "), sequence);
}

// A manager that leaves what it takes in "req\" once writes no status:
// the next wait cannot be in doubt by the request directory, which tells
// nothing of such a manager, and takes its status at once.
TEST_F(PlainManagerTest, AManagerThatLeavesItsRequestsIsNotDoubtedAfterAWaitRanOut) {
  StoreDirTef(kRootTefDial);
  dial_.Plain({.leave_requests = true});
  EXPECT_TRUE(CheckGPAtivo("ATV", GetSequence()));
  dial_.Script({testing::StatusReply::Silent});
  EXPECT_FALSE(CheckGPAtivo("ATV", GetSequence()));
  const std::uint64_t start = clock_.elapsed_ms();
  EXPECT_TRUE(CheckGPAtivo("ATV", GetSequence()));
  EXPECT_LT(clock_.elapsed_ms() - start, 2'000u);
}

// Another request's status headed with our operation's code comes while
// ours still waits in "req\\" of a manager that removes what it takes: held
// until the manager takes ours, though no wait ran out before.
TEST_F(PlainManagerTest, AStatusThatMayBeAnotherRequestsIsHeldWhileOursWaits) {
  StoreDirTef(kRootTefDial);
  EXPECT_TRUE(CheckGPAtivo("ATV", GetSequence()));
  dial_.Stop(true);
  const std::uint64_t start = clock_.elapsed_ms();
  clock_.at(start + 1'000, [] { testing::WriteResponse(kRootTefDial, "intpos.sts", {"000-000 = ATV"}); });
  clock_.at(start + 4'000, [this] { dial_.Stop(false); });
  const std::string sequence = GetSequence();
  EXPECT_TRUE(CheckGPAtivo("ATV", sequence));
  EXPECT_GE(clock_.elapsed_ms() - start, 4'000u);
  EXPECT_EQ(LastRequest(kRootTefDial).Field("001-000 "), sequence);
}

// A manager seen to end its status files with the closing line pauses
// after the first line of one that names another sequence: the package
// does not take the header alone for its acknowledgement.
TEST_F(PlainManagerTest, AStatusPausedAfterItsHeaderIsNotTakenForOurs) {
  StoreDirTef(kRootTefDial);
  EXPECT_TRUE(CheckGPAtivo("ATV", GetSequence()));
  dial_.Script({testing::StatusReply::Silent});
  const std::string path = std::string(kRootTefDial) + "resp\\intpos.sts";
  const std::uint64_t start = clock_.elapsed_ms();
  clock_.at(start + 1'000, [&path] { platform::fs().write_file(path, "000-000 = ATV\r\n"); });
  clock_.at(start + 1'900, [&path] { platform::fs().append_file(path, "001-00"); });
  clock_.at(start + 4'000,
            [&path] { platform::fs().append_file(path, "0 = 9999999999\r\n999-999 = 0\r\n"); });
  EXPECT_FALSE(CheckGPAtivo("ATV", GetSequence()));
}

} // namespace
} // namespace zul00500
