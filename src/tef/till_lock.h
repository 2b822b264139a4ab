// One till per exchange root. Every routine that exchanges files with a
// manager holds, for the whole of its run, an exclusive lock on the host
// directory and on every exchange root there is (the leftover scan walks
// them all, and an answer may move a conversation to another root), so that
// a second till, or a second program on the same host directory, never
// touches a file of a conversation it does not own. Each lock is a file,
// "Zul00500.lck", in the directory itself, held open under a lock of the
// system, which goes with the process however it ends.
#pragma once

#include <string>

namespace zul00500 {

inline constexpr const char* kTillLockFile = "Zul00500.lck";
// How long a routine waits for a lock someone else holds.
inline constexpr unsigned kTillLockWaitMs = 1000;

// Taken by each such routine before it touches any file, for its whole run.
// A call made within one (the routine's own calls, or the host's from a
// message handler during a wait) shares what the outermost one holds.
class TillLock {
public:
  // Takes the locks, host directory first, then the roots in a fixed order,
  // waiting up to kTillLockWaitMs in all (in pauses of the clock seam) for
  // one held elsewhere. When one stays taken, it lets go of the others, logs
  // and shows the operator (through Mensagem, with `context`) who holds it,
  // as far as its file says, and is refused. A lock file that cannot be
  // opened or made (a read-only root, a full disk) is logged once and passed
  // over: that directory goes unlocked rather than the routine failing.
  TillLock(const char* routine, const std::string& context);
  ~TillLock();
  TillLock(const TillLock&) = delete;
  TillLock& operator=(const TillLock&) = delete;

  // False when refused: the routine ends at once with false.
  bool Held() const { return held_; }
  // For a routine without a result: throws TillBusyError when refused.
  void Require() const;

private:
  bool held_ = false;
  std::string refused_directory_;
  std::string refusal_;
};

// The last refusal's text (English, for the C interface's last error), or
// empty; forgets it.
std::string TakeTillRefusal();

} // namespace zul00500
