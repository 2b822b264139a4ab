// What the simulated manager writes for a request: status files and sale
// answers read back the way the package reads them.
#include "tefsim/answers.h"

#include "platform/date_time.h"

#include <cstdio>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tefsim {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using zul00500::StringList;

const StringList kActivity{"000-000 = ATV", "001-000 = 0347520030", "999-999 = 0"};
const StringList kSale{
    "000-000 = CRT", "001-000 = 0347520031",           "003-000 = 123456", "004-000 = 0",
    "500-000 = 1",   "701-000 = Quintar v5, 55, 1, 0", "706-000 = 2",      "716-000 = VELTRAN SOFTWARE LTDA.",
    "999-999 = 0"};

Transaction SaleFacts() {
  return {"REDEX", "000042", zul00500::platform::encode_date_time({2026, 12, 7, 8, 5, 9, 0})};
}

Behaviour With(void (*change)(Behaviour&)) {
  Behaviour behaviour;
  change(behaviour);
  return behaviour;
}

// A receipt line as the package decodes it: trimmed, first and last
// character dropped.
std::string ReceiptLine(const StringList& answer, const std::string& name) {
  const std::string value = answer.Field(name);
  return value.size() < 2 ? std::string() : value.substr(1, value.size() - 2);
}

TEST(TefsimStatusFileTest, RepeatsTheRequestsHeaderAndSequence) {
  EXPECT_EQ(status_file(kActivity, {}), (StringList{"000-000 = ATV", "001-000 = 0347520030", "999-999 = 0"}));
  // The header is repeated as it came, not rebuilt from the field.
  const StringList odd{"000-000 =  CNF", "001-000 = 1"};
  EXPECT_EQ(status_file(odd, {})[0], "000-000 =  CNF");
}

TEST(TefsimStatusFileTest, Misbehaviours) {
  EXPECT_EQ(status_file(kActivity, With([](Behaviour& b) { b.status = StatusKind::WrongHeader; }))[0],
            "000-000 = ATV ");
  EXPECT_EQ(status_file(kActivity, With([](Behaviour& b) {
                          b.status = StatusKind::Header;
                          b.status_header = "000-000 = CRT";
                        }))[0],
            "000-000 = CRT");
  EXPECT_TRUE(status_file(kActivity, With([](Behaviour& b) { b.status = StatusKind::Empty; })).empty());
}

TEST(TefsimPlanTest, StatusOnlyOperationsGetOneStep) {
  for (const char* operation : {"ATV", "CNF", "NCN"}) {
    SCOPED_TRACE(operation);
    const StringList request{std::string("000-000 = ") + operation, "001-000 = 1", "999-999 = 0"};
    const std::vector<Step> steps = plan_answer(request, With([](Behaviour& b) { b.delay_ms = 700; }), {});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].name, "resp\\intpos.sts");
    EXPECT_EQ(steps[0].delay_ms, 700u);
    EXPECT_FALSE(steps[0].after_pickup);
  }
}

TEST(TefsimPlanTest, SilenceWritesNothingAndAnswerSilenceOnlyTheStatus) {
  EXPECT_THAT(plan_answer(kSale, With([](Behaviour& b) { b.silent = true; }), SaleFacts()), IsEmpty());
  const std::vector<Step> steps =
      plan_answer(kSale, With([](Behaviour& b) { b.answer_silent = true; }), SaleFacts());
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].name, "resp\\intpos.sts");
}

TEST(TefsimPlanTest, SaleGetsStatusThenAnswerAfterTheAnswerDelay) {
  const std::vector<Step> steps =
      plan_answer(kSale, With([](Behaviour& b) { b.answer_delay_ms = 1500; }), SaleFacts());
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].lines[0], "000-000 = CRT");
  EXPECT_EQ(steps[1].name, "resp\\intpos.001");
  EXPECT_EQ(steps[1].delay_ms, 1500u);
  EXPECT_EQ(steps[1].lines, sale_answer(kSale, {}, SaleFacts()));
}

TEST(TefsimPlanTest, AnswerOfAnotherSequenceComesFirstAndTheRightOneAfterPickup) {
  const std::vector<Step> steps =
      plan_answer(kSale, With([](Behaviour& b) { b.other_sequence_first = true; }), SaleFacts());
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1].name, "resp\\intpos.001");
  EXPECT_EQ(steps[1].lines[0], "000-000 = CRT");
  EXPECT_NE(steps[1].lines[1], "001-000 = 0347520031");
  EXPECT_NE(steps[1].lines.Field("001-000 "), "");
  EXPECT_FALSE(steps[1].after_pickup);
  EXPECT_EQ(steps[2].name, "resp\\intpos.001");
  EXPECT_EQ(steps[2].lines[1], "001-000 = 0347520031");
  EXPECT_TRUE(steps[2].after_pickup);
}

TEST(TefsimSaleAnswerTest, ApprovalCarriesWhatThePackageReads) {
  const StringList answer = sale_answer(kSale, {}, SaleFacts());
  EXPECT_EQ(answer[0], "000-000 = CRT");
  EXPECT_EQ(answer[1], "001-000 = 0347520031");
  EXPECT_EQ(answer.Field("003-000 "), "123456");
  EXPECT_EQ(answer.Field("009-000 "), "0");
  EXPECT_EQ(answer.Field("010-000 "), "REDEX");
  EXPECT_EQ(answer.Field("012-000 "), "000042");
  EXPECT_FALSE(answer.Field("013-000 ").empty());
  EXPECT_EQ(answer.Field("022-000 "), "07122026");
  EXPECT_EQ(answer.Field("023-000 "), "080509");
  EXPECT_EQ(answer.Field("030-000 "), "TRANSACAO APROVADA");
  EXPECT_EQ(answer.Field("709-000 "), "0");
  EXPECT_EQ(answer[answer.Count() - 1], "999-999 = 0");

  // The host is handed characters 13 to 23 of 027-000: the document number.
  const std::string f027 = answer.Field("027-000 ");
  ASSERT_GE(f027.size(), 23u);
  EXPECT_EQ(f027.substr(12, 11), "00000000042");
  // 748-000: the reader keeps nine characters of the value.
  EXPECT_GE(answer.Field("748-000 ").size(), 9u);

  const int count = std::stoi(answer.Field("028-000 "));
  ASSERT_GT(count, 0);
  for (int i = 1; i <= count + 1; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "029-%03d ", i);
    const std::string raw = answer.Field(name);
    if (i > count) {
      EXPECT_EQ(raw, "") << "a line beyond the count";
      break;
    }
    ASSERT_GE(raw.size(), 2u) << name;
    EXPECT_EQ(raw.front(), '"');
    EXPECT_EQ(raw.back(), '"');
  }
  EXPECT_EQ(ReceiptLine(answer, "029-005 "), "VALOR R$ 1234,56");
  EXPECT_EQ(ReceiptLine(answer, "029-003 "), "DOC 000042  AUT " + answer.Field("013-000 "));
}

TEST(TefsimSaleAnswerTest, ChequeAnswersWithItsOwnHeader) {
  StringList cheque = kSale;
  cheque[0] = "000-000 = CHQ";
  const StringList answer = sale_answer(cheque, {}, SaleFacts());
  EXPECT_EQ(answer[0], "000-000 = CHQ");
  EXPECT_EQ(ReceiptLine(answer, "029-002 "), "CONSULTA DE CHEQUE");
}

TEST(TefsimSaleAnswerTest, RefusalHasNoReceiptAndItsMessage) {
  const StringList answer =
      sale_answer(kSale, With([](Behaviour& b) { b.outcome = Outcome::Refuse; }), SaleFacts());
  EXPECT_EQ(answer[0], "000-000 = CRT");
  EXPECT_EQ(answer[1], "001-000 = 0347520031");
  EXPECT_EQ(answer.Field("009-000 "), "05");
  EXPECT_EQ(answer.Field("030-000 "), "TRANSACAO NEGADA");
  EXPECT_TRUE(answer.Value("028-000 ").empty());
  EXPECT_TRUE(answer.Value("029-001 ").empty());
}

TEST(TefsimSaleAnswerTest, ErrorAnswerIsXxxWithTheSequenceAndAReason) {
  const StringList answer = sale_answer(kSale, With([](Behaviour& b) {
                                          b.outcome = Outcome::Error;
                                          b.has_message = true;
                                          b.message = "GERENCIADOR OCUPADO";
                                        }),
                                        SaleFacts());
  EXPECT_EQ(answer, (StringList{"000-000 = XXX", "001-000 = 0347520031", "030-000 = GERENCIADOR OCUPADO",
                                "999-999 = 0"}));
}

TEST(TefsimSaleAnswerTest, ApprovalWithoutReceiptAndWithFurtherBlocks) {
  const StringList bare =
      sale_answer(kSale, With([](Behaviour& b) { b.outcome = Outcome::ApproveNoReceipt; }), SaleFacts());
  EXPECT_EQ(bare.Field("009-000 "), "0");
  EXPECT_EQ(bare.Field("028-000 "), "0");
  EXPECT_TRUE(bare.Value("029-001 ").empty());

  const StringList blocks = sale_answer(kSale, With([](Behaviour& b) {
                                          b.extra_blocks = {"710-000", "714-000"};
                                        }),
                                        SaleFacts());
  const int count = std::stoi(blocks.Field("028-000 "));
  EXPECT_EQ(blocks.Field("710-000 "), std::to_string(count + 1));
  EXPECT_EQ(ReceiptLine(blocks, "711-001 "), "VIA UNICA");
  EXPECT_EQ(ReceiptLine(blocks, "711-002 "), ReceiptLine(blocks, "029-001 "));
  EXPECT_EQ(ReceiptLine(blocks, "715-001 "), "VIA ESTABELECIMENTO");
  EXPECT_TRUE(blocks.Value("712-000 ").empty());
}

TEST(TefsimSaleAnswerTest, ScenarioEditsReplaceAddOmitAndRewriteLines) {
  const StringList answer = sale_answer(kSale, With([](Behaviour& b) {
                                          b.network = "ignored: the transaction names it";
                                          b.fields = {{"709-000", "1250"}, {"099-000", "novo"}};
                                          b.omitted = {"748-000", "013-000"};
                                          b.lines = {{2, "001-000=0347520031"}};
                                        }),
                                        SaleFacts());
  EXPECT_EQ(answer.Field("709-000 "), "1250");
  EXPECT_EQ(answer[answer.Count() - 2], "099-000 = novo");
  EXPECT_EQ(answer[answer.Count() - 1], "999-999 = 0");
  EXPECT_TRUE(answer.Value("748-000 ").empty());
  EXPECT_TRUE(answer.Value("013-000 ").empty());
  EXPECT_EQ(answer[1], "001-000=0347520031");
  EXPECT_EQ(answer.Field("010-000 "), "REDEX");
}

TEST(TefsimAnswersTest, EachRootHasItsOwnNetwork) {
  EXPECT_EQ(default_network("c:\\tef_disc\\"), "TECBAN");
  EXPECT_EQ(default_network("C:\\TEF_DISC\\"), "TECBAN");
  EXPECT_EQ(default_network("c:\\HiperTEF\\"), "HCard");
  EXPECT_EQ(default_network("c:\\tef_dial\\"), "REDEX");
  EXPECT_TRUE(has_answer_file("CRT"));
  EXPECT_TRUE(has_answer_file("CHQ"));
  EXPECT_FALSE(has_answer_file("ATV"));
  EXPECT_FALSE(has_answer_file("crt"));
}

} // namespace
} // namespace tefsim

namespace tefsim {
namespace {

// A huge answer for the memory benchmark: the bulk comes before the closing
// line, in the shape asked for, and only in the answer.
TEST(TefsimBulk, TheAnswerGrowsByTheBulkBeforeItsClosingLine) {
  Behaviour behaviour;
  behaviour.bulk_shape = 'f';
  behaviour.bulk_mb = 1;
  const std::vector<Step> steps = plan_answer(kSale, behaviour, SaleFacts());
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(step_bytes(steps[0]), steps[0].lines.Text());
  const std::string answer = step_bytes(steps[1]);
  EXPECT_EQ(answer.size(), steps[1].lines.Text().size() + 1024 * 1024);
  EXPECT_EQ(answer.substr(answer.size() - 14), "\n999-999 = 0\r\n");
  const std::string lines = steps[1].lines.Text();
  const std::size_t before_closing = lines.size() - 13;
  EXPECT_EQ(answer.substr(0, before_closing), lines.substr(0, before_closing));
}

} // namespace
} // namespace tefsim
