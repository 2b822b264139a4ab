// The document a receipt printing run prints on: opened once before the
// first receipt, by printer type, and closed after each receipt and at the
// end.
#pragma once

#include <cstdint>
#include <string>

namespace zul00500 {

struct RunDocument {
  std::int32_t printerType = 0;
  std::string context;
  std::string voucher1;
  std::string voucher2;
  std::string report1;
  std::string report2;
  double amount = 0;
};

// The amount in cents, fourteen digits with leading zeros (the pattern
// "000000000000.00" less its separator); the last thirteen for printer types
// 28 and 31.
std::string RunAmountText(double amount, std::int32_t printerType);

// Opens the voucher or report for the printer type; after each failure the
// printer question is asked, and a yes tries again. True when the printer is
// ready (also when the type opens nothing); false when the operator gave up.
bool OpenRunDocument(const RunDocument& document);

// Closes after a receipt (`afterReceipt`) or at the end of the run.
void CloseRunDocument(const std::string& context, std::int32_t printerType, bool afterReceipt);

} // namespace zul00500
