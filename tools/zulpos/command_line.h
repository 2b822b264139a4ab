// zulpos's command line, parsed with CLI11: global options, then a command
// and its own options and operands.
#pragma once

#include <string>
#include <vector>

#include "options.h"

namespace zulpos {

struct Command;

// The global options, written before the command.
const std::vector<OptionDef>& GlobalOptions();

struct CommandLine {
  enum class Request {
    Run,            // run `command`
    Help,           // the program's help, or `command`'s when there is one
    Version,        // --version
    BashCompletion, // --bash-completion
  };
  Request request = Request::Run;
  const Command* command = nullptr;
  ParsedOptions global;
  ParsedOptions options; // the command's
};

// Turns zulpos's arguments (without the program's name) into the command to
// run and its options. Throws UsageError, naming the command once it is
// known, for an unknown option or command, a missing value, a flag given a
// value, an option given twice that is not repeatable, a global option
// written after the command (with a hint saying where it goes), and too few
// or too many operands. The values themselves are the commands' to check.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// zulpos's version: that of the package it was built with.
const char* ZulposVersion();

// A bash completion script for zulpos: the global options, the commands and
// each command's options.
std::string BashCompletionScript();

} // namespace zulpos
