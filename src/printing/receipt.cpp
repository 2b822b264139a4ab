#include "platform/clock.h"
#include "platform/message_pump.h"
#include "printing/printer.h"
#include "printing/printing.h"
#include "printing/receipt_blocks.h"
#include "support/input_lock.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {
// Piece cuts: the current receipt's full pieces, and everything else.
constexpr std::size_t kCurrentCut = 400;
constexpr std::size_t kSavedCut = 492;
// The report is renewed before every 300th line of a call.
constexpr int kLinesPerReport = 300;
constexpr std::uint32_t kSavedRetryPauseMs = 1000;
constexpr std::uint32_t kCurrentRetryPauseMs = 5000;

const std::string kZero;
const std::string kCurrentTrailer = "\n\n\n";
const std::string kWideTrailer = "\r\n\r\n\r\n\r\n\r\n\r\n";
// Printer types 28 and 31 feed the paper past the cutter after a receipt.
const std::string kPaperFeed = "\xA0\r\n\r\n\r\n\r\n";

enum class Receipt { Saved, Current };

class ReceiptJob {
public:
  ReceiptJob(const std::string& report1, const std::string& report2, const std::string& context,
             const std::string& copyChoice, const StringList& answer, std::int32_t transactionCount,
             std::int32_t printerType, bool ownDocument, bool skipSaved, const std::string& mode,
             const std::string& standard2, const std::string& standard1)
      : report1_(report1), report2_(report2), context_(context), copy_choice_(copyChoice), answer_(answer),
        transaction_count_(transactionCount), printer_type_(printerType), own_document_(ownDocument),
        skip_saved_(skipSaved), mode_(mode), standard2_(standard2), standard1_(standard1),
        fiscal_(mode == "F"), guard_("ImprCupom", context) {}

  bool Run() {
    if (own_document_ && fiscal_) RenewReport();
    ok_ = true;
    for (;;) {
      const SavedReceipts saved = PrintSavedReceipts(
          skip_saved_, transaction_count_, context_,
          [this](const StringList& answer, const std::string& path) {
            PrintCopies(answer, path, Receipt::Saved);
            return ok_;
          },
          [this] { return RecoverSaved(); });
      if (saved == SavedReceipts::Restart) continue;
      if (saved == SavedReceipts::GiveUp || !ok_) break;
      PrintCopies(answer_, "the answer", Receipt::Current);
      if (ok_ || !RecoverCurrent()) break;
    }
    if (own_document_ && fiscal_) CloseManagementReport(context_);
    return ok_;
  }

private:
  // Both copies, the second (block 715) only when the answer has one, with
  // the paper cut between them.
  void PrintCopies(const StringList& answer, const std::string& source, Receipt receipt) {
    const ReceiptBlock first = FirstCopyBlock(answer, copy_choice_, source);
    const ReceiptBlock second = SecondCopyBlock(answer, source);
    for (const ReceiptBlock* block : {&first, &second}) {
      if (block == &second) {
        if (second.lines == 0) return;
        if (fiscal_ && Guilhotina) Guilhotina(context_, kZero);
      }
      if (!ok_ || !PrintCopy(answer, *block, receipt)) return;
      platform::process_messages();
    }
  }

  bool PrintCopy(const StringList& answer, const ReceiptBlock& block, Receipt receipt) {
    copy_text_.clear();
    const std::size_t full = receipt == Receipt::Current ? kCurrentCut : kSavedCut;
    if (!SendBlockLines(
            answer, block, full, kSavedCut, [this](const std::string& piece) { return Send(piece); },
            [this] { CountLine(); }))
      return ok_ = false;
    const bool wide = printer_type_ == 28 || printer_type_ == 31;
    if (receipt == Receipt::Current) {
      if (!Send(kCurrentTrailer)) ok_ = false;
      // Sent in any mode and whatever the sends before returned.
      if (wide)
        for (int feed = 0; feed < 2; ++feed)
          if (!CallPrinter("Usa_CompNFis", Usa_CompNFis, kZero, kPaperFeed)) ok_ = false;
    } else if (!Send((wide ? kWideTrailer : kCurrentTrailer).substr(0, kSavedCut))) {
      ok_ = false;
    }
    if (mode_ == "N" && !CallPrinter("ImprimePadrao", ImprimePadrao, standard1_, standard2_, copy_text_))
      ok_ = false;
    return ok_;
  }

  // The fiscal printer takes each piece at once; any other mode collects the
  // copy's text.
  bool Send(const std::string& piece) {
    if (fiscal_) return CallPrinter("Usa_CompNFis", Usa_CompNFis, kZero, piece);
    copy_text_ += piece;
    return true;
  }

  // A management report holds so many lines; a long call goes on in a new one.
  void CountLine() {
    if (++line_counter_ != kLinesPerReport) return;
    if (fiscal_) RenewReport();
    line_counter_ = 0;
  }

  void RenewReport() {
    CloseManagementReport(context_);
    OpenManagementReport(context_, report1_, report2_);
  }

  // A yes after a saved receipt failed: wait for the manager, then start
  // over on a new report.
  SavedReceipts RecoverSaved() {
    if (!guard_.AwaitManager(answer_.Field("001-000 "))) return SavedReceipts::GiveUp;
    ok_ = true;
    platform::pause(kSavedRetryPauseMs);
    if (fiscal_) {
      CloseManagementReport(context_);
      if (!OpenManagementReport(context_, report1_, report2_)) ok_ = false;
      if (!guard_.Reopened(ok_)) return SavedReceipts::GiveUp;
    }
    return SavedReceipts::Restart;
  }

  // Asks until the operator gives up or a new report is open; true to print
  // everything again.
  bool RecoverCurrent() {
    for (;;) {
      if (!AskPrinterQuestion(context_)) return false;
      ok_ = true;
      BloqueiaTeclado();
      platform::pause(kCurrentRetryPauseMs);
      if (!CloseManagementReport(context_) || !fiscal_) return true;
      const bool opened = OpenManagementReport(context_, report1_, report2_);
      ok_ = opened;
      if (!guard_.Reopened(opened)) return false;
      if (opened) return true;
    }
  }

  const std::string& report1_;
  const std::string& report2_;
  const std::string& context_;
  const std::string& copy_choice_;
  const StringList& answer_;
  const std::int32_t transaction_count_;
  const std::int32_t printer_type_;
  const bool own_document_;
  const bool skip_saved_;
  const std::string& mode_;
  const std::string& standard2_;
  const std::string& standard1_;
  const bool fiscal_;
  ReprintGuard guard_;
  bool ok_ = true;
  int line_counter_ = 0;
  std::string copy_text_;
};
} // namespace

bool ImprCupom(const std::string& report1, const std::string& report2, const std::string& context,
               const std::string& copyChoice, const StringList& answer, std::int32_t frameworkCopies,
               std::int32_t transactionCount, std::int32_t printerType, bool ownDocument, bool skipSaved,
               const std::string& mode, const std::string& standard2, const std::string& standard1) {
  const TillLock till("ImprCupom", context);
  if (!till.Held()) return false;
  if (mode == "N") printerType = 0;
  CheckReceiptCounts(answer, copyChoice, printerType);
  if (printerType == 29)
    return ImprCupom_FrameWork(report1, report2, context, copyChoice, answer, frameworkCopies,
                               transactionCount, printerType, ownDocument, skipSaved);
  dsDirPenTef = PendingDirectory();
  return ReceiptJob(report1, report2, context, copyChoice, answer, transactionCount, printerType, ownDocument,
                    skipSaved, mode, standard2, standard1)
      .Run();
}

} // namespace zul00500
