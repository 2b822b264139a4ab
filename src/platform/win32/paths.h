// The drive-root mapping on Windows, for tests and rehearsals that must not
// touch the machine's real drives. Off unless a drive root is set: then a
// drive path "X:\a\b" lives at ROOT\x\a\b, while a path that already lies
// under ROOT (a test's or a tool's own native path) is used as it is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zul00500::platform::win32 {

struct MappedPath {
  // Where the path lives. "." and ".." of a mapped drive path never climb
  // above ROOT\x.
  std::string native;
  // What the path keeps of itself before its own components: "c:" for a
  // mapped drive path, the written root for a path under ROOT; empty when
  // nothing was mapped.
  std::string kept;
  // How many trailing components of `native` are the path's own.
  std::size_t components = 0;
  bool trailing_separator = false;

  // A system result about `native` with the same components (its short
  // form, say) in the path's own form: "c:\TEF~1" rather than ROOT\c\TEF~1.
  std::string back(std::string_view system_path) const;
};

MappedPath map_path(std::string_view path);

} // namespace zul00500::platform::win32
