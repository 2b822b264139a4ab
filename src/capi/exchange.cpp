// Conversations with the manager outside the sale: the activity check, the
// confirmation of an answer and the leftover scan.
#include "capi/boundary.h"
#include "tef/tef.h"

using namespace zul00500;
using namespace zul00500::capi;

int ZUL_CALL CheckGPAtivo(const char* operation, const char* sequence) {
  return Guarded("CheckGPAtivo", [&] { return Result(zul00500::CheckGPAtivo(In(operation), In(sequence))); });
}

int ZUL_CALL VerificaRetorno(const char* context, ZulList answer, int notConfirm, const char* unused) {
  return Guarded("VerificaRetorno", [&] {
    return Result(
        zul00500::VerificaRetorno(In(context), *HoldList(answer, "answer"), notConfirm != 0, In(unused)));
  });
}

int ZUL_CALL CheckIntPosFiles(const char* context, int notConfirm) {
  return Guarded("CheckIntPosFiles",
                 [&] { return Result(zul00500::CheckIntPosFiles(In(context), notConfirm != 0)); });
}
