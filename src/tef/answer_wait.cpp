#include "tef/answer_wait.h"

#include "support/errors.h"

namespace zul00500 {

bool RejectedAnswer::StillThere(const std::string& path) const {
  if (!rejected_) return false;
  StringList current;
  try {
    current.LoadFromFile(path);
  } catch (const FileError&) {
    return false;
  }
  return current == *rejected_;
}

} // namespace zul00500
