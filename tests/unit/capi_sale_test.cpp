// A sale through the C interface, as a host written in another language pays
// one: the strings, numbers and lists it gets back, values too long for its
// buffers, and errors that end a routine with -1 instead of an exception.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tef/network_choice.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using ::testing::HasSubstr;

using CSaleTest = testing::CSaleWorld;

TEST_F(CSaleTest, TwoPaymentsThenTheReceiptsPrintedThroughCallbacks) {
  dial_.QueueAnswers({Approves({{"012-000", "000001"}}), Approves({{"012-000", "000002"}})});
  ZulList receipts = nullptr;

  ASSERT_EQ(Pay(40, 100, receipts), ZUL_TRUE) << LastError();
  ASSERT_NE(receipts, nullptr);
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(transaction_, 1);
  EXPECT_DOUBLE_EQ(extra_, 1.5);
  EXPECT_STREQ(document_, "000001");
  EXPECT_STREQ(f748_, "Z12345678");
  EXPECT_STREQ(f013_, "AUT013");
  EXPECT_STREQ(f027_, "0123456789X");
  const ZulList first = receipts;

  // The same variable for the next payment: a new list; the first stays the
  // host's, as it was, for the host to free.
  ASSERT_EQ(Pay(60, 60, receipts), ZUL_TRUE);
  EXPECT_NE(receipts, first);
  EXPECT_EQ(zul_ListFree(first), ZUL_TRUE);
  EXPECT_EQ(transaction_, 2);
  EXPECT_STREQ(document_, "000002");
  double paid = 0;
  ASSERT_EQ(zul_GetFloat("doValorTef", &paid), ZUL_TRUE);
  EXPECT_DOUBLE_EQ(paid, 100);
  char line[16];
  EXPECT_EQ(zul_ListGet(receipts, 0, line, sizeof line), 1);
  EXPECT_STREQ(line, "1");

  zulpos::PrinterConnection connection(printer_);
  EXPECT_EQ(::ImprCupons(receipts, 1, 2, 0, "", "", "ctx", "", "", "S", "F", "", "", paid), ZUL_TRUE);
  EXPECT_THAT(printer_.PaperText(), HasSubstr("VIA CLIENTE"));
  EXPECT_EQ(Operations(kRootTefDial).back(), "CNF");
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

// A host that keeps each payment's list (to cancel a payment later, to
// reprint it) finds every one as the payment left it: a later payment puts
// its own new list into the variable and leaves the earlier one alone. The
// host frees each list once; a list it freed is never handed back again.
TEST_F(CSaleTest, EveryPaymentHandsBackItsOwnListAndEarlierListsStayAsTheyWere) {
  dial_.QueueAnswers({Approves({{"012-000", "000001"}}), Approves({{"012-000", "000002"}}), Approves()});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(40, 100, receipts), ZUL_TRUE);
  const ZulList first = receipts;
  const int first_count = zul_ListCount(first);
  ASSERT_GT(first_count, 2);
  ASSERT_EQ(Pay(60, 60, receipts), ZUL_TRUE);
  ASSERT_NE(receipts, first);

  // The earlier payment's list still holds its own answer, whole.
  EXPECT_EQ(zul_ListCount(first), first_count);
  EXPECT_TRUE(Holds(first, "012-000 = 000001"));
  EXPECT_TRUE(Holds(receipts, "012-000 = 000002"));
  EXPECT_FALSE(Holds(receipts, "012-000 = 000001"));
  EXPECT_EQ(zul_ListFree(first), ZUL_TRUE);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);

  // Freed, then passed again: the freed handle is not looked at, and a new
  // list comes back.
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE) << LastError();
  char line[16];
  EXPECT_EQ(zul_ListGet(receipts, 0, line, sizeof line), 1);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

// The variable's earlier value is replaced, never read: one that holds no
// list at all (a host's uninitialised variable) is no error either.
TEST_F(CSaleTest, WhateverTheVariableHeldIsReplacedByANewList) {
  dial_.QueueAnswers({Approves()});
  int not_a_list = 0;
  ZulList receipts = reinterpret_cast<ZulList>(&not_a_list);
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE) << LastError();
  EXPECT_NE(receipts, reinterpret_cast<ZulList>(&not_a_list));
  EXPECT_GT(zul_ListCount(receipts), 0);
  EXPECT_EQ(not_a_list, 0);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

TEST_F(CSaleTest, AFailedPaymentHandsBackAnEmptyListAndLeavesTheEarlierOneAlone) {
  dial_.QueueAnswers({Approves(), Approves({{"009-000", "05"}})});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE);
  const ZulList list = receipts;
  EXPECT_GT(zul_ListCount(list), 0);
  const int count = zul_ListCount(list);
  EXPECT_EQ(Pay(10, 10, receipts), ZUL_FALSE);
  // The refused payment's own list is new and empty; the approved one's is
  // untouched.
  EXPECT_NE(receipts, list);
  EXPECT_EQ(zul_ListCount(receipts), 0);
  EXPECT_EQ(zul_ListCount(list), count);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
  EXPECT_EQ(zul_ListFree(list), ZUL_TRUE);
}

TEST_F(CSaleTest, AValueTooLongForItsBufferIsCutLoggedAndReportedButThePaymentStands) {
  const std::string document(40, '7');
  dial_.QueueAnswers({Approves({{"012-000", document.c_str()}})});
  ZulList receipts = nullptr;

  ASSERT_EQ(Pay(10, 10, receipts, 8), ZUL_TRUE);
  EXPECT_STREQ(document_, "7777777");
  EXPECT_EQ(approved_, 1);
  const std::string error = LastError();
  EXPECT_THAT(error, HasSubstr("DoTEF: documentNumber was cut to 7 of its 40 bytes"));
  EXPECT_THAT(error, HasSubstr("capacity of 41"));
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_TRUNCATED);
  EXPECT_EQ(LogMessages().back(),
            "Zul00500 - DoTEF - documentNumber cortado para 7 de 40 caracteres: " + document);
  // The next routine starts with a clean slate.
  char sequence[ZUL_SEQUENCE_CAPACITY];
  EXPECT_EQ(::GetSequence(sequence, sizeof sequence), ZUL_TRUE);
  EXPECT_EQ(LastError(), "");
  zul_ListFree(receipts);
}

TEST_F(CSaleTest, FieldsTheAnswerLacksKeepTheCallersValues) {
  dial_.QueueAnswers({Approves({{"013-000", nullptr}, {"748-000", nullptr}})});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE);
  EXPECT_STREQ(f013_, "f013");
  EXPECT_STREQ(f748_, "f748");
  EXPECT_STREQ(document_, "654321");
  zul_ListFree(receipts);
}

TEST_F(CSaleTest, AnErrorEndsWithMinusOneItsTextAndTheNewListStillHandedBack) {
  dial_.QueueAnswers({Approves({{"709-000", "12x"}})});
  ZulList receipts = nullptr;
  EXPECT_EQ(Pay(10, 10, receipts), ZUL_ERROR);
  EXPECT_THAT(LastError(), HasSubstr("DoTEF: "));
  EXPECT_THAT(LastError(), HasSubstr("12x"));
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_NUMBER);
  // The sale had made its list: the host owns it and frees it.
  ASSERT_NE(receipts, nullptr);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
  EXPECT_EQ(LogMessages().back(), "Fim DoTEF ----");
}

TEST_F(CSaleTest, BadArgumentsEndWithMinusOneBeforeAnythingHappens) {
  ZulList receipts = nullptr;
  EXPECT_EQ(::DoTEF("ctx", 10, 10, "C", &receipts, nullptr, &transaction_, &extra_, document_,
                    sizeof document_, f748_, sizeof f748_, f013_, sizeof f013_, f027_, sizeof f027_),
            ZUL_ERROR);
  EXPECT_THAT(LastError(), HasSubstr("\"approvedCount\""));
  EXPECT_EQ(Pay(10, 10, receipts, 0), ZUL_ERROR);
  EXPECT_THAT(LastError(), HasSubstr("\"documentNumber\": a capacity of 0 holds no text"));
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT);
  // Refused before the sale: the variable is left as it was.
  EXPECT_EQ(receipts, nullptr);
  EXPECT_TRUE(LogMessages().empty());
  EXPECT_TRUE(dial_.Requests().empty());
}

TEST_F(CSaleTest, PrintingWithoutPrinterOrWithAFailingHostProcedureEndsWithMinusOne) {
  dial_.QueueAnswers({Approves()});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE);
  EXPECT_EQ(::ImprCupons(receipts, 1, 1, 0, "", "", "ctx", "", "", "S", "F", "", "", 10), ZUL_ERROR);
  EXPECT_THAT(LastError(), HasSubstr("ImprCupons: call the printer procedure \"GravaDocumentosNaoFiscais\""));
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_NO_PRINTER_PROC);

  // The host's procedure fails (its journal cannot be written): the routine
  // ends with -1 naming it, and the answer stays for the next attempt.
  printer_.SetJournalFile(world_.root() + "/no-such-folder/journal.txt");
  zulpos::PrinterConnection connection(printer_);
  EXPECT_EQ(::ImprCupons(receipts, 1, 1, 0, "", "", "ctx", "", "", "S", "F", "", "", 10), ZUL_ERROR);
  EXPECT_THAT(LastError(),
              HasSubstr("call the host's \"GravaDocumentosNaoFiscais\": it reported a failure (-1)"));
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_CALLBACK);
  EXPECT_FALSE(Names(std::string(kRootTefDial) + "resp\\intpos.*").empty());
  zul_ListFree(receipts);
}

} // namespace
} // namespace zul00500
