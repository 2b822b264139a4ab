// Runs a book's cases, each in a fresh drive root and host directory: the
// managers played by tefsim (one per running root, with the case's
// scenario), the host's steps run by zulpos processes that a power cut kills
// and the next start replaces. Attended, the real manager answers on the real
// drives (or --drive-root) and the operator is told what to do first.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "rehearsal/book.h"
#include "rehearsal/record.h"

namespace rehearsal {

struct RunOptions {
  std::string program;   // zulpos itself, started for each start of the host
  std::string package;   // --package for those starts; empty: their default
  std::string tefsim;    // the simulator
  std::string book_path; // native; empty: the built-in book
  // Each case's folder is work_dir/NN-name (its drive root, host directory
  // and records); the report links to them.
  std::string work_dir;
  std::string report_dir; // the report's folder, which links to the cases' folders; empty: none
  bool attended = false;
  std::string drive_root; // attended: where the real manager's roots are; empty: the real drives
  int jobs = 4;           // cases run at once (attended: one)
  // Attended: where the operator is told what to do, and says when ready.
  std::istream* operator_in = nullptr;
  std::ostream* operator_out = nullptr;
  // Told of each case as it ends (from the case's thread, one at a time).
  std::function<void(const CaseRecord&)> on_case_done;
};

// The cases `selected` (indices into the book), in book order.
std::vector<CaseRecord> RunCases(const Book& book, const std::vector<int>& selected,
                                 const RunOptions& options);

// "07-power-cut-after-answer": a case's folder name.
std::string CaseFolderName(int index, const std::string& name);

} // namespace rehearsal
