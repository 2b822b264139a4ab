// The fiscal-printer procedures the host's printer packages export. The host
// assigns them; the package reads each variable anew at every call. True means
// done, false that the printer did not respond.
#pragma once

#include <functional>
#include <string>

namespace zul00500 {

using PrinterProc1 = std::function<bool(const std::string&)>;
using PrinterProc2 = std::function<bool(const std::string&, const std::string&)>;
using PrinterProc3 = std::function<bool(const std::string&, const std::string&, const std::string&)>;
using PrinterProc4 =
    std::function<bool(const std::string&, const std::string&, const std::string&, const std::string&)>;
using PrinterProc5 = std::function<bool(const std::string&, const std::string&, const std::string&,
                                        const std::string&, const std::string&)>;

// Pkg_Zul00001: the fiscal printer.
extern PrinterProc4 Abre_Comp_NFiscalVinc;     // context, arg2, amount / "CCD", voucher1 / command, text
extern PrinterProc2 Usa_CompNFis;              // zero, text
extern PrinterProc5 Cupom_NFiscNVinc;          // context, "00", voucher1, voucher2, zero
extern PrinterProc5 Relatorio_Gerencial_Imp;   // context, report1, report2, zero, zero
extern PrinterProc3 FechRelatGerenc;           // context, zero, zero
extern PrinterProc1 Fecha_Comp_NFiscalVinc;    // context
extern PrinterProc5 GravaDocumentosNaoFiscais; // serial, context, "CC", zero, zero
extern PrinterProc2 Guilhotina;                // context, zero (optional)
// Pkg_Zul00002: the standard printer.
extern PrinterProc3 ImprimePadrao;             // std1, std2, text

// Calls a procedure variable, raising PrinterProcedureError naming it when the
// host left it unassigned.
template <typename Proc, typename... Args>
bool CallPrinter(const char* name, const Proc& proc, const Args&... args);

[[noreturn]] void ThrowUnassignedPrinterProcedure(const char* name);

template <typename Proc, typename... Args>
bool CallPrinter(const char* name, const Proc& proc, const Args&... args) {
  if (!proc) ThrowUnassignedPrinterProcedure(name);
  return proc(std::string(args)...);
}

} // namespace zul00500
