// POSIX hosts have no system message queue: without a hook the pump has
// nothing to do.
#include "platform/detail.h"

namespace zul00500::platform::detail {

void native_process_messages() {}
void native_handle_message(std::uint32_t) {}

} // namespace zul00500::platform::detail
