// One start of the host, as the runner asks for it: `zulpos rehearse
// --host-part PLAN` loads the package like every zulpos command, answers its
// dialogs from the book, prints on the virtual fiscal printer, runs the
// plan's steps through the C interface and records every event; at a power
// cut's moment it freezes until the runner kills it.
#pragma once

#include <string>

namespace rehearsal {

// Exit status: 0 when every step ran (whatever the routines returned), 2 when
// the plan or the book cannot be read, 1 when a step raised an error.
int RunHostPart(const std::string& plan_path, const std::string& program_path);

} // namespace rehearsal
