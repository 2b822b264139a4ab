// Whole-file reads and writes on native paths, for the tools' own files
// (journals, paper, saved lists). The package's files are the package's
// business: a tool reaches them through the package.
#pragma once

#include <string>
#include <string_view>

namespace tool_platform {

// Each throws tool_platform::Error naming the path.
std::string read_file(const std::string& path);
void write_file(const std::string& path, std::string_view bytes);
// The file's bytes; empty when there is no such file.
std::string read_file_if_any(const std::string& path);
void append_file(const std::string& path, std::string_view bytes);

} // namespace tool_platform
