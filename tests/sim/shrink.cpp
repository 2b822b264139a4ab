#include "sim/shrink.h"

#include <functional>

namespace zul00500::sim {

namespace {

class Shrinker {
public:
  Shrinker(const History& history, const Violation& violation, int budget)
      : best_{history, violation, 0}, budget_(budget) {}

  Shrunk Run() {
    for (bool progress = true; progress && best_.runs < budget_;) {
      progress = false;
      progress |= DropSteps();
      progress |= DropFaults();
      progress |= HealBehaviours();
      progress |= PlainManners();
      progress |= ShortenWaits();
      progress |= AddRoots();
    }
    while (!best_.history.behaviours.empty() && best_.history.behaviours.back() == Behaviour{})
      best_.history.behaviours.pop_back();
    return best_;
  }

private:
  // Keeps `candidate` when it still breaks the same invariant.
  bool Try(const History& candidate) {
    if (best_.runs >= budget_) return false;
    ++best_.runs;
    const DayResult result = RunDay(candidate, false);
    if (!result.violation || result.violation->invariant != best_.violation.invariant) return false;
    best_.history = candidate;
    best_.violation = *result.violation;
    return true;
  }

  // Runs of steps first, halving the run's length, then single steps.
  bool DropSteps() {
    bool progress = false;
    for (std::size_t chunk = best_.history.steps.size() / 2; chunk >= 1; chunk /= 2) {
      for (std::size_t end = best_.history.steps.size(); end >= chunk; --end) {
        if (end > best_.history.steps.size()) continue;
        History candidate = best_.history;
        candidate.steps.erase(candidate.steps.begin() + static_cast<std::ptrdiff_t>(end - chunk),
                              candidate.steps.begin() + static_cast<std::ptrdiff_t>(end));
        progress |= Try(candidate);
      }
    }
    return progress;
  }

  bool DropFaults() {
    bool progress = false;
    for (std::size_t i = 0; i < best_.history.steps.size(); ++i) {
      while (!best_.history.steps[i].recovery.empty()) {
        History candidate = best_.history;
        candidate.steps[i].recovery.pop_back();
        if (!Try(candidate)) break;
        progress = true;
      }
      if (best_.history.steps[i].fault.kind == Fault::Kind::None) continue;
      History candidate = best_.history;
      candidate.steps[i].fault = Fault{};
      candidate.steps[i].recovery.clear();
      progress |= Try(candidate);
    }
    return progress;
  }

  bool HealBehaviours() {
    bool progress = false;
    for (std::size_t i = 0; i < best_.history.behaviours.size(); ++i) {
      if (best_.history.behaviours[i] == Behaviour{}) continue;
      History candidate = best_.history;
      candidate.behaviours[i] = Behaviour{};
      if (Try(candidate)) {
        progress = true;
        continue;
      }
      // Or at least fewer of its oddities.
      const std::function<void(Behaviour&)> plainer[] = {
          [](Behaviour& b) { b.lose = false; },
          [](Behaviour& b) { b.take_ms = 0; },
          [](Behaviour& b) { b.status = Behaviour::Status::Ack; },
          [](Behaviour& b) { b.status_ms = 0; },
          [](Behaviour& b) { b.answer = Behaviour::Answer::Approve; },
          [](Behaviour& b) { b.answer_ms = 0; },
          [](Behaviour& b) { b.network = Behaviour::Network::Own; },
          [](Behaviour& b) { b.pieces = 1, b.pause_ms = 0, b.cuts = 0; },
          [](Behaviour& b) { b.twice = false; },
          [](Behaviour& b) { b.fifo = false; },
          [](Behaviour& b) { b.manner = Manner{}; },
          [](Behaviour& b) { b.manner.keep = false; },
          [](Behaviour& b) { b.manner.unclosed = false; },
          [](Behaviour& b) { b.manner.unended = false; },
          [](Behaviour& b) { b.manner.remove_late = false; }};
      for (const auto& plain : plainer) {
        candidate = best_.history;
        plain(candidate.behaviours[i]);
        if (candidate.behaviours[i] != best_.history.behaviours[i]) progress |= Try(candidate);
      }
    }
    return progress;
  }

  // Each manager's manner, whole, then flag by flag.
  bool PlainManners() {
    bool progress = false;
    const std::function<void(Manner&)> plainer[] = {
        [](Manner& m) { m = Manner{}; }, [](Manner& m) { m.keep = false; },
        [](Manner& m) { m.unclosed = false; }, [](Manner& m) { m.unended = false; },
        [](Manner& m) { m.remove_late = false; }};
    for (Manner& manner : best_.history.manners) {
      const std::size_t root = static_cast<std::size_t>(&manner - best_.history.manners);
      for (const auto& plain : plainer) {
        History candidate = best_.history;
        plain(candidate.manners[root]);
        if (candidate.manners[root] != best_.history.manners[root]) progress |= Try(candidate);
      }
    }
    return progress;
  }

  // Hours of quiet shortened to a minute, when the day breaks all the same.
  bool ShortenWaits() {
    bool progress = false;
    for (std::size_t i = 0; i < best_.history.steps.size(); ++i) {
      const Step& step = best_.history.steps[i];
      if ((step.action != Action::Idle && step.action != Action::Night) || step.amount <= 60000) continue;
      History candidate = best_.history;
      candidate.steps[i].amount = 60000;
      progress |= Try(candidate);
    }
    return progress;
  }

  bool AddRoots() {
    bool progress = false;
    for (unsigned bit = 1; bit <= 4; bit <<= 1) {
      if (best_.history.roots & bit) continue;
      History candidate = best_.history;
      candidate.roots |= bit;
      progress |= Try(candidate);
    }
    return progress;
  }

  Shrunk best_;
  int budget_;
};

} // namespace

Shrunk Shrink(const History& history, const Violation& violation, int budget) {
  return Shrinker(history, violation, budget).Run();
}

} // namespace zul00500::sim
