#include "rehearsal/host_events.h"

#include <charconv>

#include "journal/journal.h"
#include "rehearsal/text.h"

namespace rehearsal {

void EventJournal::Add(const std::string& lane, const std::string& kind, const std::string& text,
                       const std::string& detail, const std::vector<std::string>& more) {
  std::vector<std::string> fields = {std::to_string(LocalMillisecondsOfDay()), lane, kind, text, detail};
  fields.insert(fields.end(), more.begin(), more.end());
  journal::Append(path_, journal::Line(fields));
}

std::vector<HostEvent> ReadHostEvents(std::string_view bytes) {
  std::vector<HostEvent> events;
  std::size_t start = 0;
  for (std::size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n', start)) {
    const std::vector<std::string> fields = journal::Fields(bytes.substr(start, end - start));
    start = end + 1;
    if (fields.size() < 5) continue;
    HostEvent event;
    const auto [stop, error] =
        std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), event.ms);
    if (error != std::errc() || stop != fields[0].data() + fields[0].size()) continue;
    event.lane = fields[1];
    event.kind = fields[2];
    event.text = fields[3];
    event.detail = fields[4];
    event.more.assign(fields.begin() + 5, fields.end());
    events.push_back(std::move(event));
  }
  return events;
}

} // namespace rehearsal
