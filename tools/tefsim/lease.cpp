#include "tefsim/lease.h"

#include <filesystem>

namespace tefsim {

bool Lease::expired() const {
  if (path_.empty() || expired_) return expired_;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_look_) return false;
  next_look_ = now + std::chrono::seconds(1);
  std::error_code error;
  const auto touched = std::filesystem::last_write_time(path_, error);
  // A file that cannot be read counts as gone.
  expired_ = error || std::filesystem::file_time_type::clock::now() - touched > limit_;
  return expired_;
}

} // namespace tefsim
