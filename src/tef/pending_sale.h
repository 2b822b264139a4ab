// The pending copies of a sale that was not finished, and the sale that
// would destroy them.
//
// A partial payment's pending copy, "intpos." + its number within the sale,
// is the only record of a payment that stands confirmed at the manager: the
// sale's printing run prints it, and a pending cancellation undoes it. The
// sale that made it is recognised by the transaction count the host passes
// with every payment: 0 when a sale starts, then grown by one with each
// approval with receipt, so that the sale's own copies are numbered 1 to
// that count and its next partial payment is written as the next number. A
// copy numbered above the count passed is therefore another sale's (a new
// sale passes 0): the sale in hand would write its own copies over it, or
// its printing run would end it unprinted. Copies of payments that do not
// stand (undone, or still to be settled by the next scan), of sales already
// printed, and of payments whose cancellation went through count for none.
// The rule needs nothing kept in the process: after a restart every copy left
// is another sale's for a new sale, and still its own for a host that goes on
// with the interrupted sale and passes its count.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/errors.h"

namespace zul00500 {

// The names ("intpos.1") of the copies in the pending directory that belong
// to no sale whose count is `transactionNumber` and record payments that
// stand, in increasing order of their numbers. Reads only.
std::vector<std::string> PendingCopiesOfAnotherSale(std::int32_t transactionNumber);

// The highest number among the copies `names` ("intpos.3" gives 3): the
// count that takes them all; 0 for none.
std::int32_t HighestCopyNumber(const std::vector<std::string>& names);

// The copies `names` in one text for the log and the host: the pending
// directory, then the names.
std::string PendingCopiesText(const std::vector<std::string>& names);

// What the operator is told when a sale is refused for them.
std::string PendingSaleNotice();

// DoTEF refused: a sale not finished left pending copies that this sale
// could destroy.
class PendingSaleError : public Error {
public:
  using Error::Error;
};

} // namespace zul00500
