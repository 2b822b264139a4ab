// Closing a transaction at its manager: confirmation ("CNF") or
// non-confirmation ("NCN") of an answer, and the notice to the operator when
// a transaction was not confirmed.
#include "platform/file_system.h"
#include "support/input_lock.h"
#include "support/number_format.h"
#include "support/text.h"
#include "tef/exchange_file.h"
#include "tef/holder.h"
#include "tef/settlement.h"
#include "tef/settlement_journal.h"
#include "tef/store.h"
#include "tef/till_lock.h"
#include "zul00500/zul00500.h"

namespace zul00500 {

namespace {
constexpr const char* kLineBreak = "\r\n";
} // namespace

// An amount that is not a whole number of cents is shown as it came: the
// request carries no amount, and refusing to send it would leave the
// transaction open at the manager.
std::string SettlementAmountText(const StringList& answer) {
  const std::string cents = answer.Field("003-000 ");
  if (cents.empty()) return {};
  std::int32_t value = 0;
  if (TryStrToInt(cents, value)) return "Valor: " + FormatCurr(value / 100.0);
  LogCartao("Zul00500 - Valor inv\xE1lido no campo 003-000: " + cents);
  return "Valor: " + cents;
}

std::string NotConfirmedNotice(const StringList& answer, const std::string& amount) {
  const std::string document = answer.Field("012-000 ");
  std::string notice =
      MessageText("CANC_TRANS") + kLineBreak + MessageText("REDE") + answer.Field("010-000 ") + kLineBreak;
  if (!document.empty() && document != "0") notice += MessageText("DOC_NO") + document + kLineBreak;
  return notice + amount;
}

StringList SettlementRequest(const StringList& answer, const std::string& operation,
                             const std::string& sequence) {
  return {"000-000 = " + operation,
          "001-000 = " + sequence,
          "010-000 = " + answer.Field("010-000 "),
          "012-000 = " + answer.Field("012-000 "),
          "027-000 = " + answer.Field("027-000 "),
          "999-999 = 0"};
}

bool VerificaRetorno(const std::string& context, const StringList& answer, bool notConfirm,
                     const std::string& /*unused*/) {
  const TillLock till("VerificaRetorno", context);
  if (!till.Held()) return false;
  NewHolder();
  ReloadDirTef();

  if (NeedsNoConfirmation(answer)) {
    // Its own files only: emptying the directories would take other
    // transactions' answers before their non-confirmation.
    DeleteTransactionFiles(DirTef, answer.Field("001-000 "));
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
    amount = SettlementAmountText(answer);
  } else {
    operation = "CNF";
    LogCartao("Zul00500 - Transa\xE7\xE3o foi confirmada");
  }

  const std::string sequence = GetSequence();
  // Noted before the manager can see it: whatever stops the package from
  // here on, the next start knows whether the manager took it.
  const StringList request = SettlementRequest(answer, operation, sequence);
  try {
    SaveRequest(request, DirTef, [&] { NoteSettlementSent(request, answer.Field("001-000 ")); });
  } catch (...) {
    ForgetSettlement(request);
    throw;
  }

  if (!CheckGPAtivo(operation, sequence)) {
    ForgetSettlement(request);
    LogCartao("Zul00500 - Erro na funcao VerificaRetorno");
    return false;
  }
  // The manager has settled it: its stored answers go at once, before a log
  // line, a dialog or the caller's printing. A power cut that left them
  // would have the next scan send a second settlement.
  DeleteTransactionFiles(DirTef, answer.Field("001-000 "));
  LogCartao("Zul00500 - CheckGPAtivo - OK");
  if (notConfirm) {
    LogCartao("Zul00500 - Transa\xE7\xE3o com erro");
    stMensagem_Zul00500 = NotConfirmedNotice(answer, amount);
    ShowDialog(stMensagem_Zul00500, "N", tmInformacao, context, 0);
  }
  return true;
}

} // namespace zul00500
