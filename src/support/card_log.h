// The card log: LogTefMMYY.txt in the host program's directory.
#pragma once

#include <string>

namespace zul00500 {

// Appends one line, stamped with the date and time, to this month's log.
void LogCartao(const std::string& message);

} // namespace zul00500
