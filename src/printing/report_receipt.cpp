#include "printing/printer.h"
#include "printing/printing.h"
#include "printing/receipt_blocks.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {
const std::string kZero;
const std::string kSavedClosing = "\r\n\r\n\r\n\r\n\r\n\r\n";
const std::string kCurrentClosing = "\r\n\r\n\r\n";

class ReportJob {
public:
  ReportJob(const std::string& report1, const std::string& report2, const std::string& context,
            const StringList& answer, std::int32_t copies, std::int32_t transactionCount, bool skipSaved)
      : report1_(report1), report2_(report2), context_(context), answer_(answer), copies_(copies),
        transaction_count_(transactionCount), skip_saved_(skipSaved),
        guard_("ImprCupomRG_FrameWork", context) {}

  bool Run() {
    for (;;) {
      SavedReceipts saved;
      do {
        saved = PrintSavedReceipts(
            skip_saved_, transaction_count_, context_,
            [this](const StringList& answer, const std::string& path) {
              return PrintCopies(answer, path, kSavedClosing);
            },
            [this] { return RecoverSaved(); });
      } while (saved == SavedReceipts::Restart);
      if (saved == SavedReceipts::GiveUp || !result_) return false;
      if (PrintCopies(answer_, "the answer", kCurrentClosing)) return true;
      if (!RecoverCurrent()) return false;
    }
  }

private:
  bool PrintCopies(const StringList& answer, const std::string& source, const std::string& closing) {
    const ReceiptBlock block = MainBlock(answer, source);
    if (result_)
      result_ = SendFrameworkCopies(
          answer, copies_, [&](std::int32_t) { return block; },
          [](const std::string& piece) { return CallPrinter("Usa_CompNFis", Usa_CompNFis, kZero, piece); },
          closing);
    return result_;
  }

  bool Reopen() {
    CloseManagementReport(context_);
    return OpenManagementReport(context_, report1_, report2_);
  }

  // A yes after a saved receipt failed: wait for the manager, then start
  // over on a new report.
  SavedReceipts RecoverSaved() {
    if (!guard_.AwaitManager(answer_.Field("001-000 "))) return SavedReceipts::GiveUp;
    result_ = Reopen();
    return guard_.Reopened(result_) ? SavedReceipts::Restart : SavedReceipts::GiveUp;
  }

  // Asks until a new report is open (true: print everything again) or the
  // operator gives up. A no after a report failed to reopen still goes
  // through the saved receipts once more, each asking again.
  bool RecoverCurrent() {
    bool reopening_failed = false;
    for (;;) {
      if (!AskPrinterQuestion(context_)) return reopening_failed;
      result_ = Reopen();
      if (!guard_.Reopened(result_)) return false;
      if (result_) return true;
      reopening_failed = true;
    }
  }

  const std::string& report1_;
  const std::string& report2_;
  const std::string& context_;
  const StringList& answer_;
  const std::int32_t copies_;
  const std::int32_t transaction_count_;
  const bool skip_saved_;
  ReprintGuard guard_;
  bool result_ = true;
};
} // namespace

bool ImprCupomRG_FrameWork(const std::string& report1, const std::string& report2, const std::string& context,
                           const StringList& answer, std::int32_t copies, std::int32_t transactionCount,
                           std::int32_t /*printerType*/, bool ownDocument, bool skipSaved) {
  const TillLock till("ImprCupomRG_FrameWork", context);
  if (!till.Held()) return false;
  MainBlock(answer, "the answer"); // a broken count is reported before the report opens
  dsDirPenTef = PendingDirectory();
  if (ownDocument) {
    CloseManagementReport(context);
    OpenManagementReport(context, report1, report2);
  }
  const bool result = ReportJob(report1, report2, context, answer, copies, transactionCount, skipSaved).Run();
  if (ownDocument) CloseManagementReport(context);
  return result;
}

} // namespace zul00500
