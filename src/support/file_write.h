// Writing a file that another program, or the next run, reads: never seen
// half written, not even after a crash in the middle of the write.
#pragma once

#include <string>
#include <string_view>

namespace zul00500 {

// Writes `bytes` to a temporary beside `path` (its name with the extension
// ".tmp": "req\intpos.tmp", "DIRTEF.tmp") and renames that over `path` in
// one step. Throws FileError; the old `path` is then as it was, and no
// temporary is left behind when it can be removed.
void WriteFileInOneStep(const std::string& path, std::string_view bytes);

} // namespace zul00500
