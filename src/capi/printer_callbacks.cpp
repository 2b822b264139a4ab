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
    const int result = CallHost([&] { return proc(user, args.c_str()...); });
    if (result < 0) throw HostCallbackError(name, result);
    return result != 0;
  };
}

struct Procedure {
  const char* name;
  int arity;
  void (*set)(void* fn, void* user);
};

#define ZUL_PRINTER_PROCEDURE(name, arity)                                                                   \
  Procedure {                                                                                                \
#name, arity,                                                                                            \
        [](void* fn, void* user) { assign<ZulPrinterProc##arity>(zul00500::name, fn, user, #name); }         \
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

const Procedure& procedure_named(const char* name) {
  const std::string wanted = In(name);
  for (const Procedure& procedure : kProcedures)
    if (SameText(procedure.name, wanted)) return procedure;
  throw ArgumentError("name", "\"" + wanted + "\" is not a fiscal-printer procedure");
}

// The typed setters: a procedure of another type is refused before it can
// be called with the wrong number of arguments.
template <int Arity, typename Proc>
int set_typed(const char* routine, const char* name, Proc fn, void* user) {
  return Guarded(routine, [&] {
    const Procedure& procedure = procedure_named(name);
    if (procedure.arity != Arity)
      throw ArgumentError("name",
                          "\"" + std::string(procedure.name) + "\" takes " + std::to_string(procedure.arity) +
                              " texts: set it with zul_SetPrinterProc" + std::to_string(procedure.arity));
    procedure.set(reinterpret_cast<void*>(fn), user);
    return ZUL_TRUE;
  });
}

} // namespace

int ZUL_CALL zul_SetPrinterProc1(const char* name, ZulPrinterProc1 fn, void* user) {
  return set_typed<1>("zul_SetPrinterProc1", name, fn, user);
}
int ZUL_CALL zul_SetPrinterProc2(const char* name, ZulPrinterProc2 fn, void* user) {
  return set_typed<2>("zul_SetPrinterProc2", name, fn, user);
}
int ZUL_CALL zul_SetPrinterProc3(const char* name, ZulPrinterProc3 fn, void* user) {
  return set_typed<3>("zul_SetPrinterProc3", name, fn, user);
}
int ZUL_CALL zul_SetPrinterProc4(const char* name, ZulPrinterProc4 fn, void* user) {
  return set_typed<4>("zul_SetPrinterProc4", name, fn, user);
}
int ZUL_CALL zul_SetPrinterProc5(const char* name, ZulPrinterProc5 fn, void* user) {
  return set_typed<5>("zul_SetPrinterProc5", name, fn, user);
}

// Kept for the hosts written before the typed setters: the type is the
// caller's word.
int ZUL_CALL zul_SetPrinterProc(const char* name, void* fn, void* user) {
  return Guarded("zul_SetPrinterProc", [&] {
    procedure_named(name).set(fn, user);
    return ZUL_TRUE;
  });
}
