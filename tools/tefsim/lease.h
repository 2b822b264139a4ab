// A lease on tefsim's life: a file that the program which started tefsim
// touches while it needs it. Gone or stale, tefsim stops, so that a
// simulator whose starter was killed does not serve its roots on and on.
#pragma once

#include <chrono>
#include <string>

namespace tefsim {

class Lease {
public:
  // An empty path: no lease, it never expires.
  explicit Lease(std::string path, std::chrono::seconds limit = std::chrono::seconds(10))
      : path_(std::move(path)), limit_(limit) {}

  // Looks at the file at most once a second.
  bool expired() const;

private:
  std::string path_;
  std::chrono::seconds limit_;
  mutable std::chrono::steady_clock::time_point next_look_{};
  mutable bool expired_ = false;
};

} // namespace tefsim
