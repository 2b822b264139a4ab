#include "printer_options.h"

#include "output.h"
#include "printer_connection.h"
#include "tool_platform/files.h"

namespace zulpos {

std::vector<OptionDef> PrinterOptions() {
  return {{"--printer-journal", "FILE", "write a line per printer call to FILE (emptied first)"},
          {"--paper", "FILE", "write what the printer prints to FILE (emptied first)"},
          {"--printer-fail", "RULES",
           "make printer calls fail: #N, #N+, NAME:N or NAME:N+, comma-separated\n"
           "(\"Usa_CompNFis:3,ImprimeCCD:2+\"); repeatable",
           true},
          {"--printer-uses-rg", "", "the framework printer (type 29) answers UsaRG with true"}};
}

namespace {
void add_failures(virtual_printer::VirtualPrinter& printer, const ParsedOptions& options) {
  for (const std::string& rules : options.All("--printer-fail")) {
    try {
      printer.AddFailures(rules);
    } catch (const virtual_printer::FailureRulesError& error) {
      throw UsageError(std::string("--printer-fail: ") + error.what());
    }
  }
}
} // namespace

void CheckPrintingOptions(const ParsedOptions& options) {
  virtual_printer::VirtualPrinter scratch;
  add_failures(scratch, options);
  for (const char* file : {"--printer-journal", "--paper"})
    if (const auto path = options.Value(file)) CheckOutputFile(file, PathFromTerminal(*path));
  ReadPrintingChoices(options);
}

void SetUpPrinter(virtual_printer::VirtualPrinter& printer, const ParsedOptions& options) {
  add_failures(printer, options);
  if (const auto journal = options.Value("--printer-journal")) {
    const std::string path = PathFromTerminal(*journal);
    tool_platform::write_file(path, "");
    printer.SetJournalFile(path);
  }
  if (const auto paper = options.Value("--paper")) {
    const std::string path = PathFromTerminal(*paper);
    tool_platform::write_file(path, "");
    printer.SetPaperFile(path);
  }
  printer.SetUsesManagementReport(options.Has("--printer-uses-rg"));
}

std::vector<OptionDef> PrintingRunOptions(bool with_vouchers, bool with_copy) {
  std::vector<OptionDef> options = {{"--printer-type", "N", "printer type id (default 0)"},
                                    {"--mode", "F|N", "F: fiscal printer, N: standard printer (default F)"}};
  if (with_copy) options.push_back({"--copy", "S|N", "print the second copy (default S)"});
  if (with_vouchers)
    options.insert(options.end(), {{"--voucher1", "TEXT", "first linked-voucher argument"},
                                   {"--voucher2", "TEXT", "second linked-voucher argument"}});
  options.insert(options.end(), {{"--report1", "TEXT", "first management-report argument"},
                                 {"--report2", "TEXT", "second management-report argument"},
                                 {"--std1", "TEXT", "first standard-printer argument"},
                                 {"--std2", "TEXT", "second standard-printer argument"}});
  for (OptionDef& option : PrinterOptions()) options.push_back(std::move(option));
  return options;
}

PrintingChoices ReadPrintingChoices(const ParsedOptions& options) {
  PrintingChoices choices;
  choices.printer_type = ParseInteger("--printer-type", options.ValueOr("--printer-type", "0"));
  choices.mode = ParseChoice("--mode", options.ValueOr("--mode", "F"), {"F", "N"});
  choices.copy = ParseChoice("--copy", options.ValueOr("--copy", "S"), {"S", "N"});
  auto text = [&](const char* name) { return FromTerminal(options.ValueOr(name, "")); };
  choices.voucher1 = text("--voucher1");
  choices.voucher2 = text("--voucher2");
  choices.report1 = text("--report1");
  choices.report2 = text("--report2");
  choices.standard1 = text("--std1");
  choices.standard2 = text("--std2");
  return choices;
}

bool PrintReceipts(const List& receipts, std::int32_t receiptCount, std::int32_t transactionCount,
                   double amount, const std::string& context, const ParsedOptions& options) {
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
