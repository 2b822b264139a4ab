// A stand-in for the host's printer packages (the fiscal printer's and the
// standard printer's procedures), for tests, zulpos and the demo. It records every call in a journal, renders
// what a real printer would put on paper, and fails the calls it is told to.
//
// Journal: one line per call: the procedure's name, each argument, then
// "=true" or "=false", TAB-separated, each field escaped as the dialog
// journal is (\r \n \t \\, and \xNN for other bytes below 32 and for 160).
//
// It knows nothing of the package: a host connects its procedures (zulpos
// does so through the C interface's typed printer setters).
//
//   VirtualPrinter printer;
//   printer.AddFailures("Usa_CompNFis:2");    // the second send gets false
//   ... ImprCupom(...) ...
//   printer.JournalLines(), printer.Paper()
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "virtual_printer/failure_plan.h"
#include "virtual_printer/paper.h"
#include "virtual_printer/procedures.h"

namespace virtual_printer {

struct PrinterCall {
  Procedure procedure;
  std::vector<std::string> arguments;
  bool result = false;

  // The call's journal line, without its line end.
  std::string JournalLine() const;
};

class VirtualPrinter {
public:
  explicit VirtualPrinter(std::size_t paper_width = Paper::kDefaultWidth);
  VirtualPrinter(const VirtualPrinter&) = delete;
  VirtualPrinter& operator=(const VirtualPrinter&) = delete;

  // Appends each journal line (with "\n") to this file as the call is made;
  // a native path. A failed write throws tool_platform::Error from the call.
  void SetJournalFile(std::string path) { journal_path_ = std::move(path); }
  // Appends what is printed to this file (code page 1252), call by call.
  void SetPaperFile(std::string path) { paper_path_ = std::move(path); }

  // Told of every call once it is journalled and on paper: a host that
  // watches its printer (the rehearsal times each call). It may throw; the
  // call then fails as a journal that cannot be written does.
  void SetObserver(std::function<void(const PrinterCall&)> observer) { observer_ = std::move(observer); }

  // What the framework printer answers to "UsaRG": true sends its receipts
  // to a management report. False by default.
  void SetUsesManagementReport(bool uses) { uses_management_report_ = uses; }

  // Calls that fail (return false and print nothing).
  void AddFailures(const FailurePlan& plan) { failures_.Add(plan); }
  // The text form (failure_plan.h); throws FailureRulesError.
  void AddFailures(std::string_view rules) { failures_.Add(ParseFailureRules(rules)); }
  void ClearFailures() { failures_.Clear(); }
  const FailurePlan& failures() const { return failures_; }

  const std::vector<PrinterCall>& Calls() const { return calls_; }
  std::vector<std::string> JournalLines() const;
  // Every journal line followed by "\n": what the journal file receives.
  std::string Journal() const;
  // Everything printed so far, code page 1252.
  const std::string& PaperText() const { return paper_.text(); }
  // The same for a UTF-8 terminal.
  std::string PaperUtf8() const;

  // The procedures themselves, as a host connects them.
  bool Abre_Comp_NFiscalVinc(const std::string& context, const std::string& arg2, const std::string& arg3,
                             const std::string& arg4);
  bool Usa_CompNFis(const std::string& zero, const std::string& text);
  bool Cupom_NFiscNVinc(const std::string& context, const std::string& totalizer, const std::string& voucher1,
                        const std::string& voucher2, const std::string& zero);
  bool Relatorio_Gerencial_Imp(const std::string& context, const std::string& report1,
                               const std::string& report2, const std::string& zero1,
                               const std::string& zero2);
  bool FechRelatGerenc(const std::string& context, const std::string& zero1, const std::string& zero2);
  bool Fecha_Comp_NFiscalVinc(const std::string& context);
  bool GravaDocumentosNaoFiscais(const std::string& serial, const std::string& context,
                                 const std::string& kind, const std::string& zero1, const std::string& zero2);
  bool Guilhotina(const std::string& context, const std::string& zero);
  bool ImprimePadrao(const std::string& std1, const std::string& std2, const std::string& text);

private:
  bool Handle(Procedure procedure, std::vector<std::string> arguments);
  // What a call that does not fail does to the paper, and its result.
  bool Perform(Procedure procedure, const std::vector<std::string>& arguments);
  bool PerformCommand(const std::string& command, const std::string& text);
  void Record(PrinterCall call);

  Paper paper_;
  FailurePlan failures_;
  bool uses_management_report_ = false;
  std::string journal_path_;
  std::string paper_path_;
  std::function<void(const PrinterCall&)> observer_;
  std::vector<PrinterCall> calls_;
  std::uint64_t calls_overall_ = 0;
  std::map<std::string, std::uint64_t, std::less<>> calls_by_procedure_;
  std::map<std::string, std::uint64_t, std::less<>> calls_by_command_;
};

} // namespace virtual_printer
