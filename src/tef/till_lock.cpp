#include "tef/till_lock.h"

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/outcome.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/text.h"
#include "tef/network_choice.h"

namespace zul00500 {

namespace {

constexpr std::uint32_t kRetryMs = 100;

// What the outermost routine holds; everything runs on the host's thread.
struct Holding {
  std::vector<std::unique_ptr<platform::FileLock>> locks;
  int depth = 0;
};
Holding holding;
std::string last_refusal;

struct Place {
  std::string directory; // ends with a backslash
  bool host;
};

// Where locks are taken, in the same order by every till, so that two never
// wait on each other in a circle. A root that does not exist is not made: a
// missing TecBan root tells the network choice something.
std::vector<Place> places() {
  std::vector<Place> result;
  if (const std::string host = HostDirectoryLong(); !host.empty()) result.push_back({host + "\\", true});
  for (const std::string& root :
       {std::string(kRootTefDial), std::string(kRootTefDisc), std::string(kRootHiperTef), DirTef}) {
    if (root.empty() || root.back() != '\\') continue;
    bool known = false;
    for (const Place& place : result) known = known || SameText(place.directory, root);
    if (!known && platform::fs().directory_exists(root)) result.push_back({root, false});
  }
  return result;
}

std::string identity(const char* routine) {
  return "pid=" + std::to_string(platform::current_process_id()) + "\r\nhost=" + HostDirectoryLong() +
         "\r\nroutine=" + routine +
         "\r\nsince=" + platform::FormatDateTime("dd/mm/yyyy hh:nn:ss", platform::clock().now()) + "\r\n";
}

// Who holds a lock, as its file says; fields left empty when it says nothing.
struct Holder {
  std::string pid;
  std::string host;
};

Holder holder_of(const std::string& path) {
  StringList text;
  try {
    text.SetText(platform::fs().read_file(path));
  } catch (const Error&) {
    return {};
  }
  return {text.Field("pid"), text.Field("host")};
}

// The operator's message and the caller's error text for a lock that stayed
// taken.
struct Refusal {
  std::string message;
  std::string error;
};

// " (host directory C:\PDV2, process 4321)" in the given words, or "" when
// the lock file names no one.
std::string named(const Holder& holder, const std::string& host_word, const std::string& process_word) {
  std::vector<std::string> parts;
  if (!holder.host.empty()) parts.push_back(host_word + " " + holder.host);
  if (!holder.pid.empty()) parts.push_back(process_word + " " + holder.pid);
  if (parts.empty()) return {};
  return " (" + parts[0] + (parts.size() > 1 ? ", " + parts[1] : "") + ")";
}

Refusal describe_refusal(const Place& place, const Holder& holder) {
  if (place.host) {
    // Its host directory is ours: only the process tells.
    const Holder process{holder.pid, ""};
    const std::string host = place.directory.substr(0, place.directory.size() - 1);
    return {"O diret\xF3rio " + host + " est\xE1 em uso por outro programa" + named(process, "", "processo") +
                ". S\xF3 um programa por diret\xF3rio pode usar o TEF.",
            "another program on this host directory holds it" + named(process, "", "process")};
  }
  return {"O gerenciador TEF de " + place.directory + " est\xE1 em uso por outro caixa" +
              named(holder, "diret\xF3rio", "processo") +
              ". Cada gerenciador atende um s\xF3 caixa: verifique a configura\xE7\xE3o.",
          "another till holds it" + named(holder, "host directory", "process")};
}

// Lock files that could not be made or opened (a read-only root, a full
// disk): logged once each, then passed over.
std::set<std::string> unlockable;

// One try at the lock of `path`; `lock` stays empty while another holds it.
// False when the lock file cannot be made or opened at all: a root the till
// cannot write to is still worth trying, and only a lock that another till
// holds refuses.
bool try_lock(const std::string& path, std::unique_ptr<platform::FileLock>& lock) {
  try {
    lock = platform::fs().try_lock(path);
    unlockable.erase(path);
    return true;
  } catch (const FileError& error) {
    if (unlockable.insert(path).second)
      LogCartao("Zul00500 - Trava " + path +
                " n\xE3o p\xF4"
                "de ser criada; seguindo sem ela: " +
                error.what());
    return false;
  }
}

} // namespace

TillLock::TillLock(const char* routine, const std::string& context) {
  if (holding.depth > 0) {
    ++holding.depth;
    held_ = true;
    return;
  }
  std::vector<std::unique_ptr<platform::FileLock>> locks;
  const platform::Stopwatch waited;
  for (const Place& place : places()) {
    const std::string path = place.directory + kTillLockFile;
    std::unique_ptr<platform::FileLock> lock;
    if (!try_lock(path, lock)) continue;
    while (!lock && waited.elapsed_ms() < kTillLockWaitMs) {
      platform::pause(kRetryMs);
      if (!try_lock(path, lock)) break;
    }
    if (!lock && !unlockable.contains(path)) {
      // Nothing held while the operator reads, so that a call the host makes
      // meanwhile is not refused by our own locks.
      locks.clear();
      const Refusal refusal = describe_refusal(place, holder_of(path));
      refused_directory_ = place.directory;
      refusal_ = refusal.error;
      last_refusal = TillBusyError("use", refused_directory_, refusal_).what();
      LogCartao("Zul00500 - " + std::string(routine) + " recusado: " + refusal.message);
      SetOutcome(RoutineOutcome::TillBusy);
      ShowDialog(refusal.message, "N", tmAviso, context, 0);
      return;
    }
    if (!lock) continue;
    lock->describe(identity(routine));
    locks.push_back(std::move(lock));
  }
  holding.locks = std::move(locks);
  holding.depth = 1;
  held_ = true;
}

TillLock::~TillLock() {
  if (held_ && --holding.depth == 0) holding.locks.clear();
}

void TillLock::Require() const {
  if (!held_) throw TillBusyError("use", refused_directory_, refusal_);
}

std::string TakeTillRefusal() { return std::exchange(last_refusal, std::string()); }

} // namespace zul00500
