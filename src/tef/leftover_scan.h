// The leftover scan: CheckIntPosFiles, and its walk over one directory
// apart from what it does with each answer it finds (the benchmarks time the
// walk alone).
#pragma once

#include <functional>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// Settles the answers interrupted sales left in the response and backup
// directories. A status file is removed; an answer no manager can settle is
// moved to dsDirBkpTef + "Descartados\"; a file still being written is left
// for the next scan; an answer whose settlement the manager took before the
// package stopped (its note says so) is removed without a second one.
bool CheckIntPosFiles(const std::string& context, bool notConfirm);

// Walks the "intpos.*" entries of `directory` in listing order: the backup
// directory when `from_backup`, else a response directory; `origin` names it
// in the names of quarantined files. A status file in a response directory is
// removed; a backup entry that is not a numbered backup is passed over; each
// answer is read into `list` once it is whole. One that no manager can settle
// (no header, sequence or network, a NUL in a field it would send back, a
// network whose root is missing) is moved to the quarantine directory. One
// cut short for good is copied there first; it is handed on when what it
// holds names its transaction, else it is removed. A response file that
// keeps changing ends the walk with false: it is left for the next scan.
// A file past the exchange limits is handled as one cut short, from its
// first lines. Every other answer is handed to `settle` with its name, which removes it
// once settled; the walk stops, returning false, when `settle` does, and an
// answer whose settlement raises an error is quarantined.
// Copies a leftover byte for byte, a piece at a time, into dsDirBkpTef +
// "Descartados\", under a name of when and where (`origin`) it was found:
// its first kMaxExchangeBytes, and beside a longer one a note of its real
// size (".tamanho"). The original stays (the response directories may lie
// on another drive). Where the copy went, for the log. Throws FileError.
std::string KeepCopy(const std::string& directory, const std::string& name, const std::string& origin);
// KeepCopy, for the log: `verb` + " para ..." or, when no copy could be
// made (the till's disk is full), "sem cópia (why)". Throws nothing.
std::string KeepCopyIfPossible(const std::string& directory, const std::string& name, const std::string& origin,
                               const std::string& verb = "copiado");
// What SetAside does with a manager's file of which no copy can be made
// for a reason that may pass (a directory refused for a moment). A wait
// removes it all the same, for it stands in the manager's way (unless it
// is the awaited answer, with which the wait ends); the scan, which waits
// for nothing, leaves it for the next scan. A full disk, which
// lasts until a person frees room, has it removed in either case.
enum class NoCopy { Remove, LeaveForNextScan };
// Moves a leftover out of the way, logged with `reason`: the file stops
// every later sale no more. A backup moves into the quarantine directory;
// a manager's file is copied there (KeepCopy) and removed, or, when no copy
// can be made, dealt with as `noCopy` says. True when the file left.
bool SetAside(const std::string& directory, const std::string& name, const std::string& origin,
              const std::string& reason, NoCopy noCopy = NoCopy::Remove);
// Why no manager can settle `answer` (no header, sequence or network, a NUL
// in a field a settlement copies, a network whose root is missing), or empty
// when one can.
std::string Unsettleable(const StringList& answer);
// The log's words for a file past the exchange limits.
std::string TooLargeReason();

// An answer in `root`'s response directory past the exchange limits is
// malformed input, met by a wait for the answer to `sequence`. Its start is
// kept aside (KeepCopy), it is never loaded whole, and not confirmed ("NCN") when
// its first lines name a transaction. True when the wait ends with it: it
// was the awaited answer, or its non-confirmation was not taken (it then
// stays for the scan).
bool SetAsideTooLarge(const std::string& root, const std::string& sequence, const std::string& context);

bool WalkLeftovers(const std::string& directory, const std::string& origin, bool from_backup,
                   StringList& list, const std::function<bool(const std::string& name)>& settle);

} // namespace zul00500
