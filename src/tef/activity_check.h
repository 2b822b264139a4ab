// The activity check: whether the manager of DirTef is there and took a
// request.
#pragma once

#include <string>

namespace zul00500 {

// Waits up to 15 seconds (counted in its pauses) for the manager's whole
// status file acknowledging `operation`; for "ATV" it first clears the
// response directory and sends the activity request. False (after telling
// the operator) when none came.
bool CheckGPAtivo(const std::string& operation, const std::string& sequence);

} // namespace zul00500
