// The package's exported variables, reached by name.
#include <utility>

#include "capi/boundary.h"
#include "support/state.h"
#include "support/text.h"

using namespace zul00500;
using namespace zul00500::capi;

namespace {

const std::pair<const char*, std::string*> kStrings[] = {
    {"stMensagem_Zul00500", &stMensagem_Zul00500},
    {"dsDirPenTef", &dsDirPenTef},
    {"dsDirBkpTef", &dsDirBkpTef},
    {"dsDirTef", &dsDirTef},
    {"DirTef", &DirTef},
    {"stNrCupom", &stNrCupom},
    {"stNrSerie", &stNrSerie},
    {"stArquivo", &stArquivo},
};
const std::pair<const char*, std::int32_t*> kIntegers[] = {
    {"inContCuponsTEF", &inContCuponsTEF},
    {"Zul_IdTipoImp", &Zul_IdTipoImp},
    {"inContTransacoes", &inContTransacoes},
    {"inSecTef", &inSecTef},
};
const std::pair<const char*, double*> kReals[] = {
    {"doTrocoTef", &doTrocoTef},
    {"doAPagar", &doAPagar},
    {"doValorTef", &doValorTef},
};

// The variable `name` among `table`; names match as the host's language
// matches identifiers, without regard to case.
template <typename T, std::size_t N>
T& Variable(const std::pair<const char*, T*> (&table)[N], const char* name, const char* kind) {
  const std::string wanted = In(name);
  for (const auto& [known, variable] : table)
    if (SameText(known, wanted)) return *variable;
  throw ArgumentError("name", "\"" + wanted + "\" is not an exported " + kind + " variable");
}

} // namespace

int ZUL_CALL zul_GetStr(const char* name, char* value, int capacity) {
  return Reader("zul_GetStr",
                [&] { return CopyOut(Variable(kStrings, name, "string"), value, capacity, "zul_GetStr"); });
}

int ZUL_CALL zul_SetStr(const char* name, const char* value) {
  return Guarded("zul_SetStr", [&] {
    Variable(kStrings, name, "string") = In(value);
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_GetInt(const char* name, int* value) {
  return Reader("zul_GetInt", [&] {
    Ref(value, "value") = Variable(kIntegers, name, "integer");
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_SetInt(const char* name, int value) {
  return Guarded("zul_SetInt", [&] {
    Variable(kIntegers, name, "integer") = value;
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_GetFloat(const char* name, double* value) {
  return Reader("zul_GetFloat", [&] {
    Ref(value, "value") = Variable(kReals, name, "real");
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_SetFloat(const char* name, double value) {
  return Guarded("zul_SetFloat", [&] {
    Variable(kReals, name, "real") = value;
    return ZUL_TRUE;
  });
}

ZulList ZUL_CALL zul_GetList(const char* name) {
  ClearLastError();
  try {
    if (!SameText(In(name), "stlCuponsTEF"))
      throw ArgumentError("name", "\"" + In(name) + "\" is not an exported list variable");
    // One handle for the package's list, made with the list when the host
    // asks before anything assigned one.
    static ZulList handle = nullptr;
    if (!stlCuponsTEF) stlCuponsTEF = std::make_shared<StringList>();
    if (!handle) handle = NewListHandle(stlCuponsTEF, true);
    ListRecord(handle, "name").list = stlCuponsTEF;
    return handle;
  } catch (...) {
    FailWithCurrentException("zul_GetList");
    return nullptr;
  }
}
