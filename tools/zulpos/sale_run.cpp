#include "sale_run.h"

#include <cstdio>

#include "options.h"

namespace zulpos {

SaleRun PaySale(const std::string& context, const std::vector<double>& amounts, double total,
                const std::string& kind, const std::function<void(std::size_t, const Payment&)>& after_each) {
  SaleRun sale;
  std::int32_t transaction = 0;
  double approved_so_far = 0;
  sale.paid = true;
  for (std::size_t i = 0; i < amounts.size() && sale.paid; ++i) {
    Payment payment;
    payment.amount = amounts[i];
    char document[ZUL_FIELD_CAPACITY] = "", field748[ZUL_F748_CAPACITY] = "";
    char field013[ZUL_FIELD_CAPACITY] = "", field027[ZUL_F027_CAPACITY] = "";
    ZulList receipts = nullptr;
    const int result =
        api().DoTEF(context.c_str(), payment.amount, total - approved_so_far, kind.c_str(), &receipts,
                    &payment.approved, &transaction, &payment.extra, document, sizeof document, field748,
                    sizeof field748, field013, sizeof field013, field027, sizeof field027);
    // Every DoTEF hands back a new list of its own; the sale keeps the last
    // one (the one to print) and frees the one before.
    if (receipts) sale.receipts = std::make_unique<List>(receipts);
    payment.result = Checked(result);
    payment.note = LastNote();
    payment.document = document;
    payment.field748 = field748;
    payment.field013 = field013;
    payment.field027 = field027;
    payment.transaction = transaction;
    if (payment.result) approved_so_far += payment.amount;
    sale.with_receipt += payment.approved;
    sale.paid = payment.result;
    sale.payments.push_back(payment);
    if (after_each) after_each(i, sale.payments.back());
  }
  return sale;
}

std::string Money(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

} // namespace zulpos
