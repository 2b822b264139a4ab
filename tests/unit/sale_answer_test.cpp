// What an accepted sale answer gives the host: results, receipts, totals,
// partial payments and the operator's message.
#include <gtest/gtest.h>

#include "platform/regional.h"
#include "support/dialog_expectations.h"
#include "support/errors.h"
#include "support/manager_folders.h"
#include "support/sale_world.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/network_choice.h"
#include "tef/settlement/journal.h"

namespace zul00500 {
namespace {

using testing::Approval;
using testing::Approves;
using testing::Block;
using testing::Fields;
using testing::SaleWorld;
using testing::StatusReply;

using testing::kDialResp;

class SaleAnswerTest : public SaleWorld {
protected:
  std::vector<std::string> Backups() { return Names(dsDirBkpTef + "intpos.*"); }
  std::vector<std::string> Pending() { return Names(dsDirPenTef + "intpos.*"); }
};

// --- total and partial payments ------------------------------------------------

TEST_F(SaleAnswerTest, TotalPaymentIsLeftUnconfirmedForThePrintingRun) {
  doValorTef = 5;
  transaction_ = 4;
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(100, 100));

  const StringList answer = Approval(SaleRequest());
  EXPECT_EQ(*receipts_, Block("1", answer));
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(transaction_, 5);
  EXPECT_DOUBLE_EQ(doTrocoTef, 100);
  EXPECT_DOUBLE_EQ(doValorTef, 105);
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CRT"}));
  EXPECT_EQ(Read(kDialResp + "intpos.001"), answer);
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.  1"}));
  EXPECT_TRUE(Pending().empty());
  EXPECT_EQ(LogCount("Rez00000 - Numero de transacoes = 5"), 1);
  EXPECT_EQ(LogCount("Rez00000 - VerificaRetorno - OK - pagamento total : 100"), 1);
}

TEST_F(SaleAnswerTest, PartialPaymentIsKeptPendingAndConfirmedAtOnce) {
  transaction_ = 2;
  dial_.QueueAnswers({Approves({{"003-000", "4000"}})});

  EXPECT_TRUE(Pay(40, 100));

  const StringList answer = Approval(SaleRequest(), {{"003-000", "4000"}});
  EXPECT_EQ(Pending(), (std::vector<std::string>{"intpos.3"}));
  EXPECT_EQ(Read(dsDirPenTef + "intpos.3"), answer);
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CRT", "ATV", "CNF"}));
  EXPECT_EQ(LastRequest(kRootTefDial).Field("012-000 "), "654321");
  EXPECT_FALSE(Exists(kDialResp + "intpos.001"));
  EXPECT_TRUE(Backups().empty());
  EXPECT_EQ(*receipts_, Block("1", answer));
  EXPECT_EQ(transaction_, 3);
  EXPECT_DOUBLE_EQ(doValorTef, 40);
  EXPECT_EQ(LogCount("Rez00000 - VerificaRetorno - OK - pagamento parcial : 40"), 1);
}

TEST_F(SaleAnswerTest, PartialPaymentWhoseConfirmationFailsGivesNoReceipt) {
  transaction_ = 2;
  // Activity and sale acknowledged; the confirmation's activity check too,
  // the confirmation itself not.
  dial_.Script(
      {StatusReply::Acknowledge, StatusReply::Acknowledge, StatusReply::Acknowledge, StatusReply::Silent});
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(40, 100));

  EXPECT_TRUE(receipts_->empty());
  EXPECT_DOUBLE_EQ(doValorTef, 0);
  EXPECT_EQ(transaction_, 3);
  EXPECT_EQ(Pending(), (std::vector<std::string>{"intpos.3"}));
  // Left for the next scan or cancellation, with the note that the manager
  // took its confirmation: the next scan does not settle it again.
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.  1"}));
  EXPECT_EQ(ListSettlementNotes().size(), 1u);
  EXPECT_EQ(LogCount("Rez00000 - VerificaRetorno - OK - pagamento parcial : 40"), 0);
}

TEST_F(SaleAnswerTest, PartialPaymentOfAnotherNetworksRootIsClearedWhereTheSaleFoundIt) {
  // Paid through c:\tef_dial\, confirmed through c:\tef_disc\: left in the
  // sale's response directory, the next sale's scan would not-confirm it.
  dial_.QueueAnswers({Approves({{"010-000", "TECBAN"}})});

  EXPECT_TRUE(Pay(40, 100));

  EXPECT_EQ(Operations(kRootTefDisc), (std::vector<std::string>{"ATV", "CNF"}));
  EXPECT_FALSE(Exists(kDialResp + "intpos.001"));
  EXPECT_TRUE(Backups().empty());
  EXPECT_EQ(receipts_->Count(), Approval(SaleRequest(), {{"010-000", "TECBAN"}}).Count() + 1);

  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(60, 60));
  EXPECT_EQ(Operations(kRootTefDisc), (std::vector<std::string>{"ATV", "CNF"}));
}

struct RemainderCase {
  double amount;
  double due;
  bool partial;
};

class SaleRemainderTest : public SaleAnswerTest, public ::testing::WithParamInterface<RemainderCase> {};

TEST_P(SaleRemainderTest, PartialOnlyWhenAtLeastACentRemains) {
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(GetParam().amount, GetParam().due));
  EXPECT_EQ(Pending().size(), GetParam().partial ? 1u : 0u);
  EXPECT_EQ(Exists(kDialResp + "intpos.001"), !GetParam().partial);
  EXPECT_EQ(receipts_->Count(), Approval(SaleRequest()).Count() + 1);
}

INSTANTIATE_TEST_SUITE_P(SaleRemainders, SaleRemainderTest,
                         ::testing::Values(RemainderCase{10.00, 10.01, true},
                                           RemainderCase{10.01, 10.01, false},
                                           RemainderCase{0.1 + 0.2, 0.3, false},
                                           RemainderCase{0.3, 0.1 + 0.2 + 0.01, true},
                                           RemainderCase{60, 50, false}, RemainderCase{99.999, 100, false}));

// --- answers that leave nothing to print -----------------------------------------

class SaleWithoutReceiptTest : public SaleAnswerTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SaleWithoutReceiptTest, ApprovesAndRemovesTheTransactionsFilesWithoutCounting) {
  doValorTef = 7;
  transaction_ = 2;
  dial_.QueueAnswers({Approves({{"028-000", GetParam()}})});

  EXPECT_TRUE(Pay(100, 100));

  EXPECT_TRUE(receipts_->empty());
  EXPECT_EQ(approved_, 0);
  EXPECT_EQ(transaction_, 2);
  EXPECT_DOUBLE_EQ(doValorTef, 7);
  EXPECT_DOUBLE_EQ(doTrocoTef, 0);
  EXPECT_FALSE(Exists(kDialResp + "intpos.001"));
  EXPECT_TRUE(Backups().empty());
  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CRT"}));
  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].withReceipt, 0);
}

INSTANTIATE_TEST_SUITE_P(SaleCounts, SaleWithoutReceiptTest, ::testing::Values("0", " 0 ", nullptr));

TEST_F(SaleAnswerTest, RefusalShowsTheManagersTextAndRemovesTheTransactionsFiles) {
  transaction_ = 1;
  dial_.QueueAnswers(
      {Approves({{"009-000", "51"}, {"028-000", nullptr}, {"030-000", "SALDO INSUFICIENTE"}})});

  EXPECT_FALSE(Pay(10, 10));

  ASSERT_EQ(host_->Calls().size(), 1u);
  EXPECT_EQ(host_->Calls()[0].text, "SALDO INSUFICIENTE");
  EXPECT_EQ(host_->Calls()[0].withReceipt, 0);
  EXPECT_EQ(host_->Calls()[0].context, "ctx");
  EXPECT_FALSE(Exists(kDialResp + "intpos.001"));
  EXPECT_TRUE(Backups().empty());
  EXPECT_TRUE(receipts_->empty());
  EXPECT_EQ(approved_, 0);
  EXPECT_EQ(transaction_, 1);
}

// --- the operator message ---------------------------------------------------------

TEST_F(SaleAnswerTest, MessageOfAnAnswerWithReceiptCarriesOneAndLetsAMessageRun) {
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(10, 10));
  ASSERT_EQ(host_->Calls().size(), 1u);
  testing::ExpectDialog(host_->Calls()[0], "TRANSACAO APROVADA", "N", 0, "ctx", 1);
  ASSERT_GE(events_.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(events_.end() - 2, events_.end()),
            (std::vector<std::string>{"dialog TRANSACAO APROVADA", "pump"}));
  EXPECT_EQ(LogCount("Rez00000 - Mostra mensagem de transa\xE7\xE3o aprovada."), 1);
}

TEST_F(SaleAnswerTest, NoMessageWithoutText) {
  dial_.QueueAnswers({Approves({{"030-000", "  "}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_TRUE(host_->Calls().empty());
  EXPECT_EQ(LogCount("Rez00000 - Mostra mensagem de transa\xE7\xE3o aprovada."), 0);
}

// --- values returned to the host -------------------------------------------------

TEST_F(SaleAnswerTest, ReturnsTheAnswersValues) {
  dial_.QueueAnswers({Approves()});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(document_, "654321");
  EXPECT_EQ(field013_, "AUT013");
  EXPECT_EQ(field027_, "0123456789X"); // characters 13 to 23
  EXPECT_EQ(field748_, "Z12345678");   // " Z12345678" of the raw value, trimmed
  EXPECT_DOUBLE_EQ(extra_, 1.5);
}

TEST_F(SaleAnswerTest, KeepsTheCallersValuesForFieldsTheAnswerLacks) {
  dial_.QueueAnswers({Approves({{"012-000", nullptr},
                                {"013-000", " "},
                                {"027-000", nullptr},
                                {"748-000", ""},
                                {"709-000", nullptr}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(document_, "doc");
  EXPECT_EQ(field013_, "f013");
  EXPECT_EQ(field027_, "f027");
  EXPECT_EQ(field748_, "f748");
  EXPECT_DOUBLE_EQ(extra_, 0);
}

struct SliceCase {
  const char* f027;
  const char* f748;
  const char* expected027;
  const char* expected748;
};

class SaleSliceTest : public SaleAnswerTest, public ::testing::WithParamInterface<SliceCase> {};

TEST_P(SaleSliceTest, TakesTheirCharacterRanges) {
  dial_.QueueAnswers({Approves({{"027-000", GetParam().f027}, {"748-000", GetParam().f748}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_EQ(field027_, GetParam().expected027);
  EXPECT_EQ(field748_, GetParam().expected748);
}

INSTANTIATE_TEST_SUITE_P(SaleSlices, SaleSliceTest,
                         ::testing::Values(SliceCase{"ABCDEFGHIJKL", "123456789012", "", "123456789"},
                                           SliceCase{"ABCDEFGHIJKLM", "12", "M", "12"},
                                           SliceCase{"  ABCDEFGHIJKLMNOPQRSTUVWXYZ0123  ", "   ABCDEFGHIJ",
                                                     "MNOPQRSTUVW", "ABCDEF"},
                                           SliceCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "A  B", "MNOPQRSTUVW",
                                                     "A  B"}));

struct ExtraCase {
  const char* text;
  char separator;
  double expected;
};

class SaleExtraTest : public SaleAnswerTest, public ::testing::WithParamInterface<ExtraCase> {};

TEST_P(SaleExtraTest, ReadsTheExtraAmountInTheRegionalFormat) {
  platform::RegionalSettings settings;
  settings.decimal_separator = GetParam().separator;
  settings.thousand_separator = GetParam().separator == '.' ? ',' : '.';
  platform::set_regional(settings);
  dial_.QueueAnswers({Approves({{"709-000", GetParam().text}})});
  EXPECT_TRUE(Pay(10, 10));
  EXPECT_DOUBLE_EQ(extra_, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(SaleAmounts, SaleExtraTest,
                         ::testing::Values(ExtraCase{"1250", ',', 12.5}, ExtraCase{"12,5", ',', 0.125},
                                           ExtraCase{"12.5", '.', 0.125}, ExtraCase{" -300 ", ',', -3},
                                           ExtraCase{"+5", ',', 0.05}, ExtraCase{"1E3", ',', 10}));

// --- answers that are not what they claim --------------------------------------------

struct MalformedCase {
  const char* field;
  const char* value;
  friend void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << c.field << " = " << (c.value ? c.value : "(missing)");
  }
};

class SaleMalformedAnswerTest : public SaleAnswerTest, public ::testing::WithParamInterface<MalformedCase> {};

TEST_P(SaleMalformedAnswerTest, FailsNamingTheFieldAndKeepsEverything) {
  doValorTef = 3;
  transaction_ = 2;
  dial_.QueueAnswers({Approves({{GetParam().field, GetParam().value}})});

  try {
    Pay(10, 10);
    ADD_FAILURE() << "no error";
  } catch (const ConvertError& error) {
    EXPECT_NE(error.object().find(GetParam().field), std::string::npos) << error.what();
  }

  EXPECT_EQ(LogMessages().back(), "Fim DoTEF ----");
  EXPECT_EQ(approved_, 0);
  EXPECT_EQ(transaction_, 2);
  EXPECT_DOUBLE_EQ(extra_, 0);
  EXPECT_DOUBLE_EQ(doTrocoTef, 0);
  EXPECT_DOUBLE_EQ(doValorTef, 3);
  EXPECT_EQ(document_, "doc");
  EXPECT_TRUE(receipts_->empty());
  EXPECT_TRUE(host_->Calls().empty());
  EXPECT_TRUE(Exists(kDialResp + "intpos.001"));
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.  1"}));
}

INSTANTIATE_TEST_SUITE_P(SaleFields, SaleMalformedAnswerTest,
                         ::testing::Values(MalformedCase{"003-000", "12,50"},
                                           MalformedCase{"003-000", nullptr},
                                           MalformedCase{"709-000", "12.5"}, MalformedCase{"709-000", "abc"},
                                           MalformedCase{"709-000", "1.250,00"},
                                           MalformedCase{"709-000", "inf"},
                                           MalformedCase{"028-000", "dois"}));

TEST_F(SaleAnswerTest, TheNextSaleNotConfirmsAMalformedAnswer) {
  dial_.QueueAnswers({Approves({{"709-000", "abc"}}), Approves()});
  EXPECT_THROW(Pay(10, 10), ConvertError);
  const std::string first = SaleRequest().Field("001-000 ");

  EXPECT_TRUE(Pay(10, 10));

  EXPECT_EQ(Operations(kRootTefDial), (std::vector<std::string>{"ATV", "CRT", "ATV", "NCN", "ATV", "CRT"}));
  EXPECT_NE(SaleRequest().Field("001-000 "), first);
  EXPECT_EQ(Backups(), (std::vector<std::string>{"intpos.  1"})); // the new sale's own
}

// --- the receipts list ---------------------------------------------------------------

TEST_F(SaleAnswerTest, ReceiptsGetANewListAndTheCallersOldOneIsLeftAlone) {
  const auto old = std::make_shared<StringList>(StringList{"1", "old receipt"});
  receipts_ = old;
  dial_.QueueAnswers({Approves()});

  EXPECT_TRUE(Pay(10, 10));

  EXPECT_NE(receipts_, old);
  EXPECT_EQ(*old, (StringList{"1", "old receipt"}));
  EXPECT_EQ(receipts_->lines().front(), "1");
}

TEST_F(SaleAnswerTest, ReceiptsAreEmptiedEvenWhenTheSaleFailsEarly) {
  receipts_ = std::make_shared<StringList>(StringList{"1", "old"});
  approved_ = 5;
  extra_ = 9;
  dial_.Script({StatusReply::Silent});
  EXPECT_FALSE(Pay(10, 10));
  ASSERT_TRUE(receipts_);
  EXPECT_TRUE(receipts_->empty());
  EXPECT_EQ(approved_, 0);
  EXPECT_DOUBLE_EQ(extra_, 0);
}

} // namespace
} // namespace zul00500
