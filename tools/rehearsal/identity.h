// What identifies a rehearsal's run for the certifier who signs its report:
// a SHA-256 of the book and of the package's library, the date with its
// zone. Portable code; the machine's name comes from tool_platform.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace rehearsal {

// The SHA-256 of `bytes` (FIPS 180-4), 64 lowercase hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// `when` as local time in ISO 8601 with its offset from UTC:
// "2026-12-10T01:40:12-03:00" ("+00:00" for UTC).
std::string IsoLocalTime(std::time_t when);

} // namespace rehearsal
