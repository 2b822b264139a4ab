#include <gtest/gtest.h>

#include "support/host_services.h"
#include "support/scripted_host.h"
#include "tef/form.h"

namespace zul00500 {
namespace {

TEST(Trunc2, CutsTheDecimalValueNotTheBinaryOne) {
  EXPECT_DOUBLE_EQ(Trunc2(10.01 - 10.00), 0.01);
  EXPECT_DOUBLE_EQ(Trunc2(100.00 - 40.00 - 59.99), 0.01);
  EXPECT_DOUBLE_EQ(Trunc2(12.349), 12.34);
  EXPECT_DOUBLE_EQ(Trunc2(-12.349), -12.34);
  EXPECT_DOUBLE_EQ(Trunc2(0.0), 0.0);
  EXPECT_DOUBLE_EQ(Trunc2(1234567.899), 1234567.89);
}

TEST(Ajusta, PadsWithLeadingBlanksAndNeverCuts) {
  EXPECT_EQ(Ajusta("1", 3), "  1");
  EXPECT_EQ(Ajusta("12", 3), " 12");
  EXPECT_EQ(Ajusta("123", 3), "123");
  EXPECT_EQ(Ajusta("1234", 3), "1234");
  // Backup number 1 must never read as the working copy's extension.
  EXPECT_NE(Ajusta("1", 3), "001");
}

TEST(AjustaZero, PadsWithZeros) {
  EXPECT_EQ(AjustaZero("7", 10), "0000000007");
  EXPECT_EQ(AjustaZero("12345678901", 10), "12345678901");
  EXPECT_EQ(AjustaZero("5", 3), "005");
}

TEST(EmptyString, TrueOnlyForBlankText) {
  EXPECT_TRUE(EmptyString(""));
  EXPECT_TRUE(EmptyString("   "));
  EXPECT_FALSE(EmptyString(" x "));
}

TEST(Iif, ChoosesByCondition) {
  EXPECT_EQ(std::get<std::string>(iif(true, std::string("a"), std::string("b"))), "a");
  EXPECT_EQ(std::get<std::int64_t>(iif(false, std::int64_t{1}, std::int64_t{2})), 2);
}

class MessageTableTest : public ::testing::Test {
protected:
  TfrmCartaoDebito form;
};

TEST_F(MessageTableTest, HoldsTheFourteenEntriesInOrderByteExact) {
  const std::vector<std::string> expected = {
      "CART_DEB|Cart\xE3o de D\xE9"
      "bito",
      "CONS_CHEQUE|Consulta de Cheque",
      "FUNC_ADM|Fun\xE7\xF5"
      "es Administrativas",
      "GER_PDR_N_ATV|O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!",
      "GER_PDR_N_ATV2|O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo! Favor reativ\xE1-lo.",
      "CANCEL_TRANS|Cancelada a Transa\xE7\xE3o",
      "IMP_N_RESP|Impressora n\xE3o responde. Imprimir novamente?",
      "CARTAO_DEB|Cart\xE3o de D\xE9"
      "bito",
      "VALOR|Valor: ",
      "OPE_CANC|Opera\xE7\xE3o Cancelada.",
      "CANC_TRANS|Cancelada a Transa\xE7\xE3o",
      "DOC_NO|Doc No: ",
      "REDE|Rede: ",
      "TimeOut|Tempo de espera excedido! Favor realizar a transa\xE7\xE3o novamente.",
  };
  EXPECT_EQ(form.msgPadrao.Messages.lines(), expected);
}

TEST_F(MessageTableTest, KeysMatchWithoutRegardToCase) {
  EXPECT_EQ(form.msgPadrao.Msg("Imp_N_Resp"), "Impressora n\xE3o responde. Imprimir novamente?");
  EXPECT_EQ(form.msgPadrao.Msg("timeout"), form.msgPadrao.Msg("TimeOut"));
  // The trailing blank of a text is part of it.
  EXPECT_EQ(form.msgPadrao.Msg("VALOR"), "Valor: ");
}

TEST_F(MessageTableTest, UnknownKeyGivesEmptyText) { EXPECT_EQ(form.msgPadrao.Msg("NO_SUCH_KEY"), ""); }

TEST_F(MessageTableTest, FirstOfTwoEqualKeysWins) {
  form.msgPadrao.Messages.Add("rede|Other: ");
  EXPECT_EQ(form.msgPadrao.Msg("REDE"), "Rede: ");
}

class ScriptedHostTest : public ::testing::Test {
protected:
  ScriptedHostServices host;
  bool ask(const std::string& text) { return host.Mensagem(text, "", "N", "S", 3, "", "ctx", 0, nullptr); }
};

TEST_F(ScriptedHostTest, AnswersYesNoQuestionsInOrderThenNo) {
  host.PushAnswer(true);
  host.PushAnswer(false);
  host.PushAnswer(true);
  EXPECT_TRUE(ask("a"));
  EXPECT_FALSE(ask("b"));
  EXPECT_TRUE(ask("c"));
  EXPECT_FALSE(ask("d"));
  ASSERT_EQ(host.Calls().size(), 4u);
  EXPECT_EQ(host.Calls()[3].text, "d");
}

TEST_F(ScriptedHostTest, InformationDialogsUseNoAnswer) {
  host.PushAnswer(true);
  host.Mensagem("info", "", "N", "N", 0, "", "", 1, nullptr);
  EXPECT_TRUE(ask("question"));
  EXPECT_EQ(host.Calls()[0].withReceipt, 1);
}

} // namespace
} // namespace zul00500
