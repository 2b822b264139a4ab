// The files a TEF manager writes in answer to one request, and when: pure
// functions of the request, the scenario's behaviour and the few facts the
// manager makes up (network, document number, time).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/string_list.h"
#include "tefsim/scenario.h"

namespace tefsim {

// How much of a file a step writes: all of it through a temporary and a
// rename, or one of the two pieces of a torn write, in place.
enum class Piece { Whole, First, Rest };

// One file to write under the root, after a pause.
struct Step {
  std::uint32_t delay_ms = 0; // after the previous step, or after taking the request
  bool after_pickup = false;  // and only once the package took the previous `name` away
  std::string name;           // relative to the root: "resp\intpos.sts"
  zul00500::StringList lines;
  std::string what; // for the log: "status", "answer", ...
  Piece piece = Piece::Whole;
  std::optional<std::size_t> cut = std::nullopt; // where the pieces part; unset: torn_cut()
  char bulk_shape = 0;                           // the behaviour's bulk, for the answer
  std::uint32_t bulk_mb = 0;
};

// The bytes a step writes: its lines, with its bulk before the last one.
std::string step_bytes(const Step& step);

// Where a torn write cuts `bytes`: in the middle of the first line, so that
// a reader of the first piece finds not even a whole header.
std::size_t torn_cut(std::string_view bytes);

// What the manager makes up for a transaction it answers.
struct Transaction {
  std::string network;  // 010-000
  std::string document; // 012-000, six digits
  double time = 0;      // of the answer, days since 1899-12-30
};

inline constexpr const char* kStatusName = "resp\\intpos.sts";
inline constexpr const char* kAnswerName = "resp\\intpos.001";

// The network a manager of `root` serves: TECBAN for "c:\tef_disc\", HCard
// for "c:\HiperTEF\", REDEX for any other.
std::string default_network(std::string_view root);

// True for the operations that get an answer file after the status file.
bool has_answer_file(std::string_view operation);

// The status file: the request's header (or the misbehaviour's first line),
// the request's sequence line, "999-999 = 0"; no line at all for Empty.
zul00500::StringList status_file(const zul00500::StringList& request, const Behaviour& behaviour);

// The answer to a sale request ("CRT", "CHQ"), edits of the behaviour
// (fields, omissions, lines) included.
zul00500::StringList sale_answer(const zul00500::StringList& request, const Behaviour& behaviour,
                                 const Transaction& transaction);

// The answer to a cancellation request ("CNC"): header and sequence, 009-000,
// the manager's network and a new document number, receipt lines ending in
// "CANCELAMENTO OK" when approved (028-000 = 0 otherwise), 030-000; the error
// answer "XXX" for Outcome::Error; the behaviour's edits applied.
zul00500::StringList cancellation_answer(const zul00500::StringList& request, const Behaviour& behaviour,
                                         const Transaction& transaction);

// Everything the manager writes for `request`, in order; empty when silent.
std::vector<Step> plan_answer(const zul00500::StringList& request, const Behaviour& behaviour,
                              const Transaction& transaction);

// "000-000 = ATV | 001-000 = 12 | 999-999 = 0": a file's lines on one log line.
std::string one_line(const zul00500::StringList& lines);

} // namespace tefsim
