// What each procedure of the virtual printer puts on paper.
#include <algorithm>

#include "virtual_printer/virtual_printer.h"

namespace virtual_printer {

namespace {

const char* const kLinkedVoucher = "COMPROVANTE N\xC3O FISCAL VINCULADO";
const char* const kCreditDebitVoucher = "COMPROVANTE DE CR\xC9"
                                        "DITO OU D\xC9"
                                        "BITO";
const char* const kUnlinkedVoucher = "COMPROVANTE N\xC3O FISCAL";
const char* const kManagementReport = "RELAT\xD3RIO GERENCIAL";

// Cents as digits ("00000000001250") the way a receipt shows them ("12,50");
// anything else as it came.
std::string AmountText(const std::string& cents) {
  if (cents.empty() || !std::all_of(cents.begin(), cents.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return cents;
  std::string digits = cents.substr(std::min(cents.find_first_not_of('0'), cents.size()));
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  const std::string units = digits.substr(0, digits.size() - 2);
  std::string grouped;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (i != 0 && (units.size() - i) % 3 == 0) grouped += '.';
    grouped += units[i];
  }
  return grouped + "," + digits.substr(digits.size() - 2);
}

} // namespace

bool VirtualPrinter::Perform(Procedure procedure, const std::vector<std::string>& args) {
  switch (procedure) {
  case Procedure::Abre_Comp_NFiscalVinc:
    if (args[1] == kCommandGroup) return PerformCommand(args[2], args[3]);
    paper_.Open(kLinkedVoucher,
                {{"Forma de pagamento", args[1]}, {"Valor", AmountText(args[2])}, {"Cupom fiscal", args[3]}});
    return true;
  case Procedure::Usa_CompNFis:
    paper_.Print(args[1]);
    return true;
  case Procedure::Cupom_NFiscNVinc:
    paper_.Open(kUnlinkedVoucher,
                {{"Totalizador", args[1]}, {"Valor", AmountText(args[2])}, {"Forma de pagamento", args[3]}});
    return true;
  case Procedure::Relatorio_Gerencial_Imp:
    paper_.Open(kManagementReport, {{"", args[1]}, {"", args[2]}});
    return true;
  case Procedure::FechRelatGerenc:
  case Procedure::Fecha_Comp_NFiscalVinc:
    // Whatever document is open ends: the printing run closes a voucher
    // with FechRelatGerenc for most printer types.
    paper_.Close();
    return true;
  case Procedure::GravaDocumentosNaoFiscais:
    // Kept in the printer's memory; nothing goes on paper.
    return true;
  case Procedure::Guilhotina:
    paper_.Cut();
    return true;
  case Procedure::ImprimePadrao:
    paper_.Page({{"", args[0]}, {"", args[1]}}, args[2]);
    return true;
  }
  return false;
}

bool VirtualPrinter::PerformCommand(const std::string& command, const std::string& text) {
  if (command == "AbreCCD") {
    paper_.Open(kCreditDebitVoucher, {});
    return true;
  }
  if (command == "ImprimeCCD") {
    paper_.Print(text);
    return true;
  }
  if (command == "UsaRG") return uses_management_report_;
  if (command == "FechaCCD") {
    paper_.Close();
    return true;
  }
  // A real printer refuses a command it does not know.
  return false;
}

} // namespace virtual_printer
