// The exchange root and the network choice.
#include "capi/boundary.h"
#include "tef/network_choice.h"

using namespace zul00500;
using namespace zul00500::capi;

int ZUL_CALL TipoRede(const char* kind, char* choice, int choiceCapacity) {
  return Guarded("TipoRede", [&] {
    StringRef out("TipoRede", "choice", choice, choiceCapacity);
    out.value = zul00500::TipoRede(In(kind));
    return ZUL_TRUE;
  });
}

int ZUL_CALL CheckDirTef(char* root, int rootCapacity, const char* kind, int printerType) {
  return Talking("CheckDirTef", OnTrue::Done, [&] {
    StringRef out("CheckDirTef", "root", root, rootCapacity);
    return Result(zul00500::CheckDirTef(out.value, In(kind), printerType));
  });
}
