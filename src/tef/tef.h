// The package's routines of the network choice, the manager's status, the
// exchange-file store, the confirmation and the leftover scan. The other
// families have headers of their own, included here so that the C interface
// and the tests need only this one.
#pragma once

#include <string>

#include "printing/printer.h"
#include "printing/printing.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/cancellation.h"
#include "tef/form.h"
#include "tef/sale.h"

namespace zul00500 {

// The exchange roots.
inline constexpr const char* kRootTefDial = "c:\\tef_dial\\";
inline constexpr const char* kRootTefDisc = "c:\\tef_disc\\";
inline constexpr const char* kRootHiperTef = "c:\\HiperTEF\\";
// All three, in the order the leftover scan looks at them.
inline constexpr const char* kRoots[] = {kRootTefDial, kRootTefDisc, kRootHiperTef};

// Network choice for a payment kind: "1", "2", "3" or "9".
std::string TipoRede(const std::string& kind);
// Chooses the exchange root for a payment kind, stores it in DirTef, `root`
// and DIRTEF.cds, and the printer type in Zul_IdTipoImp. False when the
// operator closed the dialog.
bool CheckDirTef(std::string& root, const std::string& kind, int printerType);
// Sets DirTef from a manager answer's network name and writes DIRTEF.cds.
void DefineDirTefRede(const std::string& network);

// Waits up to 15 seconds (counted in its pauses) for the manager's whole
// status file acknowledging `operation`; for "ATV" it first clears the
// response directory and sends the activity request. False (after telling
// the operator) when none came.
bool CheckGPAtivo(const std::string& operation, const std::string& sequence);

// Exchange-file store.
std::string GetSequence();
std::string NewIntPosFileName(const std::string& directory);
void DeleteIntPosFiles(const std::string& directory, const std::string& sequence);

// Confirms ("CNF") or not ("NCN", notConfirm true) the transaction of
// `answer` with the manager of its network. The request is noted in the
// backup directory before the manager can see it; once the manager
// acknowledges, the transaction's stored answers (response and backup
// directories, by its sequence) and the note are removed at once. A
// DIRTEF.cds that cannot be read is logged and read as absent, here and in
// CheckGPAtivo.
bool VerificaRetorno(const std::string& context, const StringList& answer, bool notConfirm,
                     const std::string& unused);
// Settles the answers interrupted sales left in the response and backup
// directories. A status file is removed; an answer no manager can settle is
// moved to dsDirBkpTef + "Descartados\"; a file still being written is left
// for the next scan; an answer whose settlement the manager took before the
// package stopped (its note says so) is removed without a second one.
bool CheckIntPosFiles(const std::string& context, bool notConfirm);

} // namespace zul00500
