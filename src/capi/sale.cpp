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
  return Talking(routine, OnTrue::AsSet, [&] {
    PaymentAmount(amount, "amount");
    PaymentAmount(amountDue, "amountDue");
    ZulList& receipts_out = Ref(receipts, "receipts");
    std::int32_t& approved = Ref(approvedCount, "approvedCount");
    std::int32_t& transaction = Ref(transactionNumber, "transactionNumber");
    double& extra = Ref(extraAmount, "extraAmount");
    StringRef document(routine, "documentNumber", documentNumber, documentNumberCapacity);
    StringRef f748(routine, "field748", field748, field748Capacity);
    StringRef f013(routine, "field013", field013, field013Capacity);
    StringRef f027(routine, "field027", field027, field027Capacity);

    // Every call puts a new list into the caller's variable, and the caller
    // owns it from then on. What the variable held before is not read, not
    // refilled and not released: a host that kept an earlier payment's list
    // still finds it as it was, and frees each list it was given.
    // The sale makes its list when it starts; it goes back also when an
    // error ends the sale after that.
    std::shared_ptr<StringList> list;
    auto hand_back = [&] {
      if (list) receipts_out = NewListHandle(list);
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
