// A sale paid in one or more payments, the way a host runs it: one DoTEF per
// payment, each owing the total less the payments approved before it, the
// transaction number carried from call to call. Shared by `zulpos sale` and
// the demo.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "package.h"

namespace zulpos {

struct Payment {
  double amount = 0;
  bool result = false;
  std::int32_t approved = 0; // DoTEF's approved count: 1 for an approval with receipt
  std::int32_t transaction = 0;
  double extra = 0;
  std::string document, field748, field013, field027;
  // What the package noted on a payment that still went through (a value cut
  // to fit zulpos's buffer).
  std::string note;
};

struct SaleRun {
  std::vector<Payment> payments;  // those made: a payment that returns false is the last
  std::unique_ptr<List> receipts; // the last call's list
  bool paid = false;              // every payment returned true
  // Approved transactions with receipt: the printing run's transaction count.
  std::int32_t with_receipt = 0;
};

// `after_each` sees each payment as soon as its DoTEF returns.
SaleRun PaySale(const std::string& context, const std::vector<double>& amounts, double total,
                const std::string& kind,
                const std::function<void(std::size_t, const Payment&)>& after_each = {});

// Two decimals, dot separator: "40.00".
std::string Money(double value);

} // namespace zulpos
