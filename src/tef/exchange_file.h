// Writing requests for the manager and reading what it writes back.
#pragma once

#include <string>

#include "zul00500/string_list.h"

namespace zul00500 {

// Saves `request` as root + "req\intpos.001". The lines go to
// "req\intpos.tmp" first and are renamed into place, so the manager never
// reads half a request. Throws FileError.
void SaveRequest(const StringList& request, const std::string& root);

// Loads a status or answer file the manager may still be writing: a read
// that yields no lines is retried once after a short pause. Throws FileError.
void LoadExchangeFile(StringList& list, const std::string& path);

// Shows the manager's operator message (030-000) to the operator. For an
// answer with receipt lines the dialog says so, and one window message is
// handled after it.
void ShowManagerMessage(const std::string& text, const std::string& context, bool withReceipt);

} // namespace zul00500
