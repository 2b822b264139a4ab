#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "cancellation/cancellation.h"
#include "receipt_test_support.h"
#include "support/faulty_fs.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approves;
using testing::FaultyFs;
using testing::Fields;

const Fields kCancelledFields{{"028-000", "1"}, {"029-001", "\"CANCELAMENTO OK\""}, {"029-002", nullptr}};
const Fields kRefused{{"009-000", "5"},
                      {"028-000", "0"},
                      {"029-001", nullptr},
                      {"029-002", nullptr},
                      {"030-000", "CANCELAMENTO NEGADO"}};

class CancelaPendenciaTest : public testing::ReceiptWorld {
protected:
  bool Undo(int count) { return CancelaPendencia("r1", "r2", "ctx", "x", count, 0, "F", "std2", "std1"); }

  // A pending copy of a partial payment through the manager of "REDEY".
  void SavePending(int k, const std::string& sequence, const std::string& amount,
                   const std::string& field022 = "07122026") {
    StringList copy{"000-000 = CRT", "001-000 = " + sequence, "003-000 = " + amount,
                    "009-000 = 0",   "010-000 =  REDEY ",     "012-000 = DOC" + sequence};
    if (!field022.empty()) copy.Add("022-000 = " + field022);
    copy.Add("023-000 = 080000 ");
    copy.Add("028-000 = 1");
    SaveReceipt(k, copy);
  }
  std::vector<StringList> CncRequests() {
    std::vector<StringList> requests;
    for (const StringList& request : dial_.Requests())
      if (request.Field("000-000 ") == "CNC") requests.push_back(request);
    return requests;
  }
  std::vector<std::string> Pending() { return Names(dsDirPenTef + "intpos.*"); }
  static StringList Read(const std::string& path) {
    StringList lines;
    lines.LoadFromFile(path);
    return lines;
  }
};

TEST_F(CancelaPendenciaTest, EmptyPendingDirectoryIsTrueAtOnceWithoutTheManager) {
  EXPECT_TRUE(Undo(3));
  EXPECT_TRUE(dial_.Requests().empty());
  EXPECT_TRUE(disc_.Requests().empty());
  EXPECT_TRUE(hiper_.Requests().empty());
  EXPECT_TRUE(host_->Calls().empty());
}

TEST_F(CancelaPendenciaTest, CopiesAreCancelledByNumberWithTheirTrimmedValues) {
  SavePending(3, "0000000033", " 3000 ", "");
  SavePending(1, "0000000011", "1000");
  dial_.QueueAnswers({Approves(kCancelledFields), Approves(kCancelledFields)});
  EXPECT_TRUE(Undo(3));

  const std::vector<StringList> requests = CncRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Value("003-000 "), " 1000");
  EXPECT_EQ(requests[0].Value("010-000 "), " REDEY");
  EXPECT_EQ(requests[0].Value("012-000 "), " DOC0000000011");
  EXPECT_EQ(requests[0].Value("022-000 "), " 07122026");
  EXPECT_EQ(requests[0].Value("023-000 "), " 080000");
  EXPECT_EQ(requests[1].Value("003-000 "), " 3000");
  EXPECT_EQ(requests[1].Value("012-000 "), " DOC0000000033");
  EXPECT_EQ(requests[1].Value("022-000 "), " ");
  EXPECT_EQ(Operations(kRootTefDial),
            (std::vector<std::string>{"ATV", "CNC", "ATV", "CNF", "ATV", "CNC", "ATV", "CNF"}));
  EXPECT_TRUE(Pending().empty());
}

TEST_F(CancelaPendenciaTest, PrintingArgumentsReachTheCancellationReceipt) {
  // Mode "F": the report opened with the context and report arguments 1 and 2.
  SavePending(1, "0000000011", "1000");
  dial_.QueueAnswers({Approves(kCancelledFields)});
  EXPECT_TRUE(CancelaPendencia("r1", "r2", "ctx", "x", 1, 0, "F", "std2", "std1"));
  EXPECT_NE(std::find(journal_.begin(), journal_.end(), "Relatorio_Gerencial_Imp(ctx|r1|r2||)"),
            journal_.end());

  // Mode "N": the standard printer gets its arguments 1 and 2 in that order
  // (another payment: the one above is cancelled for good).
  SavePending(1, "0000000012", "1000");
  journal_.clear();
  dial_.QueueAnswers({Approves(kCancelledFields)});
  EXPECT_TRUE(CancelaPendencia("r1", "r2", "ctx", "x", 1, 0, "N", "std2", "std1"));
  ASSERT_FALSE(journal_.empty());
  EXPECT_EQ(
      std::count_if(journal_.begin(), journal_.end(),
                    [](const std::string& entry) { return entry.rfind("ImprimePadrao(std1|std2|", 0) == 0; }),
      1);
  EXPECT_TRUE(Pending().empty());
}

TEST_F(CancelaPendenciaTest, CancellationThatKeepsFailingEndsTheRunWithFalse) {
  SavePending(1, "0000000011", "1000");
  SavePending(2, "0000000022", "2000");
  dial_.QueueAnswers({Approves(kCancelledFields), Approves(kRefused), Approves(kRefused)});
  EXPECT_FALSE(Undo(2));
  // First pass: copy 1 cancelled, copy 2 refused; second pass: copy 2 refused again, then the end.
  EXPECT_EQ(CncRequests().size(), 3u);
  EXPECT_EQ(Pending(), (std::vector<std::string>{"intpos.2"}));
  const std::vector<std::string> log = LogMessages();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Zul00500 - CancelaPendencia - pend\xEAncias n\xE3o canceladas: intpos.2");
}

TEST_F(CancelaPendenciaTest, CopiesTheCountDoesNotReachEndTheRun) {
  SavePending(1, "0000000011", "1000");
  SavePending(5, "0000000055", "5000");
  Put(dsDirPenTef + "intpos.abc", StringList{"001-000 = 0000000099"});
  dial_.QueueAnswers({Approves(kCancelledFields)});
  EXPECT_FALSE(Undo(3));
  EXPECT_EQ(CncRequests().size(), 1u);
  EXPECT_EQ(Pending(), (std::vector<std::string>{"intpos.5", "intpos.abc"}));
}

TEST_F(CancelaPendenciaTest, CountOfZeroWithPendingCopiesIsFalseWithoutTheManager) {
  SavePending(1, "0000000011", "1000");
  EXPECT_FALSE(Undo(0));
  EXPECT_TRUE(dial_.Requests().empty());
  EXPECT_EQ(Pending(), (std::vector<std::string>{"intpos.1"}));
}

TEST_F(CancelaPendenciaTest, ACopyWithoutSequenceIsRemovedByItsNameAndTheOthersAreStillRefunded) {
  SavePending(1, "0000000011", "1000");
  const StringList copy = Read(dsDirPenTef + "intpos.1");
  StringList without_sequence;
  for (const std::string& line : copy.lines())
    if (line.rfind("001-000", 0) != 0) without_sequence.Add(line);
  Put(dsDirPenTef + "intpos.1", without_sequence);
  SavePending(2, "0000000022", "2000");
  dial_.QueueAnswers({Approves(kCancelledFields), Approves(kCancelledFields)});

  EXPECT_TRUE(Undo(2));

  const std::vector<StringList> requests = CncRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Field("003-000 "), "1000");
  EXPECT_EQ(requests[1].Field("003-000 "), "2000");
  EXPECT_TRUE(Pending().empty());
}

TEST_F(CancelaPendenciaTest, AnAbsurdCountFromTheHostCostsNoMoreThanTheCopiesPresent) {
  SavePending(2, "0000000022", "2000");
  dial_.QueueAnswers({Approves(kCancelledFields)});
  FaultyFs recorder;
  platform::ScopedFileSystem scoped(recorder);
  EXPECT_TRUE(Undo(std::numeric_limits<std::int32_t>::max()));
  EXPECT_EQ(CncRequests().size(), 1u);
  EXPECT_LT(recorder.count(testing::FsOp::FileExists), 100);
}

} // namespace
} // namespace zul00500
