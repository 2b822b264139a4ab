// Shrinking a day that broke an invariant: steps, faults and manager
// behaviours are taken away one by one while the same invariant still
// breaks, down to a history a person reads in a minute.
#pragma once

#include <string>

#include "sim/history.h"
#include "sim/sim_world.h"

namespace zul00500::sim {

struct Shrunk {
  History history;
  Violation violation;
  int runs = 0; // days played to shrink it
};

// `violation` is what `history` broke; at most `budget` days are played.
Shrunk Shrink(const History& history, const Violation& violation, int budget = 3000);

} // namespace zul00500::sim
