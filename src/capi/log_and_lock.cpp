// The card log and the input lock.
#include "capi/boundary.h"
#include "support/card_log.h"
#include "support/input_lock.h"

using namespace zul00500;
using namespace zul00500::capi;

int ZUL_CALL LogCartao(const char* message) {
  return Reader("LogCartao", [&] {
    zul00500::LogCartao(In(message));
    return ZUL_TRUE;
  });
}

int ZUL_CALL DetectaFuncao(const char* library, const char* function, void** address) {
  return Reader("DetectaFuncao", [&] {
    void*& found = Ref(address, "address");
    return Result(zul00500::DetectaFuncao(In(library), In(function), found));
  });
}

int ZUL_CALL BloqueiaTeclado(void) {
  return Reader("BloqueiaTeclado", [] {
    zul00500::BloqueiaTeclado();
    return ZUL_TRUE;
  });
}

int ZUL_CALL DesbloqueiaTeclado(void) {
  return Reader("DesbloqueiaTeclado", [] {
    zul00500::DesbloqueiaTeclado();
    return ZUL_TRUE;
  });
}
