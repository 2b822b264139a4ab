// The manager's folders under the first and second roots, as the tests that
// plant or read the manager's files name them.
#pragma once

#include <string>

#include "tef/network_choice.h"

namespace zul00500::testing {

inline const std::string kDialReq = std::string(kRootTefDial) + "req\\";
inline const std::string kDialResp = std::string(kRootTefDial) + "resp\\";
// The answer to the first request, where the manager under the first root
// leaves it.
inline const std::string kDialAnswerFile = kDialResp + "intpos.001";
inline const std::string kDiscResp = std::string(kRootTefDisc) + "resp\\";

} // namespace zul00500::testing
