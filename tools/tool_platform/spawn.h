// Starting and stopping another program: the command-line host's demo runs
// the manager simulator beside the package.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tool_platform {

struct SpawnOptions {
  // Native path of a file that receives the program's standard output and
  // standard error (created or emptied); empty: they stay ours.
  std::string output_path;
};

class ChildProcess;

// Starts the program at the native path `program` with `arguments` (not
// counting the program's own name). Its standard input reads nothing. Throws
// tool_platform::Error naming the program and the system's reason when it cannot start.
ChildProcess spawn(const std::string& program, const std::vector<std::string>& arguments,
                   const SpawnOptions& options = {});

// A program started by spawn(). Dropping the handle of a program that still
// runs kills it and waits for it, so that no child outlives its owner by
// accident; stop it with terminate() and wait_for() to let it end cleanly.
class ChildProcess {
public:
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ~ChildProcess();

  // The system's process id, for messages.
  long id() const;
  // Asks the program to end: SIGTERM on POSIX. Windows has no such request
  // for a console program without a window, so there it ends at once.
  void terminate();
  // Ends the program at once (SIGKILL, TerminateProcess).
  void kill();
  // Waits up to `milliseconds` for the program to end and returns its exit
  // status (on POSIX 128 + the signal's number when a signal ended it), or
  // nothing when it still runs. 0 milliseconds only looks.
  std::optional<int> wait_for(std::uint32_t milliseconds);

  struct State;

private:
  explicit ChildProcess(std::unique_ptr<State> state);
  friend ChildProcess spawn(const std::string&, const std::vector<std::string>&, const SpawnOptions&);

  std::unique_ptr<State> state_;
};

} // namespace tool_platform
