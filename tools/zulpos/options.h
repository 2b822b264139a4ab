// zulpos's options: how a command declares them, what parsing them gives
// (command_line.h parses them with CLI11), and the checks of their values.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zulpos {

// A mistake in the command line: exit status 2 and a hint to --help, that of
// `command` when the mistake is in a command's part.
class UsageError : public std::runtime_error {
public:
  explicit UsageError(const std::string& message, std::string command = {})
      : std::runtime_error(message), command_(std::move(command)) {}
  const std::string& command() const { return command_; }

private:
  std::string command_;
};

// An option as the program or a command declares it: CLI11 parses the
// command line from these tables, and the help shows them.
struct OptionDef {
  OptionDef(std::string name, std::string value_name, std::string help, bool repeatable = false)
      : name(std::move(name)), value_name(std::move(value_name)), help(std::move(help)),
        repeatable(repeatable) {}

  std::string name;       // with its dashes: "--host-dir"
  std::string value_name; // "DIR"; empty for a flag
  std::string help;
  bool repeatable = false;
};

// What the command line gave the program's or a command's options.
struct ParsedOptions {
  // Every value given, in order; a flag gets one empty value per use.
  std::map<std::string, std::vector<std::string>> values;
  std::vector<std::string> positionals;

  bool Has(const std::string& name) const { return values.count(name) != 0; }
  std::optional<std::string> Value(const std::string& name) const;
  std::string ValueOr(const std::string& name, const std::string& fallback) const;
  const std::vector<std::string>& All(const std::string& name) const;
};

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
