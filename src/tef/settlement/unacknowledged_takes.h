// Requests of an operation that the manager of an exchange root took (they
// left the request directory) and never acknowledged in time. A status the
// manager writes late for one names no sequence, and would pass for the
// acknowledgement of the next request of that operation: taken for it, that
// request would stay untaken, and the next one would replace it. So a
// status of that operation is held in doubt until the next request leaves.
//
// The record outlives the process: a till restarted between the take and
// the late status is in the same doubt. It is kept in memory and in the
// file "Liquidando\SemResposta" of the backup directory, one line per root
// and operation ("NCN = C:\TEF_DIAL\"); a file that cannot be written
// leaves the memory, as before the file was kept.
#pragma once

#include <string>

namespace zul00500 {

void RememberUnacknowledgedTake(const std::string& root, const std::string& operation);
// A status headed with `operation` came in `root`: what was late has come.
void ForgetUnacknowledgedTake(const std::string& root, const std::string& operation);
bool LateStatusMayCome(const std::string& root, const std::string& operation);

} // namespace zul00500
