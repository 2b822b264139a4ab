#include "printer_options.h"

#include "output.h"
#include "platform/file_system.h"

namespace zulpos {

std::vector<OptionSpec> PrinterOptions() {
  return {{"--printer-journal", "FILE", "write a line per printer call to FILE (emptied first)"},
          {"--paper", "FILE", "write what the printer prints to FILE (emptied first)"},
          {"--printer-fail", "SPEC",
           "make printer calls fail: #N, #N+, NAME:N or NAME:N+, comma-separated\n"
           "(\"Usa_CompNFis:3,ImprimeCCD:2+\"); repeatable",
           true},
          {"--printer-uses-rg", "", "the framework printer (type 29) answers UsaRG with true"}};
}

void SetUpPrinter(virtual_printer::VirtualPrinter& printer, const ParsedOptions& options) {
  for (const std::string& spec : options.All("--printer-fail")) {
    try {
      printer.AddFailures(spec);
    } catch (const virtual_printer::FailureSpecError& error) {
      throw UsageError(std::string("--printer-fail: ") + error.what());
    }
  }
  if (const auto journal = options.Value("--printer-journal")) {
    const std::string path = PathFromTerminal(*journal);
    zul00500::platform::fs().write_file(path, "");
    printer.SetJournalFile(path);
  }
  if (const auto paper = options.Value("--paper")) {
    const std::string path = PathFromTerminal(*paper);
    zul00500::platform::fs().write_file(path, "");
    printer.SetPaperFile(path);
  }
  printer.SetUsesManagementReport(options.Has("--printer-uses-rg"));
  printer.Install();
}

} // namespace zulpos
