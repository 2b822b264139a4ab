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
};

struct Procedure {
  const char* name;
  void* callback;
};

#define ZULPOS_PROCEDURE(name)                                                                               \
  Procedure { #name, reinterpret_cast < void*>(&Relay <&VirtualPrinter::name>::Call) }

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
    Checked(api().zul_SetPrinterProc(procedure.name, connect ? procedure.callback : nullptr, &printer));
  }
}

PrinterConnection::~PrinterConnection() {
  for (const Procedure& procedure : kProcedures) api().zul_SetPrinterProc(procedure.name, nullptr, nullptr);
}

} // namespace zulpos
