// The host part's record of what it saw and did, one line per event, written
// as it happens so that the runner sees a power cut's moment and nothing is
// lost when the host is killed:
//
//   MS <TAB> LANE <TAB> KIND <TAB> TEXT <TAB> DETAIL
//
// MS is the local time of day in milliseconds; the fields are escaped as the
// journals' (journal.h) and hold code page 1252. Lanes and kinds:
//   host     start, step (TEXT the action, DETAIL its index), step-end,
//            power-cut (TEXT the moment), freeze-timeout
//   package  call (TEXT the routine and arguments), return (TEXT true, false
//            or error, DETAIL the error), log (a card log line as it appeared)
//   dialog   dialog (TEXT the text, DETAIL the answer), network (the caption,
//            DETAIL the answer)
//   printer  call (TEXT the printer journal's line), failed (the same line of
//            a call that failed, DETAIL the paper file's size then)
//   file     the exchange as the package made it, with two more fields
//            (exchange_record.h)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rehearsal {

struct HostEvent {
  std::int64_t ms = 0;
  std::string lane, kind, text, detail;
  std::vector<std::string> more; // the fields after DETAIL
};

class EventJournal {
public:
  explicit EventJournal(std::string path) : path_(std::move(path)) {}
  // Appends at once; throws tool_platform::Error when it cannot.
  void Add(const std::string& lane, const std::string& kind, const std::string& text,
           const std::string& detail = {}, const std::vector<std::string>& more = {});

private:
  std::string path_;
};

// The events of a journal's complete lines; a torn last line (the host was
// killed while writing it) is left out.
std::vector<HostEvent> ReadHostEvents(std::string_view bytes);

} // namespace rehearsal
