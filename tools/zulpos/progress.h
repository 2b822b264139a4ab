// What zulpos shows on a terminal while the package waits for the TEF
// manager, which may stay quiet for up to 15 seconds: one line on stderr,
// rewritten in place at each cycle of the package's wait (its message pump),
// saying what it waits for and for how long, and once the manager has been
// quiet a while, a line of what to try. zulpos uses it only when stderr is a
// terminal, never when it is a pipe or a file.
#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

#include "Pkg_Zul00500.h"

namespace zulpos {

class Output;

class Progress {
public:
  // The steady time; a test gives its own.
  using Clock = std::function<std::chrono::milliseconds()>;

  // `manager` is the command that starts a manager for zulpos's drive root
  // ("tefsim --drive-root DIR"), for the line of what to try.
  Progress(std::ostream& terminal, std::string manager, Clock now);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Makes the package call Cycle at each cycle of its waits
  // (zul_SetMessagePump), and `out` clear the line before it writes, until
  // the object goes.
  void Install(Output& out);

  // One cycle of a wait: `answer` for the sale's wait for its answer (the
  // manager took the request and works on it), else a wait for a status
  // file, which the package gives up after 15 seconds. Cycles less than
  // kGapMs apart, of one kind, are one wait.
  void Cycle(bool answer);
  // Something else happens (a routine returned, a line is written): the
  // progress line goes, and the next cycle starts a new wait.
  void Clear();

  // Quicker waits show nothing: a manager that answers at once keeps the
  // package pumping for about two seconds in a row, its mandated pauses.
  static constexpr std::chrono::milliseconds kShowAfter{3000};
  // A status wait this long says what to try.
  static constexpr std::chrono::milliseconds kHintAfter{5000};
  static constexpr std::chrono::milliseconds kGap{1500};

private:
  static int ZUL_CALL Pump(void* user, int wait);
  void Show(const std::string& line);

  std::ostream& terminal_;
  std::string manager_;
  Clock now_;
  Output* out_ = nullptr; // installed in
  bool waiting_ = false;
  bool answer_ = false;
  bool hinted_ = false;
  std::chrono::milliseconds start_{0}, last_{0};
  std::string shown_; // the line on the terminal now
};

// The steady clock, in milliseconds.
std::chrono::milliseconds SteadyNow();

} // namespace zulpos
