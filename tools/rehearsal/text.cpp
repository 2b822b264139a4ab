#include "rehearsal/text.h"

#include <chrono>
#include <ctime>
#include <mutex>

#include "tool_platform/text.h"

namespace rehearsal {

std::string ToCp1252(std::string_view utf8) { return tool_platform::utf8_or_cp1252_to_cp1252(utf8); }

std::string ToUtf8(std::string_view cp1252) { return tool_platform::cp1252_to_utf8(cp1252); }

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

namespace {
std::mutex broken_down_time_turn;
} // namespace

std::tm LocalTime(std::time_t when) {
  const std::lock_guard<std::mutex> lock(broken_down_time_turn);
  return *std::localtime(&when);
}

std::tm UtcTime(std::time_t when) {
  const std::lock_guard<std::mutex> lock(broken_down_time_turn);
  return *std::gmtime(&when);
}

std::int64_t LocalMillisecondsOfDay() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::tm local = LocalTime(system_clock::to_time_t(now));
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  return ((local.tm_hour * 60LL + local.tm_min) * 60 + local.tm_sec) * 1000 + millis;
}

std::int64_t ParseTimeOfDay(std::string_view text) {
  // HH:MM:SS.mmm
  if (text.size() < 12 || text[2] != ':' || text[5] != ':' || text[8] != '.') return -1;
  std::int64_t parts[4] = {};
  const std::size_t starts[4] = {0, 3, 6, 9};
  const std::size_t widths[4] = {2, 2, 2, 3};
  for (int i = 0; i < 4; ++i) {
    for (std::size_t j = 0; j < widths[i]; ++j) {
      const char c = text[starts[i] + j];
      if (c < '0' || c > '9') return -1;
      parts[i] = parts[i] * 10 + (c - '0');
    }
  }
  return ((parts[0] * 60 + parts[1]) * 60 + parts[2]) * 1000 + parts[3];
}

std::int64_t RelativeMs(std::int64_t time_of_day, std::int64_t start) {
  constexpr std::int64_t kDay = 24LL * 60 * 60 * 1000;
  std::int64_t relative = time_of_day - start;
  // A case lasts minutes: a time far before its start is on the next day.
  if (relative < -kDay / 2) relative += kDay;
  return relative;
}

std::string CutAtWord(const std::string& text, std::size_t limit) {
  if (text.size() <= limit) return text;
  const std::size_t room = limit > 3 ? limit - 3 : 0;
  std::size_t cut = text.rfind(' ', room);
  // The words before it, without the punctuation that ended them.
  if (cut != std::string::npos && cut > room / 2) {
    while (cut > 0 &&
           (text[cut - 1] == ' ' || text[cut - 1] == ',' || text[cut - 1] == ':' || text[cut - 1] == ';'))
      --cut;
  } else {
    cut = room;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut; // whole characters
  }
  return text.substr(0, cut) + "...";
}

} // namespace rehearsal
