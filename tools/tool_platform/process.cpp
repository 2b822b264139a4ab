// The platform layer answers what the package asks too; the tools take its
// answers rather than ask the system again.
#include "tool_platform/process.h"

#include "platform/environment.h"

namespace tool_platform {

std::string executable_path() { return zul00500::platform::running_program_path(); }

bool stdin_is_terminal() { return zul00500::platform::stdin_is_terminal(); }

std::string user_data_folder() { return zul00500::platform::user_data_folder(); }

std::string drive_root_variable() { return zul00500::platform::drive_root_variable(); }

} // namespace tool_platform
