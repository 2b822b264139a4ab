// zulpos's option values: the checks CLI11 runs on them while it parses
// (each says what is wrong, and CLI11 names the option), and what the
// commands make of the values that passed.
#pragma once

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace zulpos {

// A money amount: "40", "40.5", "40.00" or "40,00", whatever the machine's
// regional settings say; two decimals at most, no exponent, no sign. The
// value is written back with a point ("40.00").
CLI::Validator Amount();
// An amount a payment, or what a sale owes, can be: Amount() and at least
// 0.01; the package refuses anything less.
CLI::Validator PaymentAmount();
// The number of an amount Amount() passed.
double AmountValue(const std::string& amount);
// Whole cents, digits only ("1250"), as a request carries them; above 0.
CLI::Validator Cents();
// A whole number that fits an int.
CLI::Validator Integer();
// A payment kind: one letter.
CLI::Validator Kind();
// y, yes, n or no.
CLI::Validator YesNo();
bool YesNoValue(const std::string& answer);
// One of `allowed`, exactly.
CLI::Validator OneOf(std::vector<std::string> allowed);
// A file the command will write (a path as the terminal gives it): its
// folder must exist, and it must not be a folder itself.
CLI::Validator OutputFile();

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

// For an error that names a file in the host directory or under the drive
// root (one that cannot be written, say): the option that puts that folder
// elsewhere, as words to add to the error; "" for another error.
std::string FolderHint(const std::string& error, const std::string& host_dir, const std::string& drive_root);

} // namespace zulpos
