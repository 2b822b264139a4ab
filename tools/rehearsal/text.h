// Text at the rehearsal's edges: the book and the reports speak UTF-8, the
// package, the manager and the printer code page 1252.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace rehearsal {

std::string ToCp1252(std::string_view utf8);
std::string ToUtf8(std::string_view cp1252);

// True when `part` occurs in `text`.
bool Contains(std::string_view text, std::string_view part);

// CR LF, CR and LF each end a line; a last line without an end is a line.
std::vector<std::string> SplitLines(std::string_view text);

// UTF-8 `text` cut to at most `limit` bytes at the end of a word, "..."
// after it; as it is when it fits. A single word longer than the limit is
// cut at a whole character.
std::string CutAtWord(const std::string& text, std::size_t limit);

// `when` broken down in local time, and in UTC. std::localtime and
// std::gmtime share their result: every reader of the rehearsal (the case
// threads among them) takes turns here.
std::tm LocalTime(std::time_t when);
std::tm UtcTime(std::time_t when);
// The local time of day in milliseconds, the clock every record of a case is
// stamped with (tefsim's log has no date).
std::int64_t LocalMillisecondsOfDay();
// "17:21:08.261" as milliseconds of the day; -1 when it is not such a time.
std::int64_t ParseTimeOfDay(std::string_view text);
// A time of day as milliseconds since `start` (a time of day too), across
// midnight.
std::int64_t RelativeMs(std::int64_t time_of_day, std::int64_t start);

} // namespace rehearsal
