// The store of the manager's answers: sequence numbers, numbered backup
// names, and the removal of one transaction's answers.
#pragma once

#include <cstdint>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// A transaction's sequence: the last ten digits of the clock in sixtieths
// of a second.
std::string GetSequence();
// `directory` + the next numbered backup name ("intpos." and the number
// after the largest there, the working copy passed over).
std::string NewIntPosFileName(const std::string& directory);
// Removes the copies of the answer of `sequence` from `directory`, with its
// settlement notes; an empty sequence removes every "intpos.*" file there.
void DeleteIntPosFiles(const std::string& directory, const std::string& sequence);

// The number of a backup name's extension (the text after the last dot),
// with the blanks our own names carry. False for anything else: a status
// file, "intpos.tmp", "intpos.bak", a name without a dot. Such entries are
// not answers the package stored.
bool BackupNumber(const std::string& name, std::int64_t& number);

// Removes the stored answers of `sequence` from `root`'s response directory,
// then from the backup directory. An empty sequence removes nothing: it
// names no transaction, and would take every transaction's files. While a
// copy stays in the response directory (held by another program), or lies
// in another root's (the one that answered, for another root's network),
// the settlement notes of the answer stay with it; otherwise those of
// settlements the manager took become the answer's marks.
void DeleteTransactionFiles(const std::string& root, const std::string& sequence);

// Removes the backups of the answer of `sequence`, and keeps the notes of
// its settlements: for an answer left in a response directory for the next
// scan, they tell that scan what the manager already took. A backup that
// holds an approval awaiting its settlement stays for that scan too.
void DeleteBackupCopies(const std::string& sequence);

// Removes `directory` + `name`, and forgets it in the scan's index of the
// backup directory. False when the file is still there (held by another
// program).
bool RemoveStored(const std::string& directory, const std::string& name);

// Removes every copy of the answer of `sequence` once the manager took its
// settlement: from the response directory of every root (the answer may lie
// in one root while its network's manager is in another), then from the
// backup directory, and the settlement notes of it last. A stop in between
// leaves a note beside whatever copy is left, so that the next scan does
// not settle it again; so does a copy held by another program, or a file
// that could not be read to tell. An empty sequence removes nothing.
void RemoveSettledAnswer(const std::string& sequence);

// True when the backup directory holds a numbered backup of the answer of
// `sequence` (the working copy does not count).
bool BackedUp(const std::string& sequence);

// Gives the whole answer `answer`, read from `path` in a response directory,
// a numbered backup when no backup holds its sequence (one was lost to a
// power cut, or the package gave up waiting before it came), before
// something removes the file: the next scan then settles it. The
// settlement's clean-up by sequence removes the backup with the rest. An
// answer this process settled gets none. Throws FileError when the backup
// cannot be written: the caller must then leave the answer where it is.
void BackUpLoneAnswer(const std::string& path, const StringList& answer);

// BackUpLoneAnswer for an answer that can never be read whole (past the
// exchange limits): the backup holds its first whole lines, when they name
// a transaction still to settle. The next scan undoes it from them ("NCN").
// Throws FileError as BackUpLoneAnswer does.
void BackUpHeadOf(const std::string& path);

// Removes `path` unless it holds another transaction's answer (one whose
// 001-000 is not `sequence`): a manager may have written it there since.
void RemoveUnlessAnother(const std::string& path, const std::string& sequence);

// The manager took the "NCN" of `sequence`: the payment was undone, and its
// pending copy goes, or a printing run would print it as a saved receipt
// and a pending cancellation would cancel it again.
void RemoveUndonePendingCopy(const std::string& sequence);

// The printing run's end: every pending copy goes. One that cannot (its
// directory read-only for the moment) gets a mark under its answer's
// sequence in dsDirBkpTef + "Impressos\", so that a pending cancellation
// passes it over (PendingCopyPrinted) instead of cancelling a payment of a
// sale that is printed; a mark goes at a later run once its copy is gone.
// Throws nothing.
void EmptyPendingDirectoryAfterPrinting();
bool PendingCopyPrinted(const std::string& sequence);
// False when the payment of the answer `sequence` was undone or is still unsettled.
bool PaymentStands(const std::string& sequence);

// True while a copy of the answer of `sequence` lies in the backup
// directory or in a response directory: its transaction may still be open.
bool AnswerStored(const std::string& sequence);
// True while an "intpos.*" file of `directory` holds the answer of `sequence`.
bool AnswerIn(const std::string& directory, const std::string& sequence);

// Moves the working copy dsDirBkpTef + "intpos.001" to the next numbered
// backup name. A rename that fails is logged and the conversation goes on:
// the copy stays under its working name, where the next leftover scan
// settles it. True when it moved.
bool NumberWorkingCopy();
// Writes `text` as the working copy. One already there is a leftover of a
// conversation cut short (a settlement whose request could not be written,
// the answer already gone from its response directory): it is numbered
// first, as the leftover scan would, so that the new copy does not take the
// only record of an approval.
void WriteWorkingCopy(const std::string& text);

} // namespace zul00500
