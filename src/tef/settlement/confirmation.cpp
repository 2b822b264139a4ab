// Closing a transaction at its manager: confirmation ("CNF") or
// non-confirmation ("NCN") of an answer, and the notice to the operator when
// a transaction was not confirmed.
#include "tef/settlement/confirmation.h"

#include <optional>

#include "platform/file_system.h"
#include "support/card_log.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/outcome.h"
#include "support/problems.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/exchange_file.h"
#include "tef/holder.h"
#include "tef/network_choice.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/request.h"
#include "tef/settlement/store.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {

// A settlement of this answer that the manager already took (its note says
// so, or this process saw it while no copy of the answer is left) is not
// sent again: nothing, not even a host's retry, settles a transaction twice.
// Its copies go. True when it stands as asked; false when the transaction
// was undone and a confirmation is asked: that can no longer be.
std::optional<bool> settled_before(const StringList& answer, bool notConfirm) {
  const std::string sequence = answer.Field("001-000 ");
  if (sequence.empty()) return std::nullopt;
  std::string previous = SettlementTaken(sequence);
  if (previous.empty()) {
    previous = SettledInThisProcess(sequence);
    if (!previous.empty() && AnswerStored(sequence)) previous.clear();
  }
  if (previous.empty()) return std::nullopt;
  const std::string asked = notConfirm ? "NCN" : "CNF";
  LogCartao("Zul00500 - " + previous + " da transa\xE7\xE3o " + sequence +
            " j\xE1 recebido pelo gerenciador; " + asked + " n\xE3o enviado");
  CountSettlementTaken();
  RememberSettled(sequence, previous);
  AfterSettlement([&] { RemoveSettledAnswer(sequence); });
  if (previous == "NCN") AfterSettlement([&] { RemoveUndonePendingCopy(sequence); });
  return !(previous == "NCN" && asked == "CNF");
}

} // namespace

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
  // A NUL would reach the manager inside its own request.
  if (const std::string field = CopiedFieldWithNul(answer); !field.empty()) {
    LogCartao("Zul00500 - Campo " + field + " com byte NUL; " + (notConfirm ? "NCN" : "CNF") +
              " n\xE3o enviado");
    return false;
  }
  // No manager serves a network whose root is missing: nothing can be sent.
  const std::string root = RootOfNetwork(network);
  if (!platform::fs().directory_exists(root)) {
    SetOutcome(RoutineOutcome::NoDirectory);
    LogCartao("Zul00500 - Rede " + network + " sem gerenciador: " + root + " n\xE3o existe");
    return false;
  }
  if (const std::optional<bool> result = settled_before(answer, notConfirm)) return *result;
  DefineDirTefRede(network);

  platform::FileSystem& fs = platform::fs();
  // Another transaction's answer there is left to the activity check, which
  // keeps an approval before it empties the directory.
  RemoveUnlessAnother(DirTef + "resp\\intpos.001", answer.Field("001-000 "));
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
  const std::string answerSequence = answer.Field("001-000 ");
  // Noted before the manager can see it: whatever stops the package from
  // here on, the next start knows whether the manager took it.
  const StringList request = SettlementRequest(answer, operation, sequence);
  try {
    // A request that could not take its name loses its note before its
    // temporary: a note left alone would say the manager took it.
    SaveRequest(
        request, DirTef, [&] { NoteSettlementSent(request, answerSequence); },
        [&] { ForgetSettlement(request); });
  } catch (...) {
    ForgetSettlement(request);
    throw;
  }

  CountSettlementSent();
  if (!CheckGPAtivo(operation, sequence)) {
    // A confirmation taken back leaves the transaction unconfirmed, for the
    // next scan to undo: its caller must not report it as standing.
    ForgetSettlementIfUntaken(request);
    // Taken back here, or already while the wait looked at the answer.
    if (!notConfirm && ConfirmationWithdrawn(answerSequence)) {
      SetOutcome(RoutineOutcome::Withdrawn);
      LogCartao("Zul00500 - CNF da transa\xE7\xE3o " + answerSequence +
                " n\xE3o recebido pelo gerenciador e retirado; a transa\xE7\xE3o ser\xE1 desfeita");
    }
    // The manager may have taken it: a log that cannot be written must not
    // turn a transaction that may stand into an error.
    LogSettled("Zul00500 - Erro na funcao VerificaRetorno");
    return false;
  }
  // The manager has settled it. Its stored answers go at once, before a log
  // line, a dialog or the caller's printing: a power cut that left them
  // would have the next scan send a second settlement. Nothing from here on
  // turns the settlement into an error.
  CountSettlementTaken();
  RememberSettled(answerSequence, operation);
  AfterSettlement([&] { RemoveSettledAnswer(answerSequence); });
  if (notConfirm) AfterSettlement([&] { RemoveUndonePendingCopy(answerSequence); });
  LogSettled("Zul00500 - CheckGPAtivo - OK");
  if (notConfirm) {
    LogSettled("Zul00500 - Transa\xE7\xE3o com erro");
    stMensagem_Zul00500 = NotConfirmedNotice(answer, amount);
    AfterSettlement([&] { ShowDialog(stMensagem_Zul00500, "N", tmInformacao, context, 0); });
  }
  return true;
}

} // namespace zul00500
