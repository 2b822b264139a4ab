// CancelaTEF as CancelaPendencia needs it: with word of whether the
// cancellation was settled.
#pragma once

#include <cstdint>
#include <string>

namespace zul00500 {

// CancelaTEF, which it implements. `settled` becomes true when the
// cancellation receipt was printed and the manager took its confirmation:
// the cancelled transaction is then undone for good, and its pending copy
// may go even when it carries no sequence to find it by.
bool CancelTransaction(const std::string& report1, const std::string& report2, const std::string& context,
                       const std::string& copyChoice, std::int32_t transactionCount, std::int32_t printerType,
                       const std::string& pendingSequence, const std::string& amount,
                       const std::string& network, const std::string& documentNumber,
                       const std::string& field022, const std::string& field023, const std::string& mode,
                       const std::string& standard2, const std::string& standard1, bool printAndConfirm,
                       bool& settled);

} // namespace zul00500
