// zulpos's command line, parsed with CLI11: global options, then a command
// with its own options and operands.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "command.h"

namespace zulpos {

class CommandLine {
public:
  // zulpos: its global options and every command.
  CommandLine();
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // One more command (the tests add their own).
  void Add(CommandSetup setup);

  // Parses zulpos's arguments (without the program's name), once. Throws
  // CLI11's errors: the help asked for, or a mistake (an unknown option or
  // command, with the nearest known one; a missing value; a value a check
  // refused; a missing operand or command...). The values are checked as
  // they are parsed, so that a typo never shows after a payment went through.
  void Parse(const std::vector<std::string>& args);

  const GlobalOptions& global() const { return global_; }
  // The command given; null for --version and --bash-completion.
  const Command* command() const;

  // What Parse threw, on `out` (the help) or `err` (a mistake, and which
  // help to read); returns the exit status, 0 or 2.
  int Report(const CLI::ParseError& error, std::ostream& out, std::ostream& err);

  // A bash completion script for zulpos: the global options, the commands
  // and each command's options.
  std::string BashCompletionScript() const;

  CLI::App& app() { return app_; }

private:
  CLI::App app_;
  GlobalOptions global_;
  std::vector<Command> commands_;
};

} // namespace zulpos
