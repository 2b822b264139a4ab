// What VerificaRetorno reads from the answer it settles: the request that
// confirms it or not, and the notice of a transaction not confirmed.
#pragma once

#include <string>

#include "support/string_list.h"

namespace zul00500 {

// The "CNF" or "NCN" request (`operation`) for `answer`'s transaction, with
// its own `sequence`: 010-000, 012-000 and 027-000 copied trimmed, an
// empty one as "= ".
StringList SettlementRequest(const StringList& answer, const std::string& operation,
                             const std::string& sequence);
// "Valor: " and 003-000 in the regional currency format, or nothing when
// the answer carries no amount. One that is not a whole number of cents is
// logged and shown as it came.
std::string SettlementAmountText(const StringList& answer);
// The operator's notice: "Cancelada a Transação", the network, the document
// number when there is one (not "0"), then `amount`, CR LF between them.
std::string NotConfirmedNotice(const StringList& answer, const std::string& amount);
// The first of the fields a settlement request copies (010-000, 012-000,
// 027-000) whose value holds a NUL byte, or empty: such an answer is
// malformed, and its settlement is never sent.
std::string CopiedFieldWithNul(const StringList& answer);

} // namespace zul00500
