// The log lines of the manager's activity check that several tests look for.
#pragma once

#include <string>

namespace zul00500::testing {

inline const std::string kWaiting = "Zul00500 - Aguardando resposta do gerenciador";
inline const std::string kActive = "Zul00500 - Gerenciador est\xE1 ativo";

} // namespace zul00500::testing
