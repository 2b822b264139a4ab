// Cancelling one transaction with the manager, and deleting the manager's
// answers of the transactions in the sale's receipts list.
#include "cancellation/cancellation.h"

#include <memory>

#include "cancellation/transaction_cancellation.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "printing/printing.h"
#include "printing/receipt_blocks.h"
#include "support/card_log.h"
#include "support/cleanup.h"
#include "support/errors.h"
#include "support/input_lock.h"
#include "support/outcome.h"
#include "support/problems.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/answer_wait.h"
#include "tef/exchange_file.h"
#include "tef/holder.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/receipts_list.h"
#include "tef/settlement/confirmation.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/store.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {

// Every receipt count is read before anything is shown, printed or
// deleted. An approved cancellation whose receipt cannot be printed gets
// its non-confirmation; then the error naming the field reaches the caller.
// When the manager does not take it, the answer stays for the next scan.
void CheckCountsOrNotConfirm(const StringList& answer, const std::string& context,
                             const std::string& copyChoice, std::int32_t printerType, Cleanup& cleanup) {
  try {
    CheckReceiptCounts(answer, copyChoice, printerType);
  } catch (const ConvertError&) {
    if (VerificaRetorno(context, answer, true, "")) AfterSettlement([&] { cleanup.Run(); });
    else cleanup.Dismiss();
    throw;
  }
}

// The answer is polled, not pumped for: a short pause keeps the machine the
// manager runs on free without giving the host's windows a turn.
constexpr std::uint32_t kPollMs = 50;
constexpr std::uint32_t kAfterReadMs = 450;
// A manager that took the request may ask its own operator questions before
// it answers; ten minutes leaves room for that and still lets a manager that
// went away be noticed.
constexpr std::uint64_t kAnswerBoundMs = 10 * 60 * 1000;

void send_cancellation_request(const std::string& root, const std::string& sequence,
                               const std::string& amount, const std::string& network,
                               const std::string& documentNumber, const std::string& field022,
                               const std::string& field023) {
  const StringList request{"000-000 = CNC",
                           "001-000 = " + sequence,
                           "003-000 = " + amount,
                           "004-000 = 0",
                           "010-000 = " + network,
                           "012-000 = " + documentNumber,
                           "022-000 = " + field022,
                           "023-000 = " + field023,
                           "701-000 = Quintar v5, 55, 1, 0",
                           "706-000 = 2",
                           "716-000 = VELTRAN SOFTWARE LTDA.",
                           "999-999 = 0"};
  SaveRequest(request, root);
}

// Keeps a numbered backup of every answer read.
void keep_backup(const StringList& answer) {
  WriteWorkingCopy(answer.Text());
  NumberWorkingCopy();
}

enum class Reply { Accepted, ErrorAnswer, Malformed, None };

// Waits for the manager's answer to `sequence`: the cancellation's own, or
// the manager's error answer "XXX" carrying its sequence, which is as final
// here as in a sale. None once the bound passed. Only a whole answer is read
// and backed up; one turned down is left for the manager to replace and not
// read again meanwhile. The bound is measured on the monotonic clock.
Reply wait_for_answer(StringList& answer, const std::string& root, const std::string& sequence,
                      const std::string& context) {
  const std::string path = root + "resp\\intpos.001";
  AnswerWatch watch;
  const platform::Stopwatch waited;
  while (waited.elapsed_ms() < kAnswerBoundMs) {
    const AnswerWatch::Look look =
        platform::fs().file_exists(path) ? watch.Take(path, answer) : AnswerWatch::Look::NotYet;
    if (look == AnswerWatch::Look::TooLarge && SetAsideTooLarge(root, sequence, context))
      return Reply::Malformed;
    if (look != AnswerWatch::Look::Whole) {
      platform::pause(kPollMs);
      continue;
    }
    keep_backup(answer);
    platform::pause(kAfterReadMs);
    if (IsAnswerTo(answer, "CNC", sequence)) return Reply::Accepted;
    if (answer[0] == "000-000 = XXX" && answer.Field("001-000 ") == sequence) return Reply::ErrorAnswer;
    watch.Reject();
  }
  return Reply::None;
}

} // namespace

bool CancelaTEF(const std::string& report1, const std::string& report2, const std::string& context,
                const std::string& copyChoice, std::int32_t /*position*/, std::int32_t transactionCount,
                std::int32_t printerType, const std::string& pendingSequence, const std::string& /*unused*/,
                const std::string& amount, const std::string& network, const std::string& documentNumber,
                const std::string& field022, const std::string& field023, const std::string& mode,
                const std::string& standard2, const std::string& standard1, bool printAndConfirm) {
  const TillLock till("CancelaTEF", context);
  if (!till.Held()) return false;
  bool settled = false;
  return CancelTransaction(report1, report2, context, copyChoice, transactionCount, printerType,
                           pendingSequence, amount, network, documentNumber, field022, field023, mode,
                           standard2, standard1, printAndConfirm, settled);
}

bool CancelTransaction(const std::string& report1, const std::string& report2, const std::string& context,
                       const std::string& copyChoice, std::int32_t transactionCount, std::int32_t printerType,
                       const std::string& pendingSequence, const std::string& amount,
                       const std::string& network, const std::string& documentNumber,
                       const std::string& field022, const std::string& field023, const std::string& mode,
                       const std::string& standard2, const std::string& standard1, bool printAndConfirm,
                       bool& settled) {
  settled = false;
  DefineDirTefRede(network);
  if (!CheckGPAtivo("ATV", GetSequence())) return false;

  // The conversation stays with this root, whatever a host handler run from
  // a wait does to DirTef.
  const std::string root = DirTef;
  const std::string sequence = GetSequence();
  send_cancellation_request(root, sequence, amount, network, documentNumber, field022, field023);
  if (!CheckGPAtivo("CNC", sequence)) return false;

  // Every exchange file of the cancellation goes, whatever happens, except
  // an approval no settlement was taken for (its backup could not be
  // written, the printer or the settlement failed): its answer stays for
  // the next scan, which settles it.
  bool needs_settlement = true;
  const SettlementsSince since;
  Cleanup cleanup([&root, &sequence, &needs_settlement, &since] {
    if (needs_settlement && !since.Any()) return;
    DeleteTransactionFiles(root, sequence);
    DeleteIntPosFiles(dsDirPenTef, sequence);
  });
  StringList answer;
  const Reply reply = wait_for_answer(answer, root, sequence, context);
  if (reply == Reply::None || reply == Reply::Malformed) {
    SetOutcome(reply == Reply::None ? RoutineOutcome::NotActive : RoutineOutcome::ManagerError);
    if (reply == Reply::None) {
      LogCartao("Zul00500 - CancelaTEF - sem resposta do gerenciador, sequencial " + sequence);
      TellOperator(MessageText("TimeOut"), context);
    }
    // An answer the manager may still be writing, or one past the limits
    // whose non-confirmation was not acknowledged, stays for the leftover
    // scan: only the package's own copies go, and the notes of what was
    // sent for it stay.
    cleanup.Dismiss();
    // The head of an answer past the limits whose "NCN" was not taken is
    // backed up for the scan: it stays (a taken "NCN" removed it already).
    if (reply == Reply::None) DeleteBackupCopies(sequence);
    DeleteIntPosFiles(dsDirPenTef, sequence);
    return false;
  }
  const std::string message = answer.Field("030-000 ");
  if (reply == Reply::ErrorAnswer) {
    if (!message.empty()) ShowManagerMessage(message, context, false);
    LogCartao("Zul00500 - CancelaTEF - erro do gerenciador, sequencial " + sequence);
    needs_settlement = false;
    SetOutcome(RoutineOutcome::ManagerError);
    cleanup.Run();
    return false;
  }
  const std::string count = answer.Field("028-000 ");
  if (printAndConfirm && !count.empty() && count != "0") {
    CheckCountsOrNotConfirm(answer, context, copyChoice, mode == "N" ? 0 : printerType, cleanup);
    if (!message.empty()) ShowManagerMessage(message, context, true);
    const bool printed = ImprCupom(report1, report2, context, copyChoice, answer, 2, transactionCount,
                                   printerType, true, true, mode, standard2, standard1);
    bool confirmed = false;
    {
      // A cut once the manager took the confirmation must not leave the
      // cancelled payment's pending copy for the next pending cancellation.
      const SettlementEndsPendingCopy ends(printed ? pendingSequence : std::string());
      confirmed = VerificaRetorno(context, answer, !printed, "");
    }
    // Not acknowledged, yet perhaps taken: then the payment is cancelled,
    // and its pending copy goes before the pending cancellation looks again.
    if (!confirmed) AfterSettlement([] { EndPendingCopiesOfTakenSettlements(); });
    settled = confirmed && printed;
    // Once the manager took it, what follows cannot make the cancellation an
    // error. Without a sequence the copy cannot be found by it, and an empty
    // one would take every pending copy: the caller that knows the copy
    // removes it.
    if (settled && !pendingSequence.empty())
      AfterSettlement([&] { DeleteIntPosFiles(dsDirPenTef, pendingSequence); });
    if (confirmed) {
      // Not printed, the cancellation was not confirmed but undone: the
      // payment stands, whatever the result says.
      if (printed) SetVerdict(answer, RoutineOutcome::CancelApproved, RoutineOutcome::CancelRefused);
      else SetOutcome(RoutineOutcome::NotPrinted);
      AfterSettlement([&] { cleanup.Run(); });
      return true;
    }
    // Its confirmation taken back, the cancellation is undone by the next
    // scan: the payment stands and the customer is not refunded. The
    // receipt is already out; the operator is told it does not count.
    if (ConfirmationWithdrawn(answer.Field("001-000 "))) {
      cleanup.Run();
      LogCartao("Zul00500 - CancelaTEF - cancelamento " + sequence + " sem confirma\xE7\xE3o: n\xE3o vale");
      SetOutcome(RoutineOutcome::Withdrawn);
      TellOperator(
          "O gerenciador n\xE3o recebeu a confirma\xE7\xE3o do cancelamento: ele ser\xE1 desfeito, "
          "o comprovante impresso n\xE3o vale e o cliente n\xE3o foi reembolsado. Cancele novamente.",
          context);
      return false;
    }
  } else {
    needs_settlement = false;
    SetVerdict(answer, RoutineOutcome::CancelApproved, RoutineOutcome::CancelRefused);
    if (!message.empty()) ShowManagerMessage(message, context, false);
  }
  // A settlement not acknowledged keeps the manager's outcome: the next scan
  // tells whether it was taken.
  cleanup.Run();
  return true;
}

void CancelaTEFs(bool /*unused*/) {
  const TillLock till("CancelaTEFs", "");
  till.Require();
  // Our own reference: DefineDirTefRede may run host code that replaces it.
  const std::shared_ptr<StringList> receipts = stlCuponsTEF;
  const std::int32_t count = inContCuponsTEF;
  if (count <= 0 || !receipts) return;
  StringList block;
  for (const std::int32_t i : MarkedBlocks(*receipts, count)) {
    CopyReceiptsBlock(*receipts, i, block);
    if (block.empty()) continue;
    const std::string sequence = block.Field("001-000 ");
    DefineDirTefRede(block.Field("010-000 "));
    // Without a sequence the deletion would take every transaction's answers.
    if (!sequence.empty()) DeleteIntPosFiles(DirTef + "resp\\", sequence);
  }
}

} // namespace zul00500
