// What zulpos and tefsim share around CLI11, which parses their command
// lines: one look for their help, one shape for their mistakes, value checks
// in their words, the nearest known word for a typo, and a bash completion
// script made from the options they declare.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace zul_cli {

// Sets a program up the house way, before its options and commands are
// added: "-h,--help", long options only (no "/x" forms), the help laid out
// by Formatter, options not in the table left for Parse to name, and
// mistakes reported by Failure. `footer` ends the program's help.
void SetUp(CLI::App& app, const std::string& footer);

// The help: "Usage:" first (as help2man reads it), then the description,
// the operands, the options with the name of their value ("--pay A") and
// whether they are required, the
// commands with the first paragraph of their description, and the footer.
class Formatter : public CLI::Formatter {
public:
  Formatter();
  std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;
  std::string make_usage(const CLI::App* app, std::string name) const override;
  std::string make_option_name(const CLI::Option* option, bool positional) const override;
  std::string make_option_opts(const CLI::Option* option) const override;
  std::string make_option_desc(const CLI::Option* option) const override;
  std::string make_subcommand(const CLI::App* command) const override;
};

// "PROGRAM: what is wrong", then "Try 'PROGRAM [COMMAND] --help'." for the
// command the mistake was in: CLI11's failure message for both programs.
std::string Failure(const CLI::App* app, const CLI::Error& error);

// A value check for CLI11. `check` returns what is wrong with the value
// ("an amount such as 40, 40.00 or 40,00, not 'x'"), or "" when it is good;
// it may rewrite it ("40,00" into "40.00"). CLI11 reports "--pay: " and
// what is wrong.
CLI::Validator Check(const std::string& description, std::function<std::string(std::string&)> check);

// Parses `args` (without the program's name) with `app`. An empty value
// written inline ("--context=") stays an empty value, where CLI11 alone
// would take the next argument as the value. Throws CLI11's errors; an
// argument no option, command or operand took is an ExtrasError that names
// it and the nearest known option or command ("unknown option --pays: did
// you mean --pay?").
void Parse(CLI::App& app, const std::vector<std::string>& args);

// The command `app` parsed (its first subcommand), or null.
const CLI::App* ParsedCommand(const CLI::App& app);

// Reports what Parse threw, as CLI11 does: the help on `out` (status 0), a
// mistake on `err` through Failure (status 2, the status of usage errors).
int Report(CLI::App& app, const CLI::ParseError& error, std::ostream& out, std::ostream& err);

// The word of `known` nearest to `word`, dashes aside: a typo away (at most
// two letters changed, added, removed or swapped with their neighbour, and
// fewer than half of them), or the one word that starts with `word`; "" when
// none is that near.
std::string Nearest(const std::string& word, const std::vector<std::string>& known);

// A bash completion script for `program` made from `app`: option names, the
// subcommands and their options, the choices of an option whose value is
// written as "A|B|C", and file names for the other values and operands.
std::string BashCompletion(const CLI::App& app, const std::string& program);

} // namespace zul_cli
