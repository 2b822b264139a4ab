// The sale: DoTEF, and DoTef, the same routine under its plain name.
#include "tef/sale.h"
#include "capi/boundary.h"

using namespace zul00500;
using namespace zul00500::capi;

namespace {

int sale(const char* routine, const char* context, double amount, double amountDue, const char* kind,
         ZulList* receipts, int* approvedCount, int* transactionNumber, double* extraAmount,
         char* documentNumber, int documentNumberCapacity, char* field748, int field748Capacity,
         char* field013, int field013Capacity, char* field027, int field027Capacity) {
  return RunRoutine(routine, [&] {
    ZulList& receipts_out = Ref(receipts, "receipts");
    std::int32_t& approved = Ref(approvedCount, "approvedCount");
    std::int32_t& transaction = Ref(transactionNumber, "transactionNumber");
    double& extra = Ref(extraAmount, "extraAmount");
    StringRef document(routine, "documentNumber", documentNumber, documentNumberCapacity);
    StringRef f748(routine, "field748", field748, field748Capacity);
    StringRef f013(routine, "field013", field013, field013Capacity);
    StringRef f027(routine, "field027", field027, field027Capacity);

    // The caller's list, if any, is only looked at: the sale replaces it by
    // a new one and leaves the old one to the caller.
    std::shared_ptr<StringList> list = receipts_out ? ListRecord(receipts_out, "receipts").list : nullptr;
    const std::shared_ptr<StringList> before = list;
    // The new list goes back also when an error ends the sale after it was
    // made: the host owns it from then on.
    auto hand_back = [&] {
      if (list && list != before) receipts_out = NewListHandle(list);
    };
    bool paid = false;
    try {
      paid = zul00500::DoTEF(In(context), amount, amountDue, In(kind), list, approved, transaction, extra,
                             document.value, f748.value, f013.value, f027.value);
    } catch (...) {
      hand_back();
      throw;
    }
    hand_back();
    return Result(paid);
  });
}

} // namespace

int ZUL_CALL DoTEF(const char* context, double amount, double amountDue, const char* kind, ZulList* receipts,
                   int* approvedCount, int* transactionNumber, double* extraAmount, char* documentNumber,
                   int documentNumberCapacity, char* field748, int field748Capacity, char* field013,
                   int field013Capacity, char* field027, int field027Capacity) {
  return sale("DoTEF", context, amount, amountDue, kind, receipts, approvedCount, transactionNumber,
              extraAmount, documentNumber, documentNumberCapacity, field748, field748Capacity, field013,
              field013Capacity, field027, field027Capacity);
}

int ZUL_CALL DoTef(const char* context, double amount, double amountDue, const char* kind, ZulList* receipts,
                   int* approvedCount, int* transactionNumber, double* extraAmount, char* documentNumber,
                   int documentNumberCapacity, char* field748, int field748Capacity, char* field013,
                   int field013Capacity, char* field027, int field027Capacity) {
  return sale("DoTef", context, amount, amountDue, kind, receipts, approvedCount, transactionNumber,
              extraAmount, documentNumber, documentNumberCapacity, field748, field748Capacity, field013,
              field013Capacity, field027, field027Capacity);
}
