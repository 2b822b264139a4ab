// The leftover scan's walk over one directory, apart from what it does with
// each answer it finds (the benchmarks time the walk alone).
#pragma once

#include <functional>
#include <string>

#include "zul00500/string_list.h"

namespace zul00500 {

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
// Every other answer is handed to `settle` with its name, which removes it
// once settled; the walk stops, returning false, when `settle` does, and an
// answer whose settlement raises an error is quarantined.
// Moves a leftover byte for byte into dsDirBkpTef + "Descartados\", under a
// name of when and where (`origin`) it was found, so that it stops every
// later sale no more, and logs the move with `reason`. Throws FileError.
void SetAside(const std::string& directory, const std::string& name, const std::string& origin,
              const std::string& reason);

// The lines of a file cut short that end with a line end: what it says for
// sure. Empty when the file is gone.
StringList WholeLines(const std::string& path);

bool WalkLeftovers(const std::string& directory, const std::string& origin, bool from_backup,
                   StringList& list, const std::function<bool(const std::string& name)>& settle);

} // namespace zul00500
