// The leftover scan's walk over one directory, apart from what it does with
// each answer it finds (the benchmarks time the walk alone).
#pragma once

#include <functional>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// Walks the "intpos.*" entries of `directory` in listing order: the backup
// directory when `from_backup`, else a response directory; `origin` names it
// in the names of quarantined files. A status file in a response directory is
// removed; a backup entry that is not a numbered backup is passed over; each
// answer is read into `list` once it is whole (a response file still being
// written is left for the next scan) and one that no manager can settle is
// quarantined. Every other answer is handed to `settle` with its name; the
// walk stops, returning false, when `settle` does.
bool WalkLeftovers(const std::string& directory, const std::string& origin, bool from_backup,
                   StringList& list, const std::function<bool(const std::string& name)>& settle);

} // namespace zul00500
