// tefsim's command line, parsed with CLI11 as zulpos's is.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

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
  bool version = false;
  bool bash_completion = false;
};

// A mistake found after parsing (a scenario file that cannot be read); what()
// says why.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// `args` without the program name. The misbehaviour options become scenario
// lines in the order they were given; a later --roots, --log... replaces an
// earlier one. Each value is checked as it is parsed (the --keep-requests
// and --keep-written folders must exist). Throws CLI11's errors: a mistake,
// or the help asked for.
Options parse_options(const std::vector<std::string>& args);

// What parse_options threw: the help on `out` (status 0), or the mistake and
// a pointer to the help on `err` (status 2).
int report(const CLI::ParseError& error, std::ostream& out, std::ostream& err);

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
