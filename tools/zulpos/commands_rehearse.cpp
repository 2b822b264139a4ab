// The certification rehearsal: the book, its run and its reports live in
// tools/rehearsal; this is their entry in zulpos's command table.
#include <memory>

#include "command.h"
#include "rehearsal/command.h"

namespace zulpos {

Command AddRehearse(CLI::App& zulpos) {
  auto o = std::make_shared<rehearsal::RehearseOptions>();
  CLI::App* rehearse = rehearsal::AddRehearseCommand(zulpos, *o);
  // Each case makes its own host directory; its starts never ask the terminal.
  return {.app = rehearse, .uses_host_dir = false, .interactive = false, .run = [o](CommandContext& ctx) {
            return rehearsal::RunRehearse(ctx, *o);
          }};
}

} // namespace zulpos
