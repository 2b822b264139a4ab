// The never-shown TfrmCartaoDebito that holds the message table and the
// datasets, and the DIRTEF.cds file kept through it.
#pragma once

#include <memory>
#include <string>

#include "tef/form.h"

namespace zul00500 {

// Puts a fresh holder into frmCartaoDebito and returns it. Callers keep the
// pointer: a host handler run from a wait may replace the variable.
std::shared_ptr<TfrmCartaoDebito> NewHolder();
// The current holder, made on first use (the printing routines only read the
// message table and may run before any routine created one).
std::shared_ptr<TfrmCartaoDebito> Holder();
// Text of a message-table key in the current holder.
std::string MessageText(const char* key);

// The exchange root of a network name (010-000): "TECBAN" the TecBan root,
// "HCard" the Hipercard one, any other (the empty name too) the root of the
// other networks. Case-sensitive.
std::string RootOfNetwork(const std::string& network);
// True for one of the three exchange roots, in any letter case.
bool IsExchangeRoot(const std::string& text);

// Reads the printer's serial number into stNrSerie, from the host's
// parameter file, while it is empty and the file exists. A damaged file is
// logged and read as a missing one (an empty serial): the serial only
// labels the printer's record of a voucher, and must stop neither a payment
// nor the printing of one already approved.
void LoadSerialNumber(TfrmCartaoDebito& holder);

// Writes DirTef to dsDirTef + "\DIRTEF.cds" through the holder's cdsDirTef.
void SaveDirTef();
// Reloads DirTef from the host directory's (long form) DIRTEF.cds when that
// file exists; otherwise DirTef keeps its value. A file that cannot be read,
// or that holds no exchange root (empty, or anything else), is logged and
// read as absent.
void ReloadDirTef();

} // namespace zul00500
