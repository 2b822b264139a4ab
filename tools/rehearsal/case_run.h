// One case's run: its folders, managers and starts of the host, and what
// they recorded, gathered into a CaseRecord (evidence.h) and judged
// (judge.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rehearsal/book.h"
#include "rehearsal/record.h"
#include "rehearsal/runner.h"

namespace rehearsal {

// Where a drive path ("c:\tef_dial\resp\") lives: under `drive_root` as the
// package maps it (c:\ is DRIVE_ROOT/c), or the path itself when there is no
// drive root (the real drives of Windows).
std::string NativeDrivePath(const std::string& drive_root, const std::string& path);

// The host's starts: the steps [first, end) each runs. A power cut ends a
// start; `restart` begins a new one.
std::vector<std::pair<int, int>> HostStarts(const Case& rehearsed);

CaseRecord RunCase(const Book& book, int index, const RunOptions& options);

} // namespace rehearsal
