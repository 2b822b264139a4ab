// The virtual fiscal printer as every printing command sets it up from its
// options: journal and paper files, failures, and what the framework printer
// answers to "UsaRG".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "options.h"
#include "package.h"
#include "virtual_printer/virtual_printer.h"

namespace zulpos {

// --printer-journal FILE, --paper FILE, --printer-fail RULES, --printer-uses-rg.
std::vector<OptionDef> PrinterOptions();

// Sets `printer` up as the options say; the caller connects it to the
// package (PrinterConnection). The journal and paper files start empty: each
// run shows only what it printed. Throws UsageError for a failure list that
// cannot be read.
void SetUpPrinter(virtual_printer::VirtualPrinter& printer, const ParsedOptions& options);

// The printing run's choices: --printer-type, --mode, --copy, --voucher1,
// --voucher2, --report1, --report2, --std1, --std2 (code page 1252 texts).
struct PrintingChoices {
  int printer_type = 0;
  std::string mode = "F";
  std::string copy = "S";
  std::string voucher1, voucher2, report1, report2, standard1, standard2;
};

// Those options followed by PrinterOptions(); the voucher ones only for the
// routines that open a linked voucher, --copy only for those that take it.
std::vector<OptionDef> PrintingRunOptions(bool with_vouchers = true, bool with_copy = true);
// Throws UsageError for a value out of its range.
PrintingChoices ReadPrintingChoices(const ParsedOptions& options);

// Every printing option checked as SetUpPrinter and ReadPrintingChoices
// will read it (failure rules, journal and paper files, type, mode, copy),
// without setting anything up: for a command that must not find a typo
// only after the manager approved a payment. Throws UsageError.
void CheckPrintingOptions(const ParsedOptions& options);

// ImprCupons on the virtual printer set up from `options`.
bool PrintReceipts(const List& receipts, std::int32_t receiptCount, std::int32_t transactionCount,
                   double amount, const std::string& context, const ParsedOptions& options);

} // namespace zulpos
