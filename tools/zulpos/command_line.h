// zulpos's command line as the program reads it: the global options, the
// command, and the command's own options and operands. The one place that
// turns the argument list into a command to run.
#pragma once

#include <string>
#include <vector>

#include "command.h"
#include "options.h"

namespace zulpos {

struct CommandLine {
  ParsedOptions global;
  const Command* command = nullptr; // none when --help came before any command
  ParsedOptions options;
};

// The options written before the command.
const std::vector<OptionDef>& GlobalOptions();

// Parses `args` (the arguments after the program's name) into `line`,
// filling it as far as it gets, so that a caller that catches the error
// knows which command's help to point to. With --help (global or the
// command's) the operands are not checked. Throws UsageError: an unknown
// option or command, a missing or unwanted value, no command, too few or
// too many operands.
void ParseCommandLine(const std::vector<std::string>& args, CommandLine& line);

} // namespace zulpos
