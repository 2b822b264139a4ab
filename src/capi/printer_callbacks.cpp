// The fiscal-printer procedures as the host's C callbacks.
#include "capi/boundary.h"
#include "printing/printer.h"
#include "support/text.h"

using namespace zul00500;
using namespace zul00500::capi;

namespace {

// Points a procedure variable at the host's callback (or leaves it
// unassigned for a null one). A negative result is the host's failure.
template <typename CProc, typename... Args>
void assign(std::function<bool(Args...)>& variable, void* fn, void* user, const char* name) {
  if (!fn) {
    variable = nullptr;
    return;
  }
  const auto proc = reinterpret_cast<CProc>(fn);
  variable = [proc, user, name](Args... args) {
    const int result = proc(user, args.c_str()...);
    if (result < 0) throw HostCallbackError(name, result);
    return result != 0;
  };
}

struct Procedure {
  const char* name;
  void (*set)(void* fn, void* user);
};

#define ZUL_PRINTER_PROCEDURE(name, arity)                                                                   \
  Procedure {                                                                                                \
#name, [](void* fn, void* user) { assign<ZulPrinterProc##arity>(zul00500::name, fn, user, #name); }      \
  }

const Procedure kProcedures[] = {
    ZUL_PRINTER_PROCEDURE(Abre_Comp_NFiscalVinc, 4),
    ZUL_PRINTER_PROCEDURE(Usa_CompNFis, 2),
    ZUL_PRINTER_PROCEDURE(Cupom_NFiscNVinc, 5),
    ZUL_PRINTER_PROCEDURE(Relatorio_Gerencial_Imp, 5),
    ZUL_PRINTER_PROCEDURE(FechRelatGerenc, 3),
    ZUL_PRINTER_PROCEDURE(Fecha_Comp_NFiscalVinc, 1),
    ZUL_PRINTER_PROCEDURE(GravaDocumentosNaoFiscais, 5),
    ZUL_PRINTER_PROCEDURE(Guilhotina, 2),
    ZUL_PRINTER_PROCEDURE(ImprimePadrao, 3),
};

#undef ZUL_PRINTER_PROCEDURE

} // namespace

int ZUL_CALL zul_SetPrinterProc(const char* name, void* fn, void* user) {
  return Guarded("zul_SetPrinterProc", [&] {
    const std::string wanted = In(name);
    for (const Procedure& procedure : kProcedures) {
      if (!SameText(procedure.name, wanted)) continue;
      procedure.set(fn, user);
      return ZUL_TRUE;
    }
    throw ArgumentError("name", "\"" + wanted + "\" is not a fiscal-printer procedure");
  });
}
