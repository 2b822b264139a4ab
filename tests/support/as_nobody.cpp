#include "support/as_nobody.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zul00500::testing {

#ifdef _WIN32

AsNobodyRun RunAsNobody(const std::vector<std::string>&, const std::function<int()>&) {
  return {false, "Windows has no user 65534 to become", 0};
}

#else

namespace {
constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

std::string failed(const std::string& what) { return what + ": " + std::strerror(errno); }

// The folder and all it holds, links themselves and not what they name.
std::string give(const std::string& folder) {
  if (::lchown(folder.c_str(), kNobody, kNoGroup) != 0) return failed("chown " + folder);
  std::error_code error;
  for (std::filesystem::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    if (::lchown(it->path().c_str(), kNobody, kNoGroup) != 0) return failed("chown " + it->path().string());
  return error ? "listing " + folder + ": " + error.message() : "";
}

// Empty when the child is now the user 65534 and may work in `given`.
std::string become_nobody(const std::vector<std::string>& given) {
  for (const std::string& folder : given)
    if (std::string why = give(folder); !why.empty()) return why;
  if (::setgroups(0, nullptr) != 0) return failed("setgroups()");
  if (::setgid(kNoGroup) != 0) return failed("setgid(65534)");
  if (::setuid(kNobody) != 0) return failed("setuid(65534)");
  if (::geteuid() != kNobody || ::setuid(0) == 0) return "setuid(65534) left the child root";
  // A changed user makes a process undumpable, and its /proc/self root's:
  // the sanitizers read their maps there.
  ::prctl(PR_SET_DUMPABLE, 1);
  for (const std::string& folder : given)
    if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) return failed("the user 65534 in " + folder);
  return "";
}

[[noreturn]] void child(int report, const std::vector<std::string>& given, const std::function<int()>& body) {
  ::setpgid(0, 0);
  if (const std::string why = become_nobody(given); !why.empty()) {
    (void)!::write(report, why.data(), why.size());
    std::_Exit(125);
  }
  ::close(report);
  int status = 1;
  try {
    status = body();
  } catch (const std::exception& error) {
    std::cerr << "as the user 65534: " << error.what() << std::endl;
  } catch (...) {
    std::cerr << "as the user 65534: an exception" << std::endl;
  }
  std::fflush(nullptr);
  std::_Exit(status);
}
} // namespace

AsNobodyRun RunAsNobody(const std::vector<std::string>& given, const std::function<int()>& body) {
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return {false, failed("pipe2()"), 0};
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return {false, failed("fork()"), 0};
  }
  if (pid == 0) {
    ::close(report[0]);
    child(report[1], given, body);
  }
  ::close(report[1]);
  std::string why_not;
  char buffer[256];
  for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) != 0;) {
    if (got > 0) why_not.append(buffer, static_cast<std::size_t>(got));
    else if (errno != EINTR) break;
  }
  ::close(report[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  ::kill(-pid, SIGKILL); // whatever it left running
  if (!why_not.empty()) return {false, why_not, 0};
  return {true, "", WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)};
}

#endif

} // namespace zul00500::testing
