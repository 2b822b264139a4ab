// The virtual fiscal printer and the printing run as every printing command
// takes them from its options: the run's choices, the journal and paper
// files, failures, and what the framework printer answers to "UsaRG".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "package.h"
#include "virtual_printer/virtual_printer.h"

namespace zulpos {

// The options as given (texts and paths as the terminal gave them).
struct PrintingOptions {
  int printer_type = 0;
  std::string mode = "F";
  std::string copy = "S";
  std::string voucher1, voucher2, report1, report2, standard1, standard2;
  std::string journal, paper;
  std::vector<std::string> failures;
  bool uses_rg = false;
};

// Adds --printer-type, --mode, --copy, --voucher1, --voucher2, --report1,
// --report2, --std1, --std2, then --printer-journal, --paper, --printer-fail
// and --printer-uses-rg to `command`, bound to `options` and checked as they
// are parsed; the voucher ones only for the routines that open a linked
// voucher, --copy only for those that take it.
void AddPrintingOptions(CLI::App& command, PrintingOptions& options, bool with_vouchers = true,
                        bool with_copy = true);

// The run's choices as the package takes them (code page 1252 texts).
struct PrintingChoices {
  int printer_type = 0;
  std::string mode = "F";
  std::string copy = "S";
  std::string voucher1, voucher2, report1, report2, standard1, standard2;
};
PrintingChoices ReadPrintingChoices(const PrintingOptions& options);

// Sets `printer` up as the options say; the caller connects it to the
// package (PrinterConnection). The journal and paper files start empty: each
// run shows only what it printed.
void SetUpPrinter(virtual_printer::VirtualPrinter& printer, const PrintingOptions& options);

// ImprCupons on the virtual printer set up from `options`.
bool PrintReceipts(const List& receipts, std::int32_t receiptCount, std::int32_t transactionCount,
                   double amount, const std::string& context, const PrintingOptions& options);

} // namespace zulpos
