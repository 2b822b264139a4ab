// `zulpos rehearse`: what zulpos's command table needs of the rehearsal.
#pragma once

#include <vector>

#include "zulpos/command.h"
#include "zulpos/options.h"

namespace rehearsal {

extern const char* const kRehearseSummary;
extern const char* const kRehearseDescription;
std::vector<zulpos::OptionDef> RehearseOptions();

// Exit status 0 when every case passed, 1 when one failed; a book or usage
// mistake throws (zulpos then exits with 2).
int RunRehearse(zulpos::CommandContext& ctx);

} // namespace rehearsal
