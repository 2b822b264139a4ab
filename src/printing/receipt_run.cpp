// ImprCupons: the sale's receipt printing run. Opens the document once, then
// confirms, prints, closes and cleans up each receipt of the receipts list.
#include <optional>

#include "printing/printer.h"
#include "printing/printing.h"
#include "printing/receipt_blocks.h"
#include "printing/receipt_run.h"
#include "support/card_log.h"
#include "support/cleanup.h"
#include "support/errors.h"
#include "support/input_lock.h"
#include "support/outcome.h"
#include "support/problems.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/activity_check.h"
#include "tef/exchange_read.h"
#include "tef/holder.h"
#include "tef/leftover_scan.h"
#include "tef/network_choice.h"
#include "tef/receipts_list.h"
#include "tef/settlement/confirmation.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/store.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {

// Non-confirmations sent again after a refused one. An answer the manager
// can never take (one without network name) would otherwise hold the run
// forever.
constexpr int kMaxNonConfirmationRepeats = 3;

// The end of the run, on every path: the closing log line and, when the
// sale is settled, the pending directory emptied.
class RunEnd {
public:
  RunEnd() = default;
  RunEnd(const RunEnd&) = delete;
  RunEnd& operator=(const RunEnd&) = delete;
  ~RunEnd() {
    if (finished_) return;
    // An error is on its way to the host; it must not be replaced.
    try {
      Finish();
    } catch (...) {
    }
  }

  void Finish() {
    finished_ = true;
    // Once the manager took a settlement, a log that cannot be written does
    // not make the run an error that the host would retry.
    if (settled_.Any()) LogSettled("Zul00500 - ImprCupons fim");
    else LogCartao("Zul00500 - ImprCupons fim");
    // A failed last print keeps the saved receipts for a reprint.
    if (gaveUp || confirmationFailed || lastPrint == true) EmptyPendingDirectoryAfterPrinting();
  }

  bool gaveUp = false;
  bool confirmationFailed = false;
  std::optional<bool> lastPrint;

private:
  bool finished_ = false;
  SettlementsSince settled_;
};

// Confirms the answer, or not when the printer is not ready. A refusal makes
// the printer not ready and is followed by non-confirmations until one is
// taken. False when the bound ran out: the answer stays for the next scan.
bool SettleAnswer(const std::string& context, const StringList& answer, bool& ready, RunEnd& end) {
  if (VerificaRetorno(context, answer, !ready, "S")) return true;
  ready = false;
  end.confirmationFailed = true;
  // The run ends with 0 for what the manager did with the confirmation, not
  // for the non-confirmation it took afterwards.
  const OutcomeRecord why = LastOutcome();
  for (int repeat = 1; repeat <= kMaxNonConfirmationRepeats; ++repeat)
    if (VerificaRetorno(context, answer, true, "S")) {
      SetOutcome(why.outcome, why.networkCode);
      return true;
    }
  LogCartao("Zul00500 - ImprCupons - transa\xE7\xE3o " + answer.Field("001-000 ") +
            " n\xE3o confirmada ap\xF3s " + std::to_string(kMaxNonConfirmationRepeats + 1) +
            " tentativas; resposta mantida para a pr\xF3xima verifica\xE7\xE3o");
  TellOperator(MessageText("TimeOut"), context);
  return false;
}

// The run's record of the sale's payments (support/outcome.h): the earlier
// partial payments from their pending copies, before the run ends them, and
// the receipts list's. None is printed yet. A copy that cannot be read is
// left out of the record, not made the run's error.
void RecordSalePayments(const StringList& receipts, std::int32_t receiptCount,
                        std::int32_t transactionCount) {
  std::vector<RunPayment>& payments = RunPayments();
  payments.clear();
  for (std::int32_t n = 1; n < transactionCount; ++n) {
    try {
      const std::optional<std::string> text = ReadIfThere(dsDirPenTef + "intpos." + std::to_string(n));
      if (text) payments.push_back({WholeLines(*text), false});
    } catch (const Error&) {
    }
  }
  for (const std::int32_t n : MarkedBlocks(receipts, receiptCount)) {
    RunPayment payment;
    CopyReceiptsBlock(receipts, n, payment.answer);
    if (!payment.answer.empty()) payments.push_back(std::move(payment));
  }
}

// A receipt printed whole: its own and the saved receipts printed before it.
void RecordPrinted(const std::string& sequence) {
  for (RunPayment& payment : RunPayments()) {
    payment.printed = true;
    if (payment.answer.Field("001-000 ") == sequence) break;
  }
}

// Removes the transaction's answer files from its manager's answer directory
// and from the backup directory.
void RemoveAnswerFiles(const StringList& answer) {
  DefineDirTefRede(answer.Field("010-000 "));
  DeleteTransactionFiles(DirTef, answer.Field("001-000 "));
}

} // namespace

bool ImprCupons(const StringList& receipts, std::int32_t receiptCount, std::int32_t transactionCount,
                std::int32_t printerType, const std::string& voucher1, const std::string& voucher2,
                const std::string& context, const std::string& report1, const std::string& report2,
                const std::string& copyChoice, const std::string& mode, const std::string& standard2,
                const std::string& standard1, double amount) {
  const TillLock till("ImprCupons", context);
  if (!till.Held()) return false;
  LogCartao("Zul00500 - ImprCupons inicio");
  if (mode == "N") printerType = 0;
  RecordSalePayments(receipts, receiptCount, transactionCount);
  if (receipts.empty()) {
    // The sale's last payment printed nothing. Its earlier partial payments
    // stand confirmed: their saved copies go, as at the end of every run,
    // or the next pending cancellation would undo a sale that is paid.
    if (transactionCount > 1) EmptyPendingDirectoryAfterPrinting();
    LogCartao("Zul00500 - ImprCupons fim");
    return true;
  }

  const bool fiscal = mode == "F";
  RunEnd end;
  // The fiscal printer's record of the voucher carries the serial number.
  if (fiscal) LoadSerialNumber(*Holder());
  bool ready = true;
  bool result = true;
  if (fiscal) {
    ready = OpenRunDocument({printerType, context, voucher1, voucher2, report1, report2, amount});
    if (ready)
      CallPrinter("GravaDocumentosNaoFiscais", GravaDocumentosNaoFiscais, stNrSerie, context, "CC", "", "");
  }
  if (!ready) {
    // Nothing will be printed: every answer still waiting is not confirmed.
    end.gaveUp = true;
    CheckIntPosFiles(context, true);
    SetOutcome(RoutineOutcome::NotPrinted);
    end.Finish();
    return false;
  }

  StringList answer;
  for (const std::int32_t n : MarkedBlocks(receipts, receiptCount)) {
    CopyReceiptsBlock(receipts, n, answer);
    if (answer.empty()) continue;
    // A receipt that cannot be printed is refused before its transaction is
    // confirmed; it stays for the next scan's non-confirmation.
    if (ready) CheckReceiptCounts(answer, copyChoice, printerType);
    CheckGPAtivo("ATV", GetSequence());
    const bool settled = SettleAnswer(context, answer, ready, end);
    if (!ready) result = false;
    // Once settled, its files go also when printing fails with an error: a
    // confirmed transaction left there would get the next scan's
    // non-confirmation.
    std::optional<Cleanup> removal;
    if (settled) removal.emplace([&answer] { AfterSettlement([&answer] { RemoveAnswerFiles(answer); }); });

    std::optional<bool> printed;
    if (ready) {
      printed = ImprCupom(report1, report2, context, copyChoice, answer, 2, transactionCount, printerType,
                          false, false, mode, standard2, standard1);
      end.lastPrint = printed;
      if (*printed) RecordPrinted(answer.Field("001-000 "));
      if (fiscal) CloseRunDocument(context, printerType, true);
    }
    if (removal) removal->Run();
    if (printed == false) {
      SetOutcome(RoutineOutcome::NotPrinted);
      result = false;
      break;
    }
    if (transactionCount > 1) EmptyPendingDirectoryAfterPrinting();
  }

  if (fiscal) CloseRunDocument(context, printerType, false);
  end.Finish();
  return result;
}

} // namespace zul00500
