// What a sale reads from the manager's accepted answer, apart from the
// conversation: the verdict, the amounts and the values the host gets back.
#pragma once

#include <optional>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

struct SaleAnswer {
  bool approved = false;       // 009-000 is "0"
  bool with_receipt = false;   // 028-000 neither empty nor "0"
  std::optional<double> extra; // 709-000 in currency units
  double amount = 0;           // 003-000 in currency units, read when approved with receipt
  // The values returned to the host, each only when the answer carries it.
  std::optional<std::string> document; // 012-000
  std::optional<std::string> field013; // 013-000
  std::optional<std::string> field027; // characters 13 to 23 of 027-000
  std::optional<std::string> field748; // first 10 characters of the raw 748-000, trimmed
};

// Reads every number before anything is changed: a malformed answer (an
// amount or count that is not a number, a count out of range, a NUL byte
// inside any value) raises
// ConvertError naming the field, and the host's variables and the stored
// files stay as they were, for the next leftover scan. A refusal stays a
// refusal whatever its 028-000 says.
SaleAnswer ReadSaleAnswer(const StringList& answer);

} // namespace zul00500
