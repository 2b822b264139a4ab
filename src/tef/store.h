// What the store and the leftover scan share about backup names.
#pragma once

#include <cstdint>
#include <string>

namespace zul00500 {

// The number of a backup name's extension (the text after the last dot),
// with the blanks our own names carry. False for anything else: a status
// file, "intpos.tmp", "intpos.bak", a name without a dot. Such entries are
// not answers the package stored.
bool BackupNumber(const std::string& name, std::int64_t& number);

} // namespace zul00500
