// What the answer waits share: the memory of an answer that was turned down,
// so that a wait does not read it again, and store one more backup of it,
// on every cycle while the manager leaves it in place.
#pragma once

#include <optional>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

class RejectedAnswer {
public:
  // True while `path` still holds the answer last turned down. A file that
  // cannot be read counts as changed: the regular read then reports it.
  bool StillThere(const std::string& path) const;
  void Remember(const StringList& answer) { rejected_ = answer; }

private:
  std::optional<StringList> rejected_;
};

} // namespace zul00500
