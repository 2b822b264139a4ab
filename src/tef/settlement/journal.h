// The settlement's home: how every approved answer is closed at its
// manager exactly once.
//
// The invariant. Each approved answer (a sale, a cheque, a cancellation)
// gets one settlement that its manager takes: one "CNF" or one "NCN",
// never both, never two, never none, whatever stops the package between
// any two file operations, and whoever finds the answer next (the routine
// that got it, the printing run, the scan of leftovers, the pending
// cancellation, a restarted till). A cancellation's confirmation also ends
// the pending copy of the payment it cancelled, once and for good.
//
// The order of the file operations it relies on, for the answer of sequence
// A settled by the request of sequence R in root T:
//  1. Before anything reads "Pendente\" or empties a response directory:
//     EndPendingCopiesOfTakenSettlements (doubts left by a stop settled,
//     notes of requests the manager acknowledged marked so, pending copies
//     that taken settlements end removed).
//  2. Asked to settle A: SettlementTaken / SettledAs (notes, then marks,
//     then memory.h) tell whether a settlement of A was taken already;
//     then nothing is sent again, and the copies of A go (step 6).
//  3. Before a request replaces T's "req\intpos.001":
//     ForgetUntakenSettlements(T), which takes back and forgets the notes of
//     requests never taken there.
//  4. The request is written to "req\~intpos.001.tmp" and flushed; its note
//     "Liquidando\R" (the request, "001-000 = A", and what more it says) is
//     written whole (temporary, flush, rename); only then does the
//     temporary take the name "req\intpos.001". A request that cannot take
//     its name loses its note before its temporary.
//  5. The status wait (activity_check.cpp). Acknowledged: the settlement
//     was taken (a request left in "req\" notes "Recebido" first, a status
//     held in doubt "Em duvida"). Not acknowledged in 15 s: a request still
//     in "req\" is taken back by one rename to "req\~intpos.R.ret", then
//     its note goes, then the withdrawn file (ForgetSettlementIfUntaken);
//     one the manager took keeps its note, and the take is recorded
//     (unacknowledged_takes.h) so that its late status is not counted for
//     the next request.
//  6. Taken: every copy of A goes, each root's "resp\" first, then the
//     backup directory (store.h, RemoveSettledAnswer); only when none is
//     left does the note become the mark "Liquidados\A" by one rename
//     (MarkSettled), kept two days. A copy that stays (held by another
//     program, a read-only directory) keeps the note beside it.
//  7. An "NCN" taken also removes the undone payment's pending copy; a
//     cancellation's "CNF" names the payment's in its note ("Pendente = "),
//     and whoever finds the note taken removes that copy.
//
// The files: notes and marks here; VerificaRetorno, which settles an
// answer, in confirmation.h; the answers' copies and their removal in
// store.h; the scan's index of the backup directory in backup_index.h;
// what one process remembers in memory.h; the takes never acknowledged in
// unacknowledged_takes.h; the request's text in request.h. Outside this
// folder: the status wait (activity_check.cpp) and the request file
// (exchange_file.cpp, SaveRequest).
//
// What the package notes of a settlement ("CNF" or "NCN") while its request
// may be with the manager, so that the next start knows whether the manager
// took it.
//
// Without the note, a power cut or a kill after the manager took the request
// and before the answer's files were removed leaves an answer that the next
// scan settles a second time. The note is written before the request takes
// its name; it is a file in the backup directory's "Liquidando\\" folder, named by the request's
// sequence, holding the request as written and then the settled answer's
// sequence line: the clean-up of the transaction's files by its sequence
// removes it with them, and it is no numbered backup. A request counts as
// not taken while it lies in the request directory or in the temporary it
// is written through, unless the manager acknowledged it (a manager may
// leave the requests it took where they are).
#pragma once

#include <string>
#include <vector>

#include "support/string_list.h"

namespace zul00500 {

// Notes `request`, settling the answer of `answerSequence`, before it goes
// into its root's request directory. Throws FileError: the request must not
// go out unnoted.
void NoteSettlementSent(const StringList& request, const std::string& answerSequence);

// While one lives, the settlement noted also ends the pending copy of the
// payment of `pendingSequence` (a cancellation's confirmation ends the
// payment it cancelled): the note says so, and whoever finds the note taken
// removes that copy with the rest, so that no pending cancellation offers
// the payment again.
class SettlementEndsPendingCopy {
public:
  explicit SettlementEndsPendingCopy(const std::string& pendingSequence);
  ~SettlementEndsPendingCopy();
  SettlementEndsPendingCopy(const SettlementEndsPendingCopy&) = delete;
  SettlementEndsPendingCopy& operator=(const SettlementEndsPendingCopy&) = delete;

private:
  std::string previous_;
};

// True when a settlement the manager took ends the pending copy of the
// payment of `pendingSequence`: its cancellation went through.
bool PendingCopyEnded(const std::string& pendingSequence);

// The manager acknowledged the settlement request of `requestSequence`
// while leaving it in its request directory: its note says so before the
// status file that tells it goes.
void NoteKeptSettlementAcknowledged(const std::string& requestSequence);

// A status that may acknowledge the settlement request of `requestSequence`
// came while the request lay in the request directory, and is held in doubt
// (it may be another request's). Its note says so: should the package stop
// before the doubt ends, the next start waits, as the hold would have, for
// the request to leave before anything replaces it, and takes it as taken
// either way.
void NoteSettlementHeldInDoubt(const std::string& requestSequence);

// After a stop, before anything reads the pending directory or empties a
// response directory: notes whose request still lies in its request
// directory while that root's status file acknowledges it are marked as
// acknowledged; then the pending copies that settlements the manager took
// end are removed.
void EndPendingCopiesOfTakenSettlements();

// `request` could not be written: the caller decides what comes next, as
// without the note, so the note goes.
void ForgetSettlement(const StringList& request);

// The manager did not acknowledge `request` in time. While the request
// still lies in the request directory (or its temporary), the manager never
// took it: the package takes it back, and the note goes once it did; once it
// is gone, or when it cannot be removed, the note stays, so that the next
// scan does not settle the answer again. True when it was taken back: the
// manager can no longer take it, and the transaction stays as it was until
// the next scan settles it.
bool ForgetSettlementIfUntaken(const StringList& request);

// Once every copy of the answer of `answerSequence` is gone: the notes of
// settlements the manager took become its marks, kept for two days in the
// backup directory's "Liquidados\\", so that a copy the manager writes
// again later, even after a restart, is not settled a second time. The
// notes of requests not taken go.
void MarkSettled(const std::string& answerSequence);

// The notes' folder in the backup directory. Notes lie out of reach of the
// "intpos.*" pattern that every reader of that directory uses, so that none
// takes a note for an answer.
inline constexpr const char* kNotesFolder = "Liquidando\\";

// True for the name of a settlement note, relative to the backup directory:
// kNotesFolder + a sequence, or the name an earlier version gave notes in
// the directory itself ("intpos.r" + a sequence).
bool IsSettlementNote(const std::string& name);

// Lists the notes of the backup directory, by their names relative to it.
// Notes under the earlier name are moved into the folder first; one that
// cannot be moved is listed where it is.
std::vector<std::string> ListSettlementNotes();

// Before a new request replaces `root`'s request file: a noted settlement
// request not taken now never will be; its note goes.
void ForgetUntakenSettlements(const std::string& root);

// For a leftover answer of `answerSequence`: the operation ("CNF" or "NCN")
// of a noted settlement the manager took, or of its mark, or empty when
// there is none; then the answer is settled as usual. Notes of requests not
// taken go.
std::string SettlementTaken(const std::string& answerSequence);
// The same, without touching anything.
std::string SettledAs(const std::string& answerSequence);

} // namespace zul00500
