// Undoing card transactions: one cancellation with the manager, the deletion
// of a sale's answers, and the cancellation of every pending partial payment.
#pragma once

#include <cstdint>
#include <string>

namespace zul00500 {

// Cancels one transaction with a "CNC" request to the manager of `network`
// (DirTef is pointed at it first). `amount`, `network`, `documentNumber`,
// `field022` and `field023` go into the request unchanged. With
// `printAndConfirm`, an answer carrying receipt lines is printed through
// ImprCupom (report1, report2, context, copyChoice, transactionCount,
// printerType, mode, standard2, standard1) and confirmed ("CNF"), or not
// confirmed ("NCN") when it did not print; a printed and confirmed
// cancellation removes the pending copy of `pendingSequence` (none when it
// is empty: an empty sequence names no transaction). Otherwise only the
// manager's message is shown.
//
// True once the manager acknowledged the request, whatever it decided;
// false when it is not active, did not acknowledge, or never answered
// within the answer wait's bound (the operator is told "TimeOut"), or when
// the confirmation of its approved cancellation was taken back from a
// manager that did not take it: the cancellation does not stand (the
// operator is told its printed receipt is void; the next scan undoes it). Every
// exchange file of the cancellation is removed once the request was
// acknowledged, also when an error passes through.
bool CancelaTEF(const std::string& report1, const std::string& report2, const std::string& context,
                const std::string& copyChoice, std::int32_t position, std::int32_t transactionCount,
                std::int32_t printerType, const std::string& pendingSequence, const std::string& unused,
                const std::string& amount, const std::string& network, const std::string& documentNumber,
                const std::string& field022, const std::string& field023, const std::string& mode,
                const std::string& standard2, const std::string& standard1, bool printAndConfirm);

// For every transaction block of stlCuponsTEF (1 to inContCuponsTEF), points
// DirTef at its network and deletes the manager's answers of its sequence (a
// block without one deletes nothing). Sends nothing, shows nothing; the list
// and the count stay as they are.
void CancelaTEFs(bool unused);

// Cancels, through CancelaTEF with printing and confirmation, every pending
// copy numbered 1 to `transactionCount`, pass after pass, until none is left
// (true); a settled copy without sequence is removed by its name. A pass that
// removes no pending copy ends the run: what is left is logged and the
// result is false.
bool CancelaPendencia(const std::string& report1, const std::string& report2, const std::string& context,
                      const std::string& unused, std::int32_t transactionCount, std::int32_t printerType,
                      const std::string& mode, const std::string& standard2, const std::string& standard1);

} // namespace zul00500
