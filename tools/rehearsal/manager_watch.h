// Attended, no simulator tells what the manager did on its own: a thread
// looks at the exchange files every millisecond and keeps each request,
// status and answer as it found it. A file that comes and goes between two
// looks is missed, so what it saw only adds to the timeline; the requests and
// the answers come from the package's own record (exchange_record.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rehearsal {

struct SeenFile {
  std::int64_t ms = 0; // since the case began
  std::string root;    // "c:\tef_dial\"
  std::string name;    // "req\intpos.001"
  std::string bytes;   // as read
  bool gone = false;   // it went away (taken)
};

class ManagerWatch {
public:
  // Looks at each root's request and answer files (native paths under
  // `drive_root`, or the real drives when it is empty); keeps a copy of each
  // version in `keep_folder`.
  ManagerWatch(const std::string& drive_root, const std::vector<std::string>& roots, std::string keep_folder,
               std::int64_t t0);
  ~ManagerWatch();
  ManagerWatch(const ManagerWatch&) = delete;
  ManagerWatch& operator=(const ManagerWatch&) = delete;

  // Stops looking; what was seen, in order.
  std::vector<SeenFile> Stop();

private:
  void Look();

  struct Watched {
    std::string root, name, native;
    bool present = false;
    std::string bytes;
  };
  std::vector<Watched> watched_;
  std::string keep_folder_;
  std::int64_t t0_;
  std::vector<SeenFile> seen_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

} // namespace rehearsal
