// The network choice: which manager, under which exchange root, takes a
// payment, and the root a manager's answer names.
#pragma once

#include <string>

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

} // namespace zul00500
