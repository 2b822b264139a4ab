#include "printing/printer.h"
#include "support/errors.h"

namespace zul00500 {

PrinterProc4 Abre_Comp_NFiscalVinc;
PrinterProc2 Usa_CompNFis;
PrinterProc5 Cupom_NFiscNVinc;
PrinterProc5 Relatorio_Gerencial_Imp;
PrinterProc3 FechRelatGerenc;
PrinterProc1 Fecha_Comp_NFiscalVinc;
PrinterProc5 GravaDocumentosNaoFiscais;
PrinterProc2 Guilhotina;
PrinterProc3 ImprimePadrao;

void ThrowUnassignedPrinterProcedure(const char* name) {
  throw PrinterProcedureError("call the printer procedure", name, "the host has not assigned it");
}

} // namespace zul00500
