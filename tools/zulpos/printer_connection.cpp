#include "printer_connection.h"

#include <exception>
#include <string>

#include "package.h"

namespace zulpos {

namespace {

using virtual_printer::VirtualPrinter;

template <typename> using CText = const char*;

// One procedure of the printer as a C callback: its texts in, 1 or 0 out,
// and -1 when the printer failed otherwise (its journal could not be
// written, say), which ends the package's routine with an error.
template <auto Method> struct Relay;

template <typename... Args, bool (VirtualPrinter::*Method)(Args...)> struct Relay<Method> {
  static int ZUL_CALL Call(void* user, CText<Args>... texts) {
    try {
      return (static_cast<VirtualPrinter*>(user)->*Method)(std::string(texts)...) ? ZUL_TRUE : ZUL_FALSE;
    } catch (const std::exception& error) {
      RememberCallbackFailure(error.what());
      return ZUL_ERROR;
    }
  }

  // Through the setter of the procedure's type, so that the compiler checks it.
  static int Set(const char* name, VirtualPrinter* printer) {
    const auto fn = printer ? &Call : nullptr;
    constexpr std::size_t arity = sizeof...(Args);
    if constexpr (arity == 1) return api().zul_SetPrinterProc1(name, fn, printer);
    else if constexpr (arity == 2) return api().zul_SetPrinterProc2(name, fn, printer);
    else if constexpr (arity == 3) return api().zul_SetPrinterProc3(name, fn, printer);
    else if constexpr (arity == 4) return api().zul_SetPrinterProc4(name, fn, printer);
    else return api().zul_SetPrinterProc5(name, fn, printer);
  }
};

struct Procedure {
  const char* name;
  int (*set)(const char* name, VirtualPrinter* printer); // null printer: unassigned
};

#define ZULPOS_PROCEDURE(name)                                                                               \
  Procedure { #name, &Relay < &VirtualPrinter::name> ::Set }

const Procedure kProcedures[] = {
    ZULPOS_PROCEDURE(Abre_Comp_NFiscalVinc),
    ZULPOS_PROCEDURE(Usa_CompNFis),
    ZULPOS_PROCEDURE(Cupom_NFiscNVinc),
    ZULPOS_PROCEDURE(Relatorio_Gerencial_Imp),
    ZULPOS_PROCEDURE(FechRelatGerenc),
    ZULPOS_PROCEDURE(Fecha_Comp_NFiscalVinc),
    ZULPOS_PROCEDURE(GravaDocumentosNaoFiscais),
    ZULPOS_PROCEDURE(Guilhotina),
    ZULPOS_PROCEDURE(ImprimePadrao),
};

#undef ZULPOS_PROCEDURE

bool is_cutter(const Procedure& procedure) { return std::string(procedure.name) == "Guilhotina"; }

} // namespace

PrinterConnection::PrinterConnection(VirtualPrinter& printer, Cutter cutter) {
  for (const Procedure& procedure : kProcedures) {
    const bool connect = cutter == Cutter::Assigned || !is_cutter(procedure);
    Checked(procedure.set(procedure.name, connect ? &printer : nullptr));
  }
}

PrinterConnection::~PrinterConnection() {
  for (const Procedure& procedure : kProcedures) procedure.set(procedure.name, nullptr);
}

} // namespace zulpos
