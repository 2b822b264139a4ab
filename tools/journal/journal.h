// The journals zulpos and the virtual printer write: one line per dialog or
// printer call, its fields TAB-separated and escaped so that a line stays a
// line, in code page 1252 as the package gave them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace journal {

// Escapes CR, LF, TAB, backslash and bytes below 32 (and any byte listed in
// `extra`) as \r \n \t \\ \xNN.
std::string EscapeField(std::string_view text, std::string_view extra = {});

// The fields escaped and joined with TAB.
std::string Line(const std::vector<std::string>& fields, std::string_view extra = {});

// A line's fields, split at TAB and unescaped: what Line joined.
std::vector<std::string> Fields(std::string_view line);

// Appends `line` and a line end to the native file `path`, creating it when
// missing. Throws tool_platform::Error when it cannot.
void Append(const std::string& path, const std::string& line);

} // namespace journal
