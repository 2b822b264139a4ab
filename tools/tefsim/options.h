// tefsim's command line.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tefsim {

struct Options {
  std::vector<std::string> roots{"c:\\tef_dial\\"}; // exchange roots served
  std::string drive_root;                           // empty: platform default
  std::string scenario_file;                        // native path, empty: none
  std::vector<std::string> rules;                   // scenario lines, after the file's
  std::string log_file;                             // native path, empty: stdout
  std::string keep_requests;                        // native folder, empty: keep none
  std::string keep_written;                         // native folder, empty: keep none
  std::string lease;                                // native file, empty: none
  std::uint32_t poll_ms = 100;
  bool help = false;
  bool version = false;
  bool bash_completion = false;
};

// A command line that cannot be understood; what() says why.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// `args` without the program name, parsed with CLI11; the misbehaviour
// options become scenario lines in the order they were given. Throws
// UsageError.
Options parse_options(const std::vector<std::string>& args);

// Checks what the options name on disk: the --keep-requests and
// --keep-written folders must exist. Throws UsageError.
void check_folders(const Options& options);

// The --help text, scenario format included.
std::string usage();

// "tefsim VERSION", for --version.
std::string version_text();

// A bash completion script for tefsim, for --bash-completion.
std::string bash_completion();

// Every option tefsim knows, with its dashes ("--roots"), for checking the
// help against them.
std::vector<std::string> option_names();

} // namespace tefsim
