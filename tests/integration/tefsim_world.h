// Integration tests in real time: a temporary drive and host folder, the real
// tefsim serving some exchange roots, and zulpos run against it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/temp_world.h"
#include "tool_platform/spawn.h"

namespace zul00500::testing {

struct ZulposRun {
  std::optional<int> status; // nothing when it did not end in time
  std::vector<std::string> output;
  bool Said(const std::string& line) const;
};

class TefsimWorld : public ::testing::Test {
protected:
  TefsimWorld();
  ~TefsimWorld() override;

  // Starts tefsim with `roots` ("dial,disc,hiper") and further options, and
  // waits until its directories are there.
  void StartTefsim(const std::string& roots, const std::vector<std::string>& options = {});
  // Stops tefsim (so its log is complete) and returns the log's lines.
  std::vector<std::string> StopTefsim();

  // Starts zulpos with the world's host folder, drive and dialog journal,
  // its output going to the native file `output`.
  tool_platform::ChildProcess StartZulpos(const std::vector<std::string>& arguments,
                                          const std::string& output);
  // Runs zulpos as StartZulpos does and waits for it.
  ZulposRun Zulpos(const std::vector<std::string>& arguments, std::uint32_t limit_ms = 60'000);

  // zulpos or tefsim, built beside the test program, or the copy of it
  // CopyProgramsTo() made.
  std::string Program(const char* name) const;
  // Copies zulpos, tefsim and the package's library they load into the
  // native folder `folder` (made), each readable and runnable by all, and
  // starts the copies from then on: a build tree may be closed to the user
  // a test becomes (tests/support/as_nobody.h).
  void CopyProgramsTo(const std::string& folder);
  // Lines of a native file; empty when it does not exist.
  static std::vector<std::string> Lines(const std::string& native_path);
  static bool AnyLineHas(const std::vector<std::string>& lines, const std::string& a,
                         const std::string& b = {});

  TempWorld world_;
  std::string backup_;  // the package's backup directory
  std::string pending_; // the package's pending directory
  std::string journal_;
  std::string tefsim_log_;
  std::optional<tool_platform::ChildProcess> tefsim_;

private:
  std::string programs_; // the folder of zulpos and tefsim, with its separator
};

} // namespace zul00500::testing
