// What this process remembers of the settlements it saw, and of the
// managers it settled with. Nothing here outlives the process: what must
// (the notes, the marks, the takes never acknowledged) is kept on disk by
// journal.h and unacknowledged_takes.h, beside which this memory is read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zul00500 {

// Counts the settlements the manager took in this process (each "CNF" or
// "NCN" acknowledged, or found taken), and those sent (written to the
// manager, taken or not), so that a routine can tell whether one was taken,
// or may have been, since it started.
void CountSettlementTaken() noexcept;
void CountSettlementSent() noexcept;
class SettlementsSince {
public:
  SettlementsSince();
  bool Any() const;
  // Taken, or sent and perhaps taken: the transaction may stand.
  bool AnyOut() const;

private:
  std::uint64_t start_;
  std::uint64_t sent_start_;
};

// A confirmation ("CNF") that the manager did not take in time and that the
// package took back from its request directory: the payment or cancellation
// it was to confirm does not stand (the next scan not-confirms it). Kept by
// the settled answer's sequence, the last few, until the C interface takes
// them at the end of the routine (or at the start of the next), so that the
// routine reports it and its caller can tell.
void RememberConfirmationWithdrawn(const std::string& answerSequence) noexcept;
bool ConfirmationWithdrawn(const std::string& answerSequence);
std::vector<std::string> TakeWithdrawnConfirmations();

// What this process remembers of the settlements the manager took (the last
// few): the operation that settled the answer of `answerSequence`, or empty.
// It keeps a host that retries a routine which failed after the manager
// took its settlement from settling the transaction again. Initialize and
// Finalize forget everything, as a new process would.
void RememberSettled(const std::string& answerSequence, const std::string& operation);
std::string SettledInThisProcess(const std::string& answerSequence);
// How the manager of an exchange root took its last acknowledged request:
// true when the request had left the request directory, false when it lay
// there still. Unknown (false) until a status counted.
void RememberHowRequestsAreTaken(const std::string& root, bool removed);
bool RemovesRequests(const std::string& root);
// This process's memory of the requests the manager of an exchange root took
// and did not acknowledge in time (tef/unacknowledged_takes.h, which also
// keeps them on disk).
void RememberUnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation);
void ForgetUnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation);
bool UnacknowledgedTakeInThisProcess(const std::string& root, const std::string& operation);
// Exchange files (a root's status file, its answer file) that their
// manager was seen to end with the closing line: one without it there is
// more likely paused or cut short than ended. A manager may end one kind of
// file with it and not the other.
void RememberClosingLine(const std::string& path);
bool WritesClosingLine(const std::string& path);
// Forgets the memories above, as a new process would: the package's
// Initialize and Finalize, and tests that play a restart.
void ForgetSettledInThisProcess();

} // namespace zul00500
