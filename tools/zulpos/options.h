// zulpos's argument parser: "--name value", "--name=value" and flags, each
// command with its own table of options. Small on purpose; the program needs
// no more than this.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace zulpos {

// A mistake in the command line: exit status 2 and a hint to --help.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// An option the table does not know; `name` is the option as written.
class UnknownOptionError : public UsageError {
public:
  explicit UnknownOptionError(const std::string& name) : UsageError("unknown option " + name), name_(name) {}
  const std::string& name() const { return name_; }

private:
  std::string name_;
};

struct OptionDef {
  OptionDef(std::string name, std::string value_name, std::string help, bool repeatable = false)
      : name(std::move(name)), value_name(std::move(value_name)), help(std::move(help)),
        repeatable(repeatable) {}

  std::string name;       // with its dashes: "--host-dir"
  std::string value_name; // "DIR"; empty for a flag
  std::string help;
  bool repeatable = false;
};

struct ParsedOptions {
  // Every value given, in order; a flag gets one empty value per use.
  std::map<std::string, std::vector<std::string>> values;
  std::vector<std::string> positionals;
  bool help = false;
  // Index of the first argument left unparsed (the command and its options
  // when parsing the global part); the size of the input otherwise.
  std::size_t rest = 0;

  bool Has(const std::string& name) const { return values.count(name) != 0; }
  std::optional<std::string> Value(const std::string& name) const;
  std::string ValueOr(const std::string& name, const std::string& fallback) const;
  const std::vector<std::string>& All(const std::string& name) const;
};

enum class Positionals {
  StopAtFirst, // the global part: the first non-option is the command
  Collect,     // a command's part: non-options are its operands
};

// Parses `args` against `defs`. "-h" and "--help" are always known; "--"
// ends the options. Throws UsageError for an unknown option, a missing value,
// a value given to a flag and a repeated option that is not repeatable.
ParsedOptions ParseOptions(std::span<const std::string> args, const std::vector<OptionDef>& defs,
                           Positionals mode);

// A command's part, parsed as ParseOptions does; an option unknown to the
// command but known among `global` gets a hint that it belongs before the
// command.
ParsedOptions ParseCommandOptions(std::span<const std::string> args, const std::vector<OptionDef>& defs,
                                  const std::vector<OptionDef>& global);

// The options as help lines: "  --name VALUE   help", aligned.
std::string FormatOptions(const std::vector<OptionDef>& defs);

// Value checks shared by the commands; each throws UsageError naming the
// option.
bool ParseYesNo(const std::string& option, const std::string& value);
int ParseInteger(const std::string& option, const std::string& value);
// One of `allowed`, exactly.
std::string ParseChoice(const std::string& option, const std::string& value,
                        const std::vector<std::string>& allowed);
// A money amount: "40", "40.5", "40.00" or "40,00", whatever the machine's
// regional settings say; two decimals at most, no exponent, no sign.
double ParseAmount(const std::string& option, const std::string& text);
// Whole cents, digits only ("1250"), as a request carries them.
std::string ParseCents(const std::string& option, const std::string& text);
// A payment kind: one letter.
std::string ParseKind(const std::string& option, const std::string& text);
// A file the command will write (native path): its folder must exist, and
// it must not be a folder itself.
void CheckOutputFile(const std::string& option, const std::string& path);

// What zulpos knows of the machine before it runs a command.
struct MachineSetup {
  std::string drive_root; // POSIX: where c:\ lives; empty on Windows
  bool drive_root_exists = true;
  bool needs_stored_root = false; // the command talks to the root DIRTEF.cds holds
  std::string dirtef_path;        // the host's DIRTEF.cds
  bool dirtef_exists = true;
};
// Plain words, for stderr, about a setup the package is about to trip over.
// They explain; they change nothing.
std::vector<std::string> SetupNotices(const MachineSetup& setup);

} // namespace zulpos
