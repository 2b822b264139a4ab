#include "printer_options.h"

#include "cli/command_line.h"
#include "command.h"
#include "options.h"
#include "output.h"
#include "printer_connection.h"
#include "tool_platform/files.h"

namespace zulpos {

namespace {
// A failure list the virtual printer can read.
CLI::Validator FailureRules() {
  return zul_cli::Check("failure rules", [](std::string& rules) -> std::string {
    try {
      virtual_printer::VirtualPrinter().AddFailures(rules);
      return {};
    } catch (const virtual_printer::FailureRulesError& error) {
      return error.what();
    }
  });
}
} // namespace

void AddPrintingOptions(CLI::App& command, PrintingOptions& options, bool with_vouchers, bool with_copy) {
  AddValue(command, "--printer-type", options.printer_type, "N", "printer type id (default 0)")
      ->check(Integer());
  AddValue(command, "--mode", options.mode, "F|N", "F: fiscal printer, N: standard printer (default F)")
      ->check(OneOf({"F", "N"}));
  if (with_copy)
    AddValue(command, "--copy", options.copy, "S|N", "print the second copy (default S)")
        ->check(OneOf({"S", "N"}));
  if (with_vouchers) {
    AddValue(command, "--voucher1", options.voucher1, "TEXT", "first linked-voucher argument");
    AddValue(command, "--voucher2", options.voucher2, "TEXT", "second linked-voucher argument");
  }
  AddValue(command, "--report1", options.report1, "TEXT", "first management-report argument");
  AddValue(command, "--report2", options.report2, "TEXT", "second management-report argument");
  AddValue(command, "--std1", options.standard1, "TEXT", "first standard-printer argument");
  AddValue(command, "--std2", options.standard2, "TEXT", "second standard-printer argument");
  AddValue(command, "--printer-journal", options.journal, "FILE",
           "write a line per printer call to FILE (emptied first)")
      ->check(OutputFile());
  AddValue(command, "--paper", options.paper, "FILE", "write what the printer prints to FILE (emptied first)")
      ->check(OutputFile());
  AddRepeatable(command, "--printer-fail", options.failures, "RULES",
                "make printer calls fail: #N, #N+, NAME:N or NAME:N+, comma-separated\n"
                "(\"Usa_CompNFis:3,ImprimeCCD:2+\"); repeatable")
      ->check(FailureRules());
  AddFlag(command, "--printer-uses-rg", options.uses_rg,
          "the framework printer (type 29) answers UsaRG with true");
}

PrintingChoices ReadPrintingChoices(const PrintingOptions& options) {
  PrintingChoices choices;
  choices.printer_type = options.printer_type;
  choices.mode = options.mode;
  choices.copy = options.copy;
  choices.voucher1 = FromTerminal(options.voucher1);
  choices.voucher2 = FromTerminal(options.voucher2);
  choices.report1 = FromTerminal(options.report1);
  choices.report2 = FromTerminal(options.report2);
  choices.standard1 = FromTerminal(options.standard1);
  choices.standard2 = FromTerminal(options.standard2);
  return choices;
}

void SetUpPrinter(virtual_printer::VirtualPrinter& printer, const PrintingOptions& options) {
  for (const std::string& rules : options.failures) printer.AddFailures(rules);
  if (!options.journal.empty()) {
    const std::string path = PathFromTerminal(options.journal);
    tool_platform::write_file(path, "");
    printer.SetJournalFile(path);
  }
  if (!options.paper.empty()) {
    const std::string path = PathFromTerminal(options.paper);
    tool_platform::write_file(path, "");
    printer.SetPaperFile(path);
  }
  printer.SetUsesManagementReport(options.uses_rg);
}

bool PrintReceipts(const List& receipts, std::int32_t receiptCount, std::int32_t transactionCount,
                   double amount, const std::string& context, const PrintingOptions& options) {
  const PrintingChoices c = ReadPrintingChoices(options);
  virtual_printer::VirtualPrinter printer;
  SetUpPrinter(printer, options);
  PrinterConnection connection(printer);
  return CheckedWithNotes(api().ImprCupons(receipts.handle(), receiptCount, transactionCount, c.printer_type,
                                           c.voucher1.c_str(), c.voucher2.c_str(), context.c_str(),
                                           c.report1.c_str(), c.report2.c_str(), c.copy.c_str(),
                                           c.mode.c_str(), c.standard2.c_str(), c.standard1.c_str(), amount));
}

} // namespace zulpos
