// Closing a transaction at its manager: confirmation or non-confirmation of
// the answer that carries it.
#pragma once

#include <string>

#include "support/string_list.h"

namespace zul00500 {

// Confirms ("CNF") or not ("NCN", notConfirm true) the transaction of
// `answer` with the manager of its network. The request is noted in the
// backup directory before the manager can see it; once the manager
// acknowledges, the transaction's stored answers (response and backup
// directories, by its sequence) and the note are removed at once. A
// DIRTEF.cds that cannot be read is logged and read as absent, here and in
// CheckGPAtivo.
bool VerificaRetorno(const std::string& context, const StringList& answer, bool notConfirm,
                     const std::string& unused);

} // namespace zul00500
