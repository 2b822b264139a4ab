// The operator's way out of a sale's answer wait, which has no bound of its
// own: after two minutes without any new or changed file from the manager
// the operator is asked whether to keep waiting. No leaves everything for
// the next leftover scan; nothing is lost or settled twice.
#include <gtest/gtest.h>

#include "support/manager_folders.h"
#include "support/sale_world.h"
#include "support/string_list.h"
#include "tef/network_choice.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::SaleWorld;
using testing::WriteResponse;

using testing::kDialResp;
const char* const kQuestion = "Sem resposta do gerenciador. Continuar aguardando?";

class SaleWayOutTest : public SaleWorld {
protected:
  long Questions() const {
    long asked = 0;
    for (const MensagemCall& call : host_->Calls()) asked += call.text == kQuestion;
    return asked;
  }
};

TEST_F(SaleWayOutTest, AnOperatorWhoStopsWaitingEndsTheSaleAndTheNextScanSettlesTheLateAnswer) {
  StringList request;
  dial_.OnRequest([&](const StringList& taken) {
    if (taken.Field("000-000 ") == "CRT" && request.empty()) request = taken;
  });
  EXPECT_FALSE(Pay(10, 10));
  EXPECT_EQ(Questions(), 1);
  EXPECT_GE(clock_.elapsed_ms(), 2 * 60 * 1000);
  EXPECT_LT(clock_.elapsed_ms(), 2 * 60 * 1000 + 5000);
  EXPECT_EQ(approved_, 0);

  // The manager answers at last: the next sale does not confirm it.
  WriteResponse(kRootTefDial, "intpos.001", Approval(request, {{"012-000", "000700"}}));
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(5, 5));
  EXPECT_EQ(Settlements(), (std::vector<std::string>{"NCN 000700"}));
}

TEST_F(SaleWayOutTest, AnOperatorWhoKeepsWaitingIsAskedAgainAfterTwoMoreSilentMinutes) {
  host_->PushAnswer(true);
  host_->PushAnswer(true);
  clock_.at(5 * 60 * 1000, [this] { WriteResponse(kRootTefDial, "intpos.001", Approval(SaleRequest())); });
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(Questions(), 2);
  EXPECT_EQ(approved_, 1);
}

TEST_F(SaleWayOutTest, AnAnswerOfAnotherSequenceOrAMalformedSequenceLineDoesNotHoldTheTillForEver) {
  for (const char* sequence_line : {"001-000 = 0000000001", "001-000 =0347520046"}) {
    host_->ClearCalls();
    dial_.QueueAnswer([sequence_line](const StringList& request) {
      StringList answer = Approval(request, {{"009-000", "05"}});
      answer[1] = sequence_line;
      return answer;
    });
    dial_.AnswerEachRequestOnce();
    EXPECT_FALSE(Pay(10, 10)) << sequence_line;
    EXPECT_EQ(Questions(), 1) << sequence_line;
  }
}

TEST_F(SaleWayOutTest, AManagerStillWritingTheAnswerIsNotInterrupted) {
  // A slow writer: a line every minute, for five minutes.
  dial_.OnRequest([this](const StringList& request) {
    if (request.Field("000-000 ") != "CRT") return;
    const StringList answer = Approval(request);
    const std::string path = kDialResp + "intpos.001";
    platform::fs().write_file(path, "");
    for (std::size_t i = 0; i < answer.Count(); ++i) {
      const std::int64_t at =
          clock_.elapsed_ms() + 60'000 * static_cast<std::int64_t>(i * 5 / answer.Count());
      clock_.at(at, [path, line = answer[i]] { platform::fs().append_file(path, line + "\r\n"); });
    }
  });
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(Questions(), 0);
}

} // namespace
} // namespace zul00500
