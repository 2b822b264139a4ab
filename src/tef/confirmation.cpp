// Closing a transaction at its manager: confirmation ("CNF") or
// non-confirmation ("NCN") of an answer, and the notice to the operator when
// a transaction was not confirmed.
#include "platform/file_system.h"
#include "support/number_format.h"
#include "support/text.h"
#include "tef/exchange_file.h"
#include "tef/holder.h"
#include "zul00500/zul00500.h"

namespace zul00500 {

namespace {

constexpr const char* kLineBreak = "\r\n";

// Answers the manager closes by itself: administrative ones, and sales that
// printed nothing. Only the exchange files are cleared.
bool needs_no_confirmation(const StringList& answer) {
  const std::string operation = answer.Field("000-000 ");
  return (answer.Field("009-000 ") == "FF" && operation == "ADM") ||
         (answer.Field("028-000 ") == "0" && operation == "CRT");
}

// "Valor: " and the amount of 003-000 in the regional currency format, or
// nothing when the answer carries no amount. A non-integer amount throws.
std::string amount_text(const StringList& answer) {
  const std::string cents = answer.Field("003-000 ");
  if (cents.empty()) return {};
  return "Valor: " + FormatCurr(StrToInt(cents, "field 003-000 of the answer") / 100.0);
}

// Tells the operator that the transaction was cancelled, with its network,
// document number (when there is one) and amount.
void show_cancellation_notice(const StringList& answer, const std::string& amount,
                              const std::string& context) {
  const std::string document = answer.Field("012-000 ");
  std::string& notice = stMensagem_Zul00500;
  notice =
      MessageText("CANC_TRANS") + kLineBreak + MessageText("REDE") + answer.Field("010-000 ") + kLineBreak;
  if (!document.empty() && document != "0") notice += MessageText("DOC_NO") + document + kLineBreak;
  notice += amount;
  host().Mensagem(stMensagem_Zul00500, "", "N", "N", tmInformacao, "", context, 0, nullptr);
}

} // namespace

bool VerificaRetorno(const std::string& context, const StringList& answer, bool notConfirm,
                     const std::string& /*unused*/) {
  NewHolder();
  ReloadDirTef();

  if (needs_no_confirmation(answer)) {
    DeleteIntPosFiles(DirTef + "resp\\", "");
    DeleteIntPosFiles(dsDirBkpTef, "");
    return true;
  }

  const std::string network = answer.Field("010-000 ");
  if (network.empty()) return false;
  DefineDirTefRede(network);

  platform::FileSystem& fs = platform::fs();
  fs.remove_file(DirTef + "resp\\intpos.001");
  fs.remove_file(DirTef + "resp\\intpos.sts");
  fs.remove_file(dsDirBkpTef + "intpos.001");
  fs.remove_file(dsDirBkpTef + "intpos.sts");

  // The request goes out even when the manager does not answer this check:
  // it may be back by the time it reads the request.
  CheckGPAtivo("ATV", GetSequence());

  std::string operation;
  std::string amount;
  if (notConfirm) {
    LogCartao("Zul00500 - Transa\xE7\xE3o n\xE3o foi confirmada");
    operation = "NCN";
    amount = amount_text(answer);
  } else {
    operation = "CNF";
    LogCartao("Zul00500 - Transa\xE7\xE3o foi confirmada");
  }

  const std::string sequence = GetSequence();
  StringList request;
  request.Add("000-000 = " + operation);
  request.Add("001-000 = " + sequence);
  request.Add("010-000 = " + network);
  request.Add("012-000 = " + answer.Field("012-000 "));
  request.Add("027-000 = " + answer.Field("027-000 "));
  request.Add("999-999 = 0");
  SaveRequest(request, DirTef);

  if (!CheckGPAtivo(operation, sequence)) {
    LogCartao("Zul00500 - Erro na funcao VerificaRetorno");
    return false;
  }
  LogCartao("Zul00500 - CheckGPAtivo - OK");
  if (notConfirm) {
    LogCartao("Zul00500 - Transa\xE7\xE3o com erro");
    show_cancellation_notice(answer, amount, context);
  }
  return true;
}

} // namespace zul00500
