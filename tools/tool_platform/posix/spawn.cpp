#include "tool_platform/spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "tool_platform/error.h"

extern char** environ;

namespace tool_platform {

struct ChildProcess::State {
  pid_t pid = -1;
  std::optional<int> status; // set once the child was reaped
};

namespace {
// Undoes posix_spawn_file_actions_init on every path.
class FileActions {
public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

private:
  posix_spawn_file_actions_t actions_;
};

int exit_status(int wait_status) {
  if (WIFEXITED(wait_status)) return WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) return 128 + WTERMSIG(wait_status);
  return -1;
}

// Reaps the child when it has ended; true then.
bool reap(ChildProcess::State& state) {
  if (state.status) return true;
  int wait_status = 0;
  const pid_t done = waitpid(state.pid, &wait_status, WNOHANG);
  if (done == state.pid) {
    state.status = exit_status(wait_status);
    return true;
  }
  // Reaped by someone else: nothing more to learn about it.
  if (done < 0 && errno == ECHILD) {
    state.status = -1;
    return true;
  }
  return false;
}
} // namespace

ChildProcess spawn(const std::string& program, const std::vector<std::string>& arguments,
                   const SpawnOptions& options) {
  FileActions actions;
  int failed = posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (!failed && !options.output_path.empty()) {
    failed = posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, options.output_path.c_str(),
                                              O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!failed) failed = posix_spawn_file_actions_adddup2(actions.get(), STDOUT_FILENO, STDERR_FILENO);
  }
  if (failed) throw Error("start the program", program, std::strerror(failed));

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  auto state = std::make_unique<ChildProcess::State>();
  // glibc reports a program that cannot be executed here, not as exit 127.
  failed = posix_spawn(&state->pid, program.c_str(), actions.get(), nullptr, argv.data(), environ);
  if (failed) throw Error("start the program", program, std::strerror(failed));
  return ChildProcess(std::move(state));
}

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}
ChildProcess::ChildProcess(ChildProcess&& other) noexcept = default;

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    ChildProcess dropped(std::move(*this));
    state_ = std::move(other.state_);
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  if (!state_ || reap(*state_)) return;
  kill();
  // SIGKILL cannot be refused; this wait ends.
  int wait_status = 0;
  while (waitpid(state_->pid, &wait_status, 0) < 0 && errno == EINTR) {
  }
}

long ChildProcess::id() const { return state_ ? static_cast<long>(state_->pid) : -1; }

void ChildProcess::terminate() {
  if (state_ && !reap(*state_)) ::kill(state_->pid, SIGTERM);
}

void ChildProcess::kill() {
  if (state_ && !reap(*state_)) ::kill(state_->pid, SIGKILL);
}

std::optional<int> ChildProcess::wait_for(std::uint32_t milliseconds) {
  if (!state_) return -1;
  // waitpid has no timeout; a short poll is plenty for a helper's shutdown.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!reap(*state_)) {
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return state_->status;
}

} // namespace tool_platform
