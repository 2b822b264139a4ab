// What zulpos and tefsim share around CLI11, which parses their command
// lines: the arguments handed over as CLI11 wants them, and a bash completion
// script made from the options the programs declare.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace zul_cli {

// Parses `args` (without the program's name) with `app`. An empty value
// written inline ("--context=") stays an empty value, where CLI11 alone would
// take the next argument as the value. Throws CLI11's errors.
void Parse(CLI::App& app, const std::vector<std::string>& args);

// CLI11's error in the programs' own words where they have them: "--pay
// needs a value (A)", "--print takes no value"; its own text otherwise.
std::string Message(const CLI::ParseError& error);

// A bash completion script for `program` made from `app`: option names, the
// subcommands and their options, the choices of an option whose value is
// written as "A|B|C", and file names for the other values and operands.
std::string BashCompletion(const CLI::App& app, const std::string& program);

} // namespace zul_cli
