#include "sim/history.h"

#include <cstdlib>
#include <sstream>

#include "sim/random.h"

namespace zul00500::sim {

namespace {

constexpr const char* kActionNames[] = {"pay",  "print",   "cancel-pending", "cancel", "choose-network",
                                        "scan", "restart", "idle",           "night"};
constexpr const char* kStatusNames[] = {"ack",          "never", "empty",      "torn", "other-sequence",
                                        "wrong-header", "early", "early-other"};
constexpr const char* kAnswerNames[] = {"approve", "no-receipt", "refuse",         "error",
                                        "silent",  "bad-count",  "too-many-lines", "too-large"};
constexpr const char* kMannerNames[] = {"keep", "unclosed", "unended", "remove-late"};
constexpr const char* kNetworkNames[] = {"own", "tecban", "hcard", "other"};
constexpr const char* kRootNames[] = {"dial", "disc", "hiper"};
constexpr int kBusyTargets = 8;
constexpr int kReadOnlyTargets = 8;

// --- drawing ----------------------------------------------------------------

// The operation a cut strikes: most among the first ones, where a step does
// the most; the rest spread over a wide range, so that the last operations
// of a long step (a pending cancellation of several payments, a scan after
// a night) are cut too. One past the step's end simply never strikes.
int DrawCutAt(Random& random, int common) {
  if (random.Chance(600)) return random.Between(1, common);
  // Evenly over the powers of two from `common` to 16 times as far.
  const int octave = random.Between(0, 3);
  const int from = common << octave;
  return random.Between(from, from * 2);
}

bool* MannerFlag(Manner& manner, int index) {
  bool* flags[] = {&manner.keep, &manner.unclosed, &manner.unended, &manner.remove_late};
  return flags[index];
}

Manner DrawManner(Random& random, int per_mille) {
  Manner manner;
  for (int i = 0; i < 4; ++i) *MannerFlag(manner, i) = random.Chance(per_mille);
  return manner;
}

Fault DrawFault(Random& random, bool duringScan) {
  Fault fault;
  const int kind = duringScan ? 0 : random.Weighted({40, 15, 15, 10, 10, 10});
  fault.kind = static_cast<Fault::Kind>(kind + 1);
  switch (fault.kind) {
  case Fault::Kind::Cut:
    fault.at = DrawCutAt(random, duringScan ? 80 : 170);
    fault.torn = random.Chance(300);
    break;
  case Fault::Kind::DiskFull:
    fault.at = random.Between(1, 30);
    break;
  case Fault::Kind::Busy:
    fault.target = random.Between(0, kBusyTargets - 1);
    fault.ms = random.Between(100, 20000);
    break;
  case Fault::Kind::ReadOnly:
    fault.target = random.Between(0, kReadOnlyTargets - 1);
    break;
  case Fault::Kind::DialogFails:
    fault.at = random.Between(1, 3);
    break;
  case Fault::Kind::PrinterFails:
    fault.at = random.Between(1, 6);
    fault.torn = random.Chance(300);
    break;
  case Fault::Kind::None:
  case Fault::Kind::Erase: // never drawn
  case Fault::Kind::Divert:
  case Fault::Kind::Plant:
  case Fault::Kind::Forget:
    break;
  }
  return fault;
}

// `nights`: the weight of a night among the host's actions.
Step DrawStep(Random& random, int nights) {
  Step step;
  step.action = static_cast<Action>(random.Weighted({34, 18, 7, 7, 5, 6, 4, 6, nights}));
  step.seed = static_cast<std::uint32_t>(random.Next());
  switch (step.action) {
  case Action::Pay:
    step.total = random.Between(1, 300) * 100;
    step.amount = random.Chance(500) ? step.total : random.Between(1, step.total);
    step.kind = "CCCCCDDDVQQA"[random.Below(12)];
    break;
  case Action::ChooseNetwork:
    step.kind = "CDDQA"[random.Below(5)];
    break;
  case Action::Cancel:
    step.choice = random.Between(0, 7);
    break;
  case Action::Print:
    step.choice = random.Chance(200) ? 1 : 0;
    break;
  case Action::Idle:
    // Mostly a pause at the counter; now and then a quiet hour.
    step.amount = random.Chance(700) ? random.Between(1, 120) * 1000 : random.Between(120, 3600) * 1000;
    break;
  case Action::Night:
    step.amount = random.Between(8 * 60, 16 * 60) * 60000;
    break;
  default:
    break;
  }
  if (step.action != Action::Idle && step.action != Action::Night && random.Chance(350)) {
    step.fault = DrawFault(random, false);
    if (step.fault.kind == Fault::Kind::Cut)
      while (step.recovery.size() < 4 && random.Chance(300)) step.recovery.push_back(DrawFault(random, true));
  }
  return step;
}

Behaviour DrawBehaviour(Random& random) {
  Behaviour b;
  // What the protocol allows comes with healthy requests too.
  if (random.Chance(150)) b.manner = DrawManner(random, 300);
  if (random.Chance(650)) return b;
  b.lose = random.Chance(40);
  if (random.Chance(200)) b.take_ms = random.Between(0, 3000);
  else if (random.Chance(30)) b.take_ms = random.Between(15000, 60000);
  b.status = static_cast<Behaviour::Status>(random.Weighted({85, 4, 3, 3, 3, 2, 1, 1}));
  // Seen first, taken some seconds after, within the 15 s a manager has to
  // take a request: one taken later, after such a status, cannot be told
  // from one the manager took and kept in "req\\".
  if (b.status == Behaviour::Status::Early || b.status == Behaviour::Status::EarlyOther)
    b.take_ms = random.Chance(500) ? random.Between(1000, 12000) : 0;
  if (random.Chance(200)) b.status_ms = random.Between(0, 2000);
  else if (random.Chance(60)) b.status_ms = random.Between(15000, 40000);
  b.answer = static_cast<Behaviour::Answer>(random.Weighted({60, 6, 14, 8, 5, 3, 1, 1}));
  if (random.Chance(300)) b.answer_ms = random.Between(0, 5000);
  else if (random.Chance(50)) b.answer_ms = random.Between(30000, 300000);
  else if (random.Chance(30)) b.answer_ms = random.Between(600000, 900000);
  if (random.Chance(150)) b.network = static_cast<Behaviour::Network>(random.Between(1, 3));
  if (random.Chance(150)) {
    b.pieces = random.Between(2, 4);
    b.pause_ms = random.Chance(500) ? random.Between(0, 600) : random.Between(600, 8000);
    b.cuts = static_cast<std::uint32_t>(random.Next());
  }
  b.twice = random.Chance(40);
  return b;
}

// --- the text form --------------------------------------------------------------

template <std::size_t N> int IndexOf(const char* const (&names)[N], const std::string& name) {
  for (std::size_t i = 0; i < N; ++i)
    if (name == names[i]) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  return parts;
}

bool Number(const std::string& text, long long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return *end == '\0';
}

bool ParseFault(const std::string& text, Fault& fault) {
  const std::vector<std::string> parts = Split(text, ':');
  static const char* const kinds[] = {"none",    "cut",   "full",   "busy",  "readonly", "dialog",
                                      "printer", "erase", "divert", "plant", "forget"};
  const int kind = parts.empty() ? -1 : IndexOf(kinds, parts[0]);
  if (kind <= 0) return false;
  fault = Fault{};
  fault.kind = static_cast<Fault::Kind>(kind);
  long long a = 0, b = 0;
  if (parts.size() < 2 || !Number(parts[1], a)) return false;
  if (fault.kind == Fault::Kind::Busy || fault.kind == Fault::Kind::ReadOnly ||
      fault.kind == Fault::Kind::Erase || fault.kind == Fault::Kind::Divert ||
      fault.kind == Fault::Kind::Plant)
    fault.target = static_cast<int>(a);
  else fault.at = static_cast<int>(a);
  if (fault.kind == Fault::Kind::Busy) {
    if (parts.size() != 3 || !Number(parts[2], b)) return false;
    fault.ms = static_cast<int>(b);
    return true;
  }
  if (parts.size() == 3) {
    if (parts[2] != "torn" && parts[2] != "always") return false;
    fault.torn = true;
  }
  return parts.size() <= 3;
}

// " keep unended" and the like: the manner's words, each after a blank.
std::string MannerText(Manner manner) {
  std::string text;
  for (int i = 0; i < 4; ++i)
    if (*MannerFlag(manner, i)) text += std::string(" ") + kMannerNames[i];
  return text;
}

bool ParseMannerWord(const std::string& word, Manner& manner) {
  const int index = IndexOf(kMannerNames, word);
  if (index >= 0) *MannerFlag(manner, index) = true;
  return index >= 0;
}

void DescribeBehaviour(std::ostream& out, std::size_t index, const Behaviour& b) {
  out << "manager " << index;
  if (b.lose) out << " lose";
  if (b.take_ms) out << " take=" << b.take_ms;
  out << " status=" << kStatusNames[static_cast<int>(b.status)] << ":" << b.status_ms;
  out << " answer=" << kAnswerNames[static_cast<int>(b.answer)] << ":" << b.answer_ms;
  if (b.network != Behaviour::Network::Own) out << " network=" << kNetworkNames[static_cast<int>(b.network)];
  if (b.pieces > 1) out << " pieces=" << b.pieces << ":" << b.pause_ms << ":" << b.cuts;
  if (b.twice) out << " twice";
  if (b.fifo) out << " fifo";
  out << MannerText(b.manner) << "\n";
}

bool ParseBehaviour(const std::vector<std::string>& words, Behaviour& b, std::string& error) {
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::string& word = words[i];
    const std::size_t equals = word.find('=');
    const std::string key = word.substr(0, equals);
    const std::vector<std::string> value =
        Split(equals == std::string::npos ? "" : word.substr(equals + 1), ':');
    long long a = 0, c = 0, d = 0;
    if (key == "lose") b.lose = true;
    else if (key == "twice") b.twice = true;
    else if (key == "fifo") b.fifo = true;
    else if (equals == std::string::npos && ParseMannerWord(word, b.manner)) continue;
    else if (key == "take" && value.size() == 1 && Number(value[0], a)) b.take_ms = static_cast<int>(a);
    else if (key == "status" && value.size() == 2 && IndexOf(kStatusNames, value[0]) >= 0 &&
             Number(value[1], a)) {
      b.status = static_cast<Behaviour::Status>(IndexOf(kStatusNames, value[0]));
      b.status_ms = static_cast<int>(a);
    } else if (key == "answer" && value.size() == 2 && IndexOf(kAnswerNames, value[0]) >= 0 &&
               Number(value[1], a)) {
      b.answer = static_cast<Behaviour::Answer>(IndexOf(kAnswerNames, value[0]));
      b.answer_ms = static_cast<int>(a);
    } else if (key == "network" && value.size() == 1 && IndexOf(kNetworkNames, value[0]) >= 0) {
      b.network = static_cast<Behaviour::Network>(IndexOf(kNetworkNames, value[0]));
    } else if (key == "pieces" && value.size() == 3 && Number(value[0], a) && Number(value[1], c) &&
               Number(value[2], d)) {
      b.pieces = static_cast<int>(a);
      b.pause_ms = static_cast<int>(c);
      b.cuts = static_cast<std::uint32_t>(d);
    } else {
      error = "unknown manager word \"" + word + "\"";
      return false;
    }
  }
  return true;
}

bool ParseStep(const std::vector<std::string>& words, Step& step, std::string& error) {
  const int action = words.size() > 1 ? IndexOf(kActionNames, words[1]) : -1;
  if (action < 0) {
    error = "unknown action";
    return false;
  }
  step.action = static_cast<Action>(action);
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::string& word = words[i];
    const std::size_t equals = word.find('=');
    const std::string key = word.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
    long long n = 0;
    bool ok = true;
    if (key == "amount") ok = Number(value, n), step.amount = static_cast<int>(n);
    else if (key == "total") ok = Number(value, n), step.total = static_cast<int>(n);
    else if (key == "kind") ok = value.size() == 1, step.kind = value.empty() ? 'C' : value[0];
    else if (key == "choice") ok = Number(value, n), step.choice = static_cast<int>(n);
    else if (key == "seed") ok = Number(value, n), step.seed = static_cast<std::uint32_t>(n);
    else if (key == "fault") ok = ParseFault(value, step.fault);
    else if (key == "recovery") {
      for (const std::string& part : Split(value, ',')) {
        Fault fault;
        ok = ok && ParseFault(part, fault);
        step.recovery.push_back(fault);
      }
    } else ok = false;
    if (!ok) {
      error = "bad step word \"" + word + "\"";
      return false;
    }
  }
  return true;
}

} // namespace

constexpr std::size_t kRootCount = 3;

History Generate(std::uint64_t seed, int steps) {
  Random random(seed);
  History history;
  history.seed = seed;
  history.roots =
      (random.Chance(950) ? 1u : 0u) | (random.Chance(800) ? 2u : 0u) | (random.Chance(700) ? 4u : 0u);
  if ((history.roots & 3u) == 0) history.roots |= 1u;
  history.fiscal = random.Chance(500);
  if (history.fiscal) {
    constexpr int kTypes[] = {1, 2, 3, 14, 24, 28, 29};
    history.printer = kTypes[random.Below(7)];
  }
  // Most days close the till now and then; some run over several nights.
  const int nights = random.Chance(750) ? 2 : 20;
  for (int i = 0; i < steps; ++i) history.steps.push_back(DrawStep(random, nights));
  for (int i = 0; i < steps * 4; ++i) history.behaviours.push_back(DrawBehaviour(random));
  for (Manner& manner : history.manners)
    if (random.Chance(350)) manner = DrawManner(random, 350);
  return history;
}

const char* ActionName(Action action) { return kActionNames[static_cast<int>(action)]; }

std::string FaultText(const Fault& fault) {
  std::ostringstream out;
  switch (fault.kind) {
  case Fault::Kind::None:
    return "none";
  case Fault::Kind::Cut:
    out << "cut:" << fault.at << (fault.torn ? ":torn" : "");
    break;
  case Fault::Kind::DiskFull:
    out << "full:" << fault.at;
    break;
  case Fault::Kind::Busy:
    out << "busy:" << fault.target << ":" << fault.ms;
    break;
  case Fault::Kind::ReadOnly:
    out << "readonly:" << fault.target;
    break;
  case Fault::Kind::DialogFails:
    out << "dialog:" << fault.at;
    break;
  case Fault::Kind::PrinterFails:
    out << "printer:" << fault.at << (fault.torn ? ":always" : "");
    break;
  case Fault::Kind::Erase:
    out << "erase:" << fault.target;
    break;
  case Fault::Kind::Divert:
    out << "divert:" << fault.target;
    break;
  case Fault::Kind::Plant:
    out << "plant:" << fault.target;
    break;
  case Fault::Kind::Forget:
    out << "forget:" << fault.at;
    break;
  }
  return out.str();
}

std::string Describe(const History& history) {
  std::ostringstream out;
  out << "history seed=" << history.seed << " roots=";
  bool first = true;
  for (int i = 0; i < 3; ++i)
    if (history.roots & (1u << i)) out << (first ? "" : ",") << kRootNames[i], first = false;
  if (first) out << "none";
  out << " printer=" << (history.fiscal ? "F" : "N") << history.printer << "\n";
  for (std::size_t i = 0; i < kRootCount; ++i)
    if (history.manners[i] != Manner{})
      out << "manner " << kRootNames[i] << MannerText(history.manners[i]) << "\n";
  for (const Step& step : history.steps) {
    out << "step " << ActionName(step.action);
    if (step.action == Action::Pay)
      out << " amount=" << step.amount << " total=" << step.total << " kind=" << step.kind;
    if (step.action == Action::ChooseNetwork) out << " kind=" << step.kind;
    if (step.action == Action::Idle || step.action == Action::Night) out << " amount=" << step.amount;
    if (step.choice) out << " choice=" << step.choice;
    out << " seed=" << step.seed;
    if (step.fault.kind != Fault::Kind::None) out << " fault=" << FaultText(step.fault);
    if (!step.recovery.empty()) {
      out << " recovery=";
      for (std::size_t i = 0; i < step.recovery.size(); ++i)
        out << (i ? "," : "") << FaultText(step.recovery[i]);
    }
    out << "\n";
  }
  for (std::size_t i = 0; i < history.behaviours.size(); ++i)
    if (history.behaviours[i] != Behaviour{}) DescribeBehaviour(out, i, history.behaviours[i]);
  return out.str();
}

bool Parse(const std::string& text, History& history, std::string& error) {
  history = History{};
  history.roots = 0;
  int number = 0;
  for (const std::string& line : Split(text, '\n')) {
    ++number;
    std::vector<std::string> words;
    for (const std::string& word : Split(line, ' '))
      if (!word.empty() && word != "\r") words.push_back(word);
    if (words.empty() || words[0][0] == '#') continue;
    bool ok = true;
    if (words[0] == "history") {
      for (std::size_t i = 1; i < words.size() && ok; ++i) {
        const std::string& word = words[i];
        long long n = 0;
        if (word.rfind("seed=", 0) == 0)
          ok = Number(word.substr(5), n), history.seed = static_cast<std::uint64_t>(n);
        else if (word.rfind("roots=", 0) == 0) {
          for (const std::string& root : Split(word.substr(6), ','))
            if (const int i2 = IndexOf(kRootNames, root); i2 >= 0) history.roots |= 1u << i2;
            else ok = root == "none";
        } else if (word.rfind("printer=", 0) == 0 && word.size() > 9) {
          history.fiscal = word[8] == 'F';
          ok = Number(word.substr(9), n), history.printer = static_cast<int>(n);
        } else ok = false;
      }
      if (!ok) error = "bad history line";
    } else if (words[0] == "manner") {
      const int root = words.size() > 1 ? IndexOf(kRootNames, words[1]) : -1;
      ok = root >= 0;
      for (std::size_t i = 2; ok && i < words.size(); ++i)
        ok = ParseMannerWord(words[i], history.manners[static_cast<std::size_t>(root)]);
      if (!ok) error = "bad manner line";
    } else if (words[0] == "step") {
      Step step;
      ok = ParseStep(words, step, error);
      history.steps.push_back(step);
    } else if (words[0] == "manager") {
      long long index = 0;
      ok = words.size() > 1 && Number(words[1], index) && index >= 0 && index < 100000;
      if (ok) {
        if (history.behaviours.size() <= static_cast<std::size_t>(index))
          history.behaviours.resize(static_cast<std::size_t>(index) + 1);
        ok = ParseBehaviour(words, history.behaviours[static_cast<std::size_t>(index)], error);
      } else error = "bad manager index";
    } else {
      ok = false;
      error = "unknown line";
    }
    if (!ok) {
      error = "line " + std::to_string(number) + ": " + error;
      return false;
    }
  }
  return true;
}

} // namespace zul00500::sim
