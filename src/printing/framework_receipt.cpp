#include "printing/printing.h"
#include "printing/receipt_blocks.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {
const std::string kLineEnds = "\r\n\r\n\r\n";

class FrameworkJob {
public:
  FrameworkJob(const std::string& context, const std::string& copyChoice, const StringList& answer,
               std::int32_t copies, std::int32_t transactionCount, bool skipSaved)
      : context_(context), copy_choice_(copyChoice), answer_(answer), copies_(copies),
        transaction_count_(transactionCount), skip_saved_(skipSaved), guard_("ImprCupom_FrameWork", context) {
  }

  // Prints on the open voucher. False, with `handed_over` set, when the
  // operator asked to reprint the current receipt: that goes to a management
  // report.
  bool Run(bool& handed_over) {
    SavedReceipts saved;
    do {
      saved = PrintSavedReceipts(
          skip_saved_, transaction_count_, context_,
          [this](const StringList& answer, const std::string& path) { return PrintCopies(answer, path); },
          [this] { return RecoverSaved(); });
    } while (saved == SavedReceipts::Restart);
    if (saved == SavedReceipts::GiveUp || !result_) return false;
    if (PrintCopies(answer_, "the answer")) return true;
    if (AskPrinterQuestion(context_)) {
      FrameworkCommand(context_, "FechaCCD");
      handed_over = true;
    }
    return false;
  }

private:
  bool PrintCopies(const StringList& answer, const std::string& source) {
    if (result_)
      result_ = SendFrameworkCopies(
          answer, copies_,
          [&](std::int32_t copy) {
            if (copy == 1) return FirstCopyBlock(answer, copy_choice_, source);
            const ReceiptBlock extra = SecondCopyBlock(answer, source);
            return extra.lines > 0 ? extra : MainBlock(answer, source);
          },
          [this](const std::string& piece) { return FrameworkCommand(context_, "ImprimeCCD", piece); },
          kLineEnds);
    return result_;
  }

  // A yes after a saved receipt failed: wait for the manager, then start
  // over on a new voucher.
  SavedReceipts RecoverSaved() {
    if (!guard_.AwaitManager(answer_.Field("001-000 "))) return SavedReceipts::GiveUp;
    FrameworkCommand(context_, "FechaCCD");
    result_ = FrameworkCommand(context_, "AbreCCD");
    return guard_.Reopened(result_) ? SavedReceipts::Restart : SavedReceipts::GiveUp;
  }

  const std::string& context_;
  const std::string& copy_choice_;
  const StringList& answer_;
  const std::int32_t copies_;
  const std::int32_t transaction_count_;
  const bool skip_saved_;
  ReprintGuard guard_;
  bool result_ = true;
};
} // namespace

bool ImprCupom_FrameWork(const std::string& report1, const std::string& report2, const std::string& context,
                         const std::string& copyChoice, const StringList& answer, std::int32_t copies,
                         std::int32_t transactionCount, std::int32_t printerType, bool ownDocument,
                         bool skipSaved) {
  const TillLock till("ImprCupom_FrameWork", context);
  if (!till.Held()) return false;
  CheckReceiptCounts(answer, copyChoice, 29);
  dsDirPenTef = PendingDirectory();
  const auto on_report = [&] {
    return ImprCupomRG_FrameWork(report1, report2, context, answer, copies, transactionCount, printerType,
                                 ownDocument, skipSaved);
  };
  if (ownDocument) {
    // A cancellation the manager confirmed is printed on a report.
    if (answer.Text().find("CANCELAMENTO OK") != std::string::npos) return on_report();
    FrameworkCommand(context, "AbreCCD");
  } else if (FrameworkCommand(context, "UsaRG")) {
    return on_report();
  }
  bool handed_over = false;
  const bool result =
      FrameworkJob(context, copyChoice, answer, copies, transactionCount, skipSaved).Run(handed_over);
  if (handed_over) return on_report();
  if (ownDocument) FrameworkCommand(context, "FechaCCD");
  return result;
}

} // namespace zul00500
