#include "support/printer_stubs.h"

#include "printing/printer.h"

namespace zul00500::testing {

void AnswerEveryPrinterCall(std::string* printed) {
  const auto yes4 = [](const std::string&, const std::string&, const std::string&, const std::string&) {
    return true;
  };
  const auto yes5 = [](const std::string&, const std::string&, const std::string&, const std::string&,
                       const std::string&) { return true; };
  Abre_Comp_NFiscalVinc = yes4;
  Cupom_NFiscNVinc = yes5;
  Relatorio_Gerencial_Imp = yes5;
  GravaDocumentosNaoFiscais = yes5;
  Usa_CompNFis = [](const std::string&, const std::string&) { return true; };
  Guilhotina = [](const std::string&, const std::string&) { return true; };
  FechRelatGerenc = [](const std::string&, const std::string&, const std::string&) { return true; };
  Fecha_Comp_NFiscalVinc = [](const std::string&) { return true; };
  ImprimePadrao = [printed](const std::string&, const std::string&, const std::string& text) {
    if (printed) *printed += text;
    return true;
  };
}

void ClearPrinterProcedures() {
  Abre_Comp_NFiscalVinc = nullptr;
  Usa_CompNFis = nullptr;
  Cupom_NFiscNVinc = nullptr;
  Relatorio_Gerencial_Imp = nullptr;
  FechRelatGerenc = nullptr;
  Fecha_Comp_NFiscalVinc = nullptr;
  GravaDocumentosNaoFiscais = nullptr;
  Guilhotina = nullptr;
  ImprimePadrao = nullptr;
}

} // namespace zul00500::testing
