// zulpos's commands. Each is a CLI11 subcommand that a function adds to the
// program, its options bound to what its run reads; command_line.cpp lists
// them. A new command is a new commands_*.cpp file and one line in that list.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace zulpos {

class Output;

// The global options, written before the command (or after it, where the
// command has no option of that name).
struct GlobalOptions {
  std::optional<std::string> host_dir;   // as the terminal gave it
  std::optional<std::string> drive_root; // a native folder
  std::string context = "zulpos";
  std::vector<std::string> answers; // y|n, in order
  std::optional<std::string> network;
  std::string dialog_journal;
  std::optional<std::string> package;
  bool version = false;
  bool bash_completion = false;
};

// What a command gets to work with.
struct CommandContext {
  const GlobalOptions& global;
  Output& out;
  // Context string for the package's dialogs (code page 1252).
  std::string context;
  // Native path of this program, whatever --host-dir says (to find the
  // programs installed beside it).
  std::string program_path;
  // The host program's directory the package works for (native path); empty
  // for commands that make their own.
  std::string host_dir;
};

struct Command {
  CLI::App* app = nullptr; // its subcommand
  // False for commands that build their own host directory (the demo); the
  // others run with the package loaded for --host-dir.
  bool uses_host_dir = true;
  // False for commands that must run unattended (the demo): the terminal is
  // never asked, and the network dialog gets "2" unless --network says.
  bool interactive = true;
  // True for commands that talk to the exchange root DIRTEF.cds holds: a
  // notice says when none was chosen yet.
  bool uses_stored_root = false;
  // Exit status: 0 when the routine returned true, 1 when false.
  std::function<int(CommandContext&)> run;
};

// Adds a command to the program `zulpos`: its subcommand, described as
// "summary\n\nthe rest", and its options.
using CommandSetup = Command (*)(CLI::App& zulpos);

// The commands, one per commands_*.cpp file.
Command AddDirs(CLI::App& zulpos);
Command AddNetwork(CLI::App& zulpos);
Command AddCheck(CLI::App& zulpos);
Command AddScan(CLI::App& zulpos);
Command AddConfirm(CLI::App& zulpos);
Command AddSale(CLI::App& zulpos);
Command AddReceipt(CLI::App& zulpos);
Command AddPrint(CLI::App& zulpos);
Command AddCancel(CLI::App& zulpos);
Command AddPending(CLI::App& zulpos);
Command AddDemo(CLI::App& zulpos);
Command AddDataset(CLI::App& zulpos);
Command AddRehearse(CLI::App& zulpos);

// An option with one value per use: "--name VALUE".
template <typename T>
CLI::Option* AddValue(CLI::App& app, const std::string& name, T& value, const std::string& value_name,
                      const std::string& help) {
  return app.add_option(name, value, help)->type_name(value_name);
}
// An option that may be given again, each use one value, kept in order.
CLI::Option* AddRepeatable(CLI::App& app, const std::string& name, std::vector<std::string>& values,
                           const std::string& value_name, const std::string& help);
// A flag, which takes no value ("--print=yes" is a mistake).
CLI::Option* AddFlag(CLI::App& app, const std::string& name, bool& value, const std::string& help);
// The command's operand FILE.
CLI::Option* AddFileOperand(CLI::App& app, std::string& file, const std::string& help);

// Exit status of a routine's boolean result.
inline int ExitStatus(bool result) { return result ? 0 : 1; }

} // namespace zulpos
