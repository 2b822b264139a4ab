#include "printing/receipt_blocks.h"

#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "printing/printer.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/text.h"
#include "tef/activity_check.h"
#include "tef/exchange_read.h"
#include "tef/holder.h"
#include "tef/settlement/store.h"

namespace zul00500 {

namespace {
constexpr std::size_t kFrameworkCut = 619;
const std::string kZero;

// A count field read as a line count (0 to 999); a missing one is an error
// too.
std::int32_t ReadCount(const StringList& answer, const std::string& field, const std::string& source) {
  const std::string value = answer.Field(field + " ");
  const std::string what = field + " of " + source;
  if (EmptyString(value)) throw ConvertError("read a number from", what, "the field is missing");
  return ReceiptCount(value, what);
}

// The count of a further block when the field is there; 0 when it is not.
std::int32_t PresentCount(const StringList& answer, const std::string& field, const std::string& source) {
  if (EmptyString(answer.Field(field + " "))) return 0;
  return ReadCount(answer, field, source);
}
} // namespace

ReceiptBlock MainBlock(const StringList& answer, const std::string& source) {
  return {"029-", ReadCount(answer, "028-000", source)};
}

ReceiptBlock FirstCopyBlock(const StringList& answer, const std::string& copyChoice,
                            const std::string& source) {
  if (copyChoice == "S")
    if (const std::int32_t count = PresentCount(answer, "710-000", source)) return {"711-", count};
  if (copyChoice == "N")
    if (const std::int32_t count = PresentCount(answer, "712-000", source)) return {"713-", count};
  return MainBlock(answer, source);
}

ReceiptBlock SecondCopyBlock(const StringList& answer, const std::string& source) {
  return {"715-", PresentCount(answer, "714-000", source)};
}

void CheckReceiptCounts(const StringList& answer, const std::string& copyChoice, std::int32_t printerType) {
  const std::string source = "the answer";
  FirstCopyBlock(answer, copyChoice, source);
  SecondCopyBlock(answer, source);
  // The framework printer falls back on block 029 for a second copy and on
  // a management report.
  if (printerType == 29) MainBlock(answer, source);
}

std::string ReceiptLine(const StringList& answer, const std::string& prefix, std::int32_t k) {
  const std::string value = answer.Field(prefix + AjustaZero(std::to_string(k), 3) + " ");
  return value.size() <= 2 ? std::string() : value.substr(1, value.size() - 2);
}

bool SendBlockLines(const StringList& answer, const ReceiptBlock& block, std::size_t full, std::size_t rest,
                    const SendPiece& send, const std::function<void()>& before_line) {
  std::string piece;
  for (std::int32_t k = 1; k <= block.lines; ++k) {
    if (before_line) before_line();
    piece += ReceiptLine(answer, block.prefix, k);
    piece += '\n';
    if (k % 3 == 0) {
      const bool sent = send(piece.substr(0, full));
      piece.clear();
      if (!sent) return false;
    }
    platform::process_messages();
  }
  return piece.empty() || send(piece.substr(0, rest));
}

bool SendFrameworkCopies(const StringList& answer, std::int32_t copies,
                         const std::function<ReceiptBlock(std::int32_t copy)>& block_for,
                         const SendPiece& send, const std::string& closing) {
  for (std::int32_t copy = 1; copy <= copies; ++copy) {
    if (!SendBlockLines(answer, block_for(copy), kFrameworkCut, kFrameworkCut, send)) return false;
    if (!send(closing)) return false;
    platform::process_messages();
  }
  return true;
}

bool CloseManagementReport(const std::string& context) {
  return CallPrinter("FechRelatGerenc", FechRelatGerenc, context, kZero, kZero);
}

bool OpenManagementReport(const std::string& context, const std::string& report1,
                          const std::string& report2) {
  return CallPrinter("Relatorio_Gerencial_Imp", Relatorio_Gerencial_Imp, context, report1, report2, kZero,
                     kZero);
}

bool FrameworkCommand(const std::string& context, const std::string& command, const std::string& text) {
  return CallPrinter("Abre_Comp_NFiscalVinc", Abre_Comp_NFiscalVinc, context, "CCD", command, text);
}

bool AskPrinterQuestion(const std::string& context) {
  return AskOperator(MessageText("IMP_N_RESP"), context);
}

ReprintGuard::ReprintGuard(std::string routine, std::string context)
    : routine_(std::move(routine)), context_(std::move(context)) {}

bool ReprintGuard::AwaitManager(const std::string& sequence) {
  for (int failed = 1; !CheckGPAtivo("ATV", sequence); ++failed) {
    if (failed == kMaxFailedActivityChecks) {
      GiveUp("Gerenciador inativo ap\xF3s " + std::to_string(failed) +
             " verifica\xE7\xF5"
             "es");
      return false;
    }
    CheckGPAtivo("ATV", sequence);
  }
  return true;
}

bool ReprintGuard::Reopened(bool opened) {
  failed_reopenings_ = opened ? 0 : failed_reopenings_ + 1;
  if (failed_reopenings_ < kMaxFailedReopenings) return true;
  GiveUp("Documento n\xE3o reabriu ap\xF3s " + std::to_string(failed_reopenings_) + " tentativas");
  return false;
}

void ReprintGuard::GiveUp(const std::string& why) {
  LogCartao("Zul00500 - " + routine_ + " - " + why + "; impress\xE3o abandonada");
  TellOperator(MessageText("TimeOut"), context_);
}

std::string SavedReceiptPath(std::int32_t k) { return dsDirPenTef + "intpos." + std::to_string(k); }

SavedReceipts
PrintSavedReceipts(bool skipSaved, std::int32_t transactionCount, const std::string& context,
                   const std::function<bool(const StringList& saved, const std::string& path)>& print,
                   const std::function<SavedReceipts()>& recover) {
  if (skipSaved || transactionCount <= 1 || !platform::fs().file_exists(dsDirPenTef + "intpos.*"))
    return SavedReceipts::Done;
  for (std::int32_t k = 1; k < transactionCount; ++k) {
    const std::string path = SavedReceiptPath(k);
    // Gone: its payment was undone since (the manager took its "NCN").
    if (!platform::fs().file_exists(path)) {
      LogCartao("Zul00500 - Comprovante salvo " + path + " ausente (pagamento desfeito), n\xE3o impresso");
      continue;
    }
    StringList saved;
    LoadExchangeFile(saved, path);
    if (!PaymentStands(saved.Field("001-000 "))) {
      LogCartao("Zul00500 - Comprovante salvo " + path +
                " de pagamento desfeito ou n\xE3o confirmado, n\xE3o impresso");
      continue;
    }
    if (print(saved, path)) continue;
    if (!AskPrinterQuestion(context)) continue;
    return recover();
  }
  return SavedReceipts::Done;
}

} // namespace zul00500
