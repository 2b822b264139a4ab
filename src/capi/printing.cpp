// Receipt printing: the printing run and the three printing routines.
#include "printing/printing.h"
#include "capi/boundary.h"

using namespace zul00500;
using namespace zul00500::capi;

int ZUL_CALL ImprCupons(ZulList receipts, int receiptCount, int transactionCount, int printerType,
                        const char* voucher1, const char* voucher2, const char* context, const char* report1,
                        const char* report2, const char* copyChoice, const char* mode, const char* standard2,
                        const char* standard1, double amount) {
  return Talking("ImprCupons", OnTrue::Done, [&] {
    VoucherAmount(amount, "amount");
    return Result(zul00500::ImprCupons(*HoldList(receipts, "receipts"), receiptCount, transactionCount,
                                       printerType, In(voucher1), In(voucher2), In(context), In(report1),
                                       In(report2), In(copyChoice), In(mode), In(standard2), In(standard1),
                                       amount));
  });
}

int ZUL_CALL ImprCupom(const char* report1, const char* report2, const char* context, const char* copyChoice,
                       ZulList answer, int frameworkCopies, int transactionCount, int printerType,
                       int ownDocument, int skipSaved, const char* mode, const char* standard2,
                       const char* standard1) {
  return Talking("ImprCupom", OnTrue::Done, [&] {
    return Result(zul00500::ImprCupom(In(report1), In(report2), In(context), In(copyChoice),
                                      *HoldList(answer, "answer"), frameworkCopies, transactionCount,
                                      printerType, ownDocument != 0, skipSaved != 0, In(mode), In(standard2),
                                      In(standard1)));
  });
}

int ZUL_CALL ImprCupom_FrameWork(const char* report1, const char* report2, const char* context,
                                 const char* copyChoice, ZulList answer, int copies, int transactionCount,
                                 int printerType, int ownDocument, int skipSaved) {
  return Talking("ImprCupom_FrameWork", OnTrue::Done, [&] {
    return Result(zul00500::ImprCupom_FrameWork(In(report1), In(report2), In(context), In(copyChoice),
                                                *HoldList(answer, "answer"), copies, transactionCount,
                                                printerType, ownDocument != 0, skipSaved != 0));
  });
}

int ZUL_CALL ImprCupomRG_FrameWork(const char* report1, const char* report2, const char* context,
                                   ZulList answer, int copies, int transactionCount, int printerType,
                                   int ownDocument, int skipSaved) {
  return Talking("ImprCupomRG_FrameWork", OnTrue::Done, [&] {
    return Result(zul00500::ImprCupomRG_FrameWork(In(report1), In(report2), In(context),
                                                  *HoldList(answer, "answer"), copies, transactionCount,
                                                  printerType, ownDocument != 0, skipSaved != 0));
  });
}
