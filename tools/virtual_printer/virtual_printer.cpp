#include "virtual_printer/virtual_printer.h"

#include "journal/journal.h"
#include "tool_platform/files.h"
#include "tool_platform/text.h"

namespace virtual_printer {

std::string PrinterCall::JournalLine() const {
  // Byte 160 is escaped too: the trailers of some printer types feed with it,
  // and it would pass for a blank in the journal.
  std::vector<std::string> fields = {std::string(ProcedureName(procedure))};
  fields.insert(fields.end(), arguments.begin(), arguments.end());
  fields.push_back(result ? "=true" : "=false");
  return journal::Line(fields, "\xA0");
}

VirtualPrinter::VirtualPrinter(std::size_t paper_width) : paper_(paper_width) {}

bool VirtualPrinter::Abre_Comp_NFiscalVinc(const std::string& context, const std::string& arg2,
                                           const std::string& arg3, const std::string& arg4) {
  return Handle(Procedure::Abre_Comp_NFiscalVinc, {context, arg2, arg3, arg4});
}

bool VirtualPrinter::Usa_CompNFis(const std::string& zero, const std::string& text) {
  return Handle(Procedure::Usa_CompNFis, {zero, text});
}

bool VirtualPrinter::Cupom_NFiscNVinc(const std::string& context, const std::string& totalizer,
                                      const std::string& voucher1, const std::string& voucher2,
                                      const std::string& zero) {
  return Handle(Procedure::Cupom_NFiscNVinc, {context, totalizer, voucher1, voucher2, zero});
}

bool VirtualPrinter::Relatorio_Gerencial_Imp(const std::string& context, const std::string& report1,
                                             const std::string& report2, const std::string& zero1,
                                             const std::string& zero2) {
  return Handle(Procedure::Relatorio_Gerencial_Imp, {context, report1, report2, zero1, zero2});
}

bool VirtualPrinter::FechRelatGerenc(const std::string& context, const std::string& zero1,
                                     const std::string& zero2) {
  return Handle(Procedure::FechRelatGerenc, {context, zero1, zero2});
}

bool VirtualPrinter::Fecha_Comp_NFiscalVinc(const std::string& context) {
  return Handle(Procedure::Fecha_Comp_NFiscalVinc, {context});
}

bool VirtualPrinter::GravaDocumentosNaoFiscais(const std::string& serial, const std::string& context,
                                               const std::string& kind, const std::string& zero1,
                                               const std::string& zero2) {
  return Handle(Procedure::GravaDocumentosNaoFiscais, {serial, context, kind, zero1, zero2});
}

bool VirtualPrinter::Guilhotina(const std::string& context, const std::string& zero) {
  return Handle(Procedure::Guilhotina, {context, zero});
}

bool VirtualPrinter::ImprimePadrao(const std::string& std1, const std::string& std2,
                                   const std::string& text) {
  return Handle(Procedure::ImprimePadrao, {std1, std2, text});
}

bool VirtualPrinter::Handle(Procedure procedure, std::vector<std::string> arguments) {
  const std::string_view name = ProcedureName(procedure);
  std::string_view command;
  if (procedure == Procedure::Abre_Comp_NFiscalVinc && arguments[1] == kCommandGroup) command = arguments[2];

  CallNumbers numbers;
  numbers.overall = ++calls_overall_;
  numbers.procedure = name;
  numbers.of_procedure = ++calls_by_procedure_[std::string(name)];
  if (!command.empty()) {
    numbers.command = command;
    numbers.of_command = ++calls_by_command_[std::string(command)];
  }

  const bool result = !failures_.Fails(numbers) && Perform(procedure, arguments);
  Record({procedure, std::move(arguments), result});
  return result;
}

void VirtualPrinter::Record(PrinterCall call) {
  calls_.push_back(std::move(call));
  if (!journal_path_.empty()) journal::Append(journal_path_, calls_.back().JournalLine());
  std::string printed = paper_.TakeNew();
  if (!paper_path_.empty() && !printed.empty()) tool_platform::append_file(paper_path_, printed);
  if (observer_) observer_(calls_.back());
}

std::vector<std::string> VirtualPrinter::JournalLines() const {
  std::vector<std::string> lines;
  lines.reserve(calls_.size());
  for (const auto& call : calls_) lines.push_back(call.JournalLine());
  return lines;
}

std::string VirtualPrinter::Journal() const {
  std::string text;
  for (const auto& call : calls_) text += call.JournalLine() + "\n";
  return text;
}

std::string VirtualPrinter::PaperUtf8() const { return tool_platform::cp1252_to_utf8(paper_.text()); }

} // namespace virtual_printer
