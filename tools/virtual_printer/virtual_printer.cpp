#include "virtual_printer/virtual_printer.h"

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "zul00500/printer.h"
#include "zul00500/scripted_host.h"

namespace virtual_printer {

std::string PrinterCall::JournalLine() const {
  // Byte 160 is escaped too: the trailers of some printer types feed with it,
  // and it would pass for a blank in the journal.
  static const std::string kNoBreakSpace = "\xA0";
  std::string line(ProcedureName(procedure));
  for (const auto& argument : arguments) line += '\t' + zul00500::EscapeJournalField(argument, kNoBreakSpace);
  line += result ? "\t=true" : "\t=false";
  return line;
}

VirtualPrinter::VirtualPrinter(std::size_t paper_width) : paper_(paper_width) {}

VirtualPrinter::~VirtualPrinter() {
  if (installed_) Uninstall();
}

void VirtualPrinter::Install(Cutter cutter) {
  using S = const std::string&;
  zul00500::Abre_Comp_NFiscalVinc = [this](S a, S b, S c, S d) { return Abre_Comp_NFiscalVinc(a, b, c, d); };
  zul00500::Usa_CompNFis = [this](S a, S b) { return Usa_CompNFis(a, b); };
  zul00500::Cupom_NFiscNVinc = [this](S a, S b, S c, S d, S e) { return Cupom_NFiscNVinc(a, b, c, d, e); };
  zul00500::Relatorio_Gerencial_Imp = [this](S a, S b, S c, S d, S e) {
    return Relatorio_Gerencial_Imp(a, b, c, d, e);
  };
  zul00500::FechRelatGerenc = [this](S a, S b, S c) { return FechRelatGerenc(a, b, c); };
  zul00500::Fecha_Comp_NFiscalVinc = [this](S a) { return Fecha_Comp_NFiscalVinc(a); };
  zul00500::GravaDocumentosNaoFiscais = [this](S a, S b, S c, S d, S e) {
    return GravaDocumentosNaoFiscais(a, b, c, d, e);
  };
  if (cutter == Cutter::Assigned) zul00500::Guilhotina = [this](S a, S b) { return Guilhotina(a, b); };
  else zul00500::Guilhotina = nullptr;
  zul00500::ImprimePadrao = [this](S a, S b, S c) { return ImprimePadrao(a, b, c); };
  installed_ = true;
}

void VirtualPrinter::Uninstall() {
  zul00500::Abre_Comp_NFiscalVinc = nullptr;
  zul00500::Usa_CompNFis = nullptr;
  zul00500::Cupom_NFiscNVinc = nullptr;
  zul00500::Relatorio_Gerencial_Imp = nullptr;
  zul00500::FechRelatGerenc = nullptr;
  zul00500::Fecha_Comp_NFiscalVinc = nullptr;
  zul00500::GravaDocumentosNaoFiscais = nullptr;
  zul00500::Guilhotina = nullptr;
  zul00500::ImprimePadrao = nullptr;
  installed_ = false;
}

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
  if (!journal_path_.empty())
    zul00500::platform::fs().append_file(journal_path_, calls_.back().JournalLine() + "\n");
  std::string printed = paper_.TakeNew();
  if (!paper_path_.empty() && !printed.empty()) zul00500::platform::fs().append_file(paper_path_, printed);
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

std::string VirtualPrinter::PaperUtf8() const { return zul00500::platform::cp1252_to_utf8(paper_.text()); }

} // namespace virtual_printer
