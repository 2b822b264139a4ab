// What the answer waits share (the sale's, the cancellation's and the
// leftover scan's): the rule by which an answer file the manager may still
// be writing counts as whole, and the memory of an answer that was turned
// down, so that a wait does not read it again, and store one more backup
// of it, on every cycle while the manager leaves it in place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// How long an answer without its closing line must read the same before it
// is taken, and then only when it looks whole (LooksWhole), whatever its
// last line ends with. A manager may pause in the middle of its answer; the
// part read must never be taken for the answer, so a pause that leaves a
// part that looks whole must be shorter than this. Managers that never
// write the closing line pay it on every answer; where the manager was seen
// to write it (in this process), an answer without it waits
// kAnswerStalledMs instead, for it is more likely paused than ended.
inline constexpr std::uint32_t kAnswerQuietMs = 1'500;
// How long an answer that does not look whole must read the same before it
// is judged cut short for good (Stalled): a writer that pauses in the
// middle is given far longer than one that has finished.
inline constexpr std::uint32_t kAnswerStalledMs = 10'000;

// Watches one answer file across the looks of a wait, on the monotonic
// clock.
class AnswerWatch {
public:
  enum class Look {
    NotYet,     // missing, held by its writer, still changing, or turned down
    Whole,      // the answer is in `list`
    Stalled,    // unchanged for kAnswerStalledMs, yet not whole: cut short
    TooLarge,   // past the exchange limits (exchange_read.h): malformed
    NotRegular, // a link, FIFO, device or directory: never read (PutAwayNotRegular)
    Unreadable, // there, but held without sharing or denied to us: not read now
  };

  // One look at `path`. Whole when the file ends with the closing line, or
  // when it has read the same for kAnswerQuietMs and looks whole (that
  // acceptance is logged). Throws FileError when the file
  // is there but cannot be read for another reason (an I/O error).
  Look Take(const std::string& path, StringList& list);
  // True when the last look found the file new or changed: the manager is
  // at work.
  bool Changed() const { return changed_; }
  // The answer last taken whole was turned down: it is not taken again
  // until the manager writes something else there.
  void Reject() { rejected_ = last_whole_; }

private:
  std::optional<std::string> seen_; // the bytes of the last look
  std::uint64_t seen_since_ms_ = 0;
  std::optional<std::string> last_whole_;
  std::optional<std::string> rejected_;
  bool changed_ = false;
};

} // namespace zul00500
