// What the simulated manager writes for a cancellation request, read back the
// way the package reads it.
#include "tefsim/answers.h"

#include "platform/date_time.h"
#include "tefsim/scenario.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tefsim {
namespace {

using zul00500::StringList;

const StringList kCancellation{"000-000 = CNC",
                               "001-000 = 0347520099",
                               "003-000 = 1000",
                               "004-000 = 0",
                               "010-000 = REDEX",
                               "012-000 = 000042",
                               "022-000 = ",
                               "023-000 = ",
                               "701-000 = Quintar v5, 55, 1, 0",
                               "706-000 = 2",
                               "716-000 = VELTRAN SOFTWARE LTDA.",
                               "999-999 = 0"};

Transaction Facts() {
  return {"REDEX", "000043", zul00500::platform::encode_date_time({2026, 12, 7, 9, 1, 2, 0})};
}

// The behaviour a scenario gives the first "CNC" request.
Behaviour BehaviourOf(const char* text) {
  tefsim::Scenario scenario;
  scenario.add_text(text, "test");
  return scenario.behaviour_for("CNC", 1);
}

TEST(TefsimCancellationTest, ApprovalEchoesHeaderAndSequenceAndCarriesReceiptLines) {
  const StringList answer = cancellation_answer(kCancellation, {}, Facts());
  ASSERT_GE(answer.Count(), 2u);
  EXPECT_EQ(answer[0], "000-000 = CNC");
  EXPECT_EQ(answer[1], "001-000 = 0347520099");
  EXPECT_EQ(answer.Field("009-000 "), "0");
  EXPECT_EQ(answer.Field("010-000 "), "REDEX");
  EXPECT_EQ(answer.Field("012-000 "), "000043");
  EXPECT_EQ(answer.Field("028-000 "), "6");
  EXPECT_EQ(answer.Field("029-005 "), "\"VALOR R$ 10,00\"");
  EXPECT_EQ(answer.Field("029-006 "), "\"CANCELAMENTO OK\"");
  EXPECT_EQ(answer.Field("030-000 "), "CANCELAMENTO OK");
  EXPECT_EQ(answer[answer.Count() - 1], "999-999 = 0");
}

TEST(TefsimCancellationTest, RefusalAndApprovalWithoutReceiptHaveNoReceiptLines) {
  const StringList refused = cancellation_answer(kCancellation, BehaviourOf("CNC: refuse"), Facts());
  EXPECT_EQ(refused.Field("009-000 "), "05");
  EXPECT_EQ(refused.Field("028-000 "), "0");
  EXPECT_EQ(refused.Field("029-001 "), "");
  EXPECT_EQ(refused.Field("030-000 "), "CANCELAMENTO NEGADO");

  const StringList bare = cancellation_answer(kCancellation, BehaviourOf("CNC: approve-no-receipt"), Facts());
  EXPECT_EQ(bare.Field("009-000 "), "0");
  EXPECT_EQ(bare.Field("028-000 "), "0");
  EXPECT_EQ(bare.Field("029-001 "), "");
}

TEST(TefsimCancellationTest, ScenarioMessageAndErrorAnswer) {
  const StringList blank = cancellation_answer(kCancellation, BehaviourOf("CNC: message"), Facts());
  EXPECT_EQ(blank.Value("030-000 "), " ");
  const StringList error = cancellation_answer(kCancellation, BehaviourOf("CNC: error"), Facts());
  EXPECT_EQ(error[0], "000-000 = XXX");
  EXPECT_EQ(error[1], "001-000 = 0347520099");
}

TEST(TefsimCancellationTest, PlanIsStatusThenAnswerOrStatusOnlyWhenTheAnswerIsSilent) {
  const std::vector<Step> steps = plan_answer(kCancellation, {}, Facts());
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].name, kStatusName);
  EXPECT_EQ(steps[0].lines[0], "000-000 = CNC");
  EXPECT_EQ(steps[1].name, kAnswerName);
  EXPECT_EQ(steps[1].lines, cancellation_answer(kCancellation, {}, Facts()));
  EXPECT_TRUE(has_answer_file("CNC"));

  const std::vector<Step> silent = plan_answer(kCancellation, BehaviourOf("CNC: answer-silent"), Facts());
  ASSERT_EQ(silent.size(), 1u);
  EXPECT_EQ(silent[0].name, kStatusName);
}

// The package leaves a cancellation answer it turned down where it is, so
// the right one must not wait for it to be taken away.
TEST(TefsimCancellationTest, AnswerOfAnotherSequenceIsReplacedWithoutWaitingForPickup) {
  const std::vector<Step> steps = plan_answer(kCancellation, BehaviourOf("CNC: other-sequence-first"), Facts());
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1].name, kAnswerName);
  EXPECT_EQ(steps[1].lines[0], "000-000 = CNC");
  EXPECT_NE(steps[1].lines[1], "001-000 = 0347520099");
  EXPECT_EQ(steps[2].name, kAnswerName);
  EXPECT_EQ(steps[2].lines[1], "001-000 = 0347520099");
  EXPECT_FALSE(steps[2].after_pickup);
  EXPECT_GT(steps[2].delay_ms, 0u);
}

} // namespace
} // namespace tefsim
