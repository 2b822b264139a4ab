// A TEF manager of the simulated machine. It works one request at a time:
// it notices the request in its "req\" directory, takes it, writes the
// status file and, for a sale or a cancellation, the answer, each when its
// behaviour says, by rename or in place, in pieces. It records what it
// approved and every settlement it took in the ledger. Like a real one, it
// refuses a settlement or cancellation of a document it never approved
// with that network, and it takes each request once, even one it leaves in
// "req\".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/history.h"
#include "sim/ledger.h"
#include "support/memory_fs.h"
#include "support/string_list.h"

namespace zul00500::sim {

class SimManager {
public:
  // The till restarted: its memory of how this manager takes requests is gone.
  void TillRestarted() { removal_seen_ = false; }
  using NextBehaviour = std::function<Behaviour()>;
  using Now = std::function<std::int64_t()>;
  using CurrentStep = std::function<int()>;

  // `root` is "c:\tef_dial\" and the like; `letter` starts its documents.
  SimManager(std::string root, char letter, Manner manner, testing::MemoryFs& disk, Ledger& ledger,
             Timeline& timeline, NextBehaviour next, Now now, CurrentStep step);

  // Does whatever has fallen due by now.
  void Poll();
  // True while something it decided is still to be written, while it is
  // busy with a request it took, or while a request it has not noticed yet
  // lies in its directory.
  bool Working() const { return !events_.empty() || noticed_ || now_() < free_at_ || Untaken(); }
  // From now on it answers at once and approves (in its own manner).
  void Heal() { healed_ = true; }
  const std::string& Root() const { return root_; }
  // The network name this manager's approvals carry.
  static std::string OwnNetwork(const std::string& root);

private:
  struct Event {
    std::int64_t due;
    std::uint64_t order;
    std::function<bool()> action; // false: not now, try at the next poll
  };

  void At(std::int64_t due, std::function<bool()> action);
  void Take(const Behaviour& behaviour);
  // Writes `bytes` to resp\`name` from `start`, whole or in pieces; returns
  // when the last piece is due.
  std::int64_t Write(const std::string& name, const std::string& bytes, const Behaviour& behaviour,
                     std::int64_t start);
  StringList Answer(const StringList& request, const Behaviour& behaviour, bool refused);
  // The bytes of a status or answer file in the manner of this request.
  static std::string Bytes(const StringList& lines, const Manner& manner);
  // True when req\intpos.001 holds a request it has not taken yet.
  bool Untaken() const;
  // A settlement or cancellation naming a document and network it never
  // approved: refused, and recorded.
  bool Refuses(const std::string& operation, const StringList& request);
  void Say(const std::string& text) const;

  std::string root_;
  std::string request_path_;
  char letter_;
  testing::MemoryFs& disk_;
  Ledger& ledger_;
  Timeline& timeline_;
  NextBehaviour next_;
  Now now_;
  CurrentStep step_;
  Manner manner_;
  std::string last_taken_;    // the sequence of the last request taken
  std::string seen_sequence_; // the request in "req\\" seen last, and since when
  std::int64_t seen_at_ = 0;
  std::map<std::string, std::string> approved_; // document -> network, as it approved them
  std::map<std::string, std::string> cancels_;  // a cancellation's document -> the document it cancels
  std::set<std::string> cancelled_;             // documents whose cancellation was confirmed
  bool healed_ = false;
  bool kept_any_ = false; // it left a request it took where it lay
  // The till, since it last started, saw this manager remove what it takes:
  // the last request it acknowledged in time had left "req\\" at its status.
  bool removal_seen_ = false;
  bool noticed_ = false;
  std::int64_t free_at_ = 0;
  std::uint64_t order_ = 0;
  int documents_ = 0;
  std::vector<Event> events_;
};

} // namespace zul00500::sim
