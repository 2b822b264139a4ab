#include "sale_run.h"

#include <cstdio>

#include "zul00500/sale.h"

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
    payment.result = zul00500::DoTEF(context, payment.amount, total - approved_so_far, kind, sale.receipts,
                                     payment.approved, transaction, payment.extra, payment.document,
                                     payment.field748, payment.field013, payment.field027);
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
