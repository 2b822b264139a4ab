// The host's printer procedures for tests that print but do not look at the
// printer: every call succeeds.
#pragma once

#include <string>

#include "printing/printer.h"

namespace zul00500::testing {

// Assigns every printer procedure one that returns true; the standard
// printer's text is appended to `printed` when one is given.
void AnswerEveryPrinterCall(std::string* printed = nullptr);
// Assigns every printer procedure `make(name)`, a callable that fits each
// procedure's signature (a generic lambda), for doubles that record calls.
template <typename Make> void AssignEveryPrinterProcedure(Make make) {
  Abre_Comp_NFiscalVinc = make("Abre_Comp_NFiscalVinc");
  Usa_CompNFis = make("Usa_CompNFis");
  Cupom_NFiscNVinc = make("Cupom_NFiscNVinc");
  Relatorio_Gerencial_Imp = make("Relatorio_Gerencial_Imp");
  FechRelatGerenc = make("FechRelatGerenc");
  Fecha_Comp_NFiscalVinc = make("Fecha_Comp_NFiscalVinc");
  GravaDocumentosNaoFiscais = make("GravaDocumentosNaoFiscais");
  Guilhotina = make("Guilhotina");
  ImprimePadrao = make("ImprimePadrao");
}
// Leaves every printer procedure unassigned again.
void ClearPrinterProcedures();

} // namespace zul00500::testing
