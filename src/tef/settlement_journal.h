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
