// The certification rehearsal: the book, its run and its reports live in
// tools/rehearsal; this is their entry in zulpos's command table.
#include "command.h"
#include "rehearsal/command.h"

namespace zulpos {
namespace {

const bool registered_rehearse = RegisterCommand([] {
  Command command;
  command.name = "rehearse";
  command.operands = "[BOOK.toml]";
  command.max_operands = 1;
  command.summary = rehearsal::kRehearseSummary;
  command.description = rehearsal::kRehearseDescription;
  command.options = rehearsal::RehearseOptions();
  // Each case makes its own host directory; its starts never ask the terminal.
  command.uses_host_dir = false;
  command.interactive = false;
  command.rank = 92;
  command.run = rehearsal::RunRehearse;
  return command;
}());

} // namespace
} // namespace zulpos
