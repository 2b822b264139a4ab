// Undoing card transactions.
#include "cancellation/cancellation.h"
#include "capi/boundary.h"

using namespace zul00500;
using namespace zul00500::capi;

int ZUL_CALL CancelaTEF(const char* report1, const char* report2, const char* context, const char* copyChoice,
                        int position, int transactionCount, int printerType, const char* pendingSequence,
                        const char* unused, const char* amount, const char* network,
                        const char* documentNumber, const char* field022, const char* field023,
                        const char* mode, const char* standard2, const char* standard1, int printAndConfirm) {
  return Talking("CancelaTEF", OnTrue::AsSet, [&] {
    return Result(zul00500::CancelaTEF(
        In(report1), In(report2), In(context), In(copyChoice), position, transactionCount, printerType,
        In(pendingSequence), In(unused), CentsAmount(amount, "amount"), In(network), In(documentNumber),
        In(field022), In(field023), In(mode), In(standard2), In(standard1), printAndConfirm != 0));
  });
}

int ZUL_CALL CancelaTEFs(int unused) {
  return Guarded("CancelaTEFs", [&] {
    zul00500::CancelaTEFs(unused != 0);
    return ZUL_TRUE;
  });
}

int ZUL_CALL CancelaPendencia(const char* report1, const char* report2, const char* context,
                              const char* unused, int transactionCount, int printerType, const char* mode,
                              const char* standard2, const char* standard1) {
  return Talking("CancelaPendencia", OnTrue::Done, [&] {
    return Result(zul00500::CancelaPendencia(In(report1), In(report2), In(context), In(unused),
                                             transactionCount, printerType, In(mode), In(standard2),
                                             In(standard1)));
  });
}
