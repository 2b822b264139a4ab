// Opening and closing the document of a receipt printing run, by printer
// type.
#include <algorithm>
#include <functional>
#include <initializer_list>

#include "printing/printer.h"
#include "printing/receipt_blocks.h"
#include "printing/receipt_run.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/number_format.h"
#include "tef/holder.h"

namespace zul00500 {

namespace {

using Attempt = std::function<bool()>;

bool OneOf(std::int32_t type, std::initializer_list<std::int32_t> types) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

// Tries `first`, and after each failure asks the printer question under
// `key`; a yes tries `later`. With `lockInput` the input is locked for each
// attempt and lifted for the question; after a success it stays locked. An
// error from an attempt lifts it: nobody would be left to unlock it.
bool OpenWithRetries(const RunDocument& document, const Attempt& first, const Attempt& later, const char* key,
                     bool lockInput) {
  if (lockInput) BloqueiaTeclado();
  try {
    for (bool ready = first();; ready = later()) {
      if (ready) return true;
      if (lockInput) DesbloqueiaTeclado();
      if (!AskOperator(MessageText(key), document.context)) return false;
      if (lockInput) BloqueiaTeclado();
    }
  } catch (...) {
    if (lockInput) DesbloqueiaTeclado();
    throw;
  }
}

bool OpenLinkedVoucher(const RunDocument& document) {
  return CallPrinter("Abre_Comp_NFiscalVinc", Abre_Comp_NFiscalVinc, document.context,
                     document.voucher2.substr(0, 16), RunAmountText(document.amount, document.printerType),
                     document.voucher1);
}

bool OpenNonLinkedVoucher(const RunDocument& document) {
  const bool longCode = OneOf(document.printerType, {17, 25});
  return CallPrinter("Cupom_NFiscNVinc", Cupom_NFiscNVinc, document.context, "00",
                     longCode ? std::string("0000") : document.voucher1, document.voucher2, "");
}

} // namespace

std::string RunAmountText(double amount, std::int32_t printerType) {
  const std::string text = AjustaZero(CentsText(amount), 14);
  return OneOf(printerType, {28, 31}) ? text.substr(text.size() - 13) : text;
}

bool OpenRunDocument(const RunDocument& document) {
  const std::int32_t type = document.printerType;
  const Attempt linked = [&] { return OpenLinkedVoucher(document); };
  const Attempt report = [&] {
    return OpenManagementReport(document.context, document.report1, document.report2);
  };
  if (OneOf(type, {1, 2, 9})) return OpenWithRetries(document, linked, linked, "IMP_N_RESP", false);
  if (OneOf(type, {3, 4, 5, 6, 17, 25})) {
    const Attempt nonLinked = [&] { return OpenNonLinkedVoucher(document); };
    return OpenWithRetries(document, nonLinked, nonLinked, "Imp_N_Resp", true);
  }
  const bool guarded = OneOf(type, {14, 18, 19, 20, 24, 27, 28, 29, 31, 32, 33, 34});
  // Without a voucher to link to there is nothing to open.
  if (!guarded || EmptyString(document.voucher1)) return true;
  if (type == 24) return OpenWithRetries(document, report, report, "Imp_N_Resp", false);
  if (type == 29) {
    const Attempt framework = [&] { return FrameworkCommand(document.context, "AbreCCD"); };
    return OpenWithRetries(document, framework, report, "Imp_N_Resp", false);
  }
  return OpenWithRetries(document, linked, report, "Imp_N_Resp", false);
}

void CloseRunDocument(const std::string& context, std::int32_t printerType, bool afterReceipt) {
  if (printerType == 29) {
    // The framework printer says whether it printed on a management report.
    if (FrameworkCommand(context, "UsaRG")) CloseManagementReport(context);
    else FrameworkCommand(context, "FechaCCD");
  } else if (printerType == 28 && afterReceipt) {
    CallPrinter("Fecha_Comp_NFiscalVinc", Fecha_Comp_NFiscalVinc, context);
  } else {
    CloseManagementReport(context);
  }
}

} // namespace zul00500
