// zulpos's commands. Each commands_*.cpp registers its own at start-up, so a
// new command is a new file and nothing else changes.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "options.h"

namespace zulpos {

class Output;

// What a command gets to work with.
struct CommandContext {
  const ParsedOptions& global;
  const ParsedOptions& options;
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
  std::string name;
  std::string operands; // "FILE", shown in the synopsis
  std::size_t min_operands = 0;
  std::size_t max_operands = 0;
  std::string summary;     // one line for the program's help
  std::string description; // the command's own help, after its synopsis
  std::vector<OptionDef> options;
  // False for commands that build their own host directory (the demo); the
  // others run with the package loaded for --host-dir.
  bool uses_host_dir = true;
  // False for commands that must run unattended (the demo): the terminal is
  // never asked, and the network dialog gets "2" unless --network says.
  bool interactive = true;
  // True for commands that talk to the exchange root DIRTEF.cds holds: a
  // notice says when none was chosen yet.
  bool uses_stored_root = false;
  // Place in the program's help.
  int rank = 100;
  // Exit status: 0 when the routine returned true, 1 when false.
  std::function<int(CommandContext&)> run;
};

// Returns true so that a file can register at namespace scope:
//   const bool registered = RegisterCommand({...});
bool RegisterCommand(Command command);
const Command* FindCommand(const std::string& name);
// Every command, by rank then name.
std::vector<const Command*> AllCommands();

std::string ProgramHelp(const std::vector<OptionDef>& global_options);
std::string CommandHelp(const Command& command);

// Exit status of a routine's boolean result.
inline int ExitStatus(bool result) { return result ? 0 : 1; }

} // namespace zulpos
