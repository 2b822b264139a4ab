// What one start of the host is to do: the runner writes it beside the case's
// records, and `zulpos rehearse --host-part PLAN` reads it in the host
// process it starts (and kills at a power cut).
#pragma once

#include <string>

namespace rehearsal {

struct HostPlan {
  std::string book;   // the book's native path; empty: the built-in book
  int case_index = 0; // in the book
  int first_step = 0; // the steps [first_step, end_step) of the case
  int end_step = 0;
  int start = 1;          // this start's number in the case, from 1
  std::string host_dir;   // native
  std::string drive_root; // native; empty: the package's default (attended mode)
  std::string events;     // native path of the event journal (appended)
  std::string paper;      // native path of the paper (appended)
  std::string lease;      // native path of the file the runner touches while it runs
};

// Both throw: tool_platform::Error for the file, BookError for its content.
void WritePlan(const HostPlan& plan, const std::string& path);
HostPlan ReadPlan(const std::string& path);

} // namespace rehearsal
