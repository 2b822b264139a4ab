#include "sim/sim_manager.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "sim/random.h"
#include "support/fake_manager.h"
#include "support/host_services.h"
#include "tef/settlement/memory.h"

namespace zul00500::sim {

namespace {

// A manager stuck behind an answer the package never takes away writes over
// it after this long.
constexpr std::int64_t kOverwriteAfterMs = 30000;

bool WithAnswer(const std::string& operation) {
  return operation == "CRT" || operation == "CHQ" || operation == "CNC";
}

std::string NetworkName(Behaviour::Network network, const std::string& own) {
  switch (network) {
  case Behaviour::Network::Own:
    return own;
  case Behaviour::Network::Tecban:
    return "TECBAN";
  case Behaviour::Network::Hcard:
    return "HCard";
  case Behaviour::Network::Other:
    return "REDEZ";
  }
  return own;
}

// The sequence a request names, read as a manager would.
std::string SequenceOf(const std::string& bytes) {
  const std::size_t at = bytes.find("001-000 = ");
  if (at == std::string::npos) return {};
  const std::size_t from = at + 10;
  return bytes.substr(from, bytes.find_first_of("\r\n", from) - from);
}

// Lines that make an oversize answer: past the line limit in a hundred KB,
// or past the byte limit in one line.
constexpr std::size_t kManyLines = 8300;
constexpr std::size_t kLongLine = 1100 * 1024;

// Where the pieces of a file written in place end: drawn from the
// behaviour, half of them moved to just after a line end.
std::vector<std::size_t> PieceEnds(const std::string& bytes, const Behaviour& behaviour, std::size_t salt) {
  std::vector<std::size_t> ends;
  if (bytes.size() < 2) return {bytes.size()};
  Random random(behaviour.cuts ^ (salt * 0x9E3779B97F4A7C15ULL));
  for (int i = 1; i < behaviour.pieces; ++i) {
    std::size_t end = 1 + random.Below(static_cast<std::uint32_t>(bytes.size() - 1));
    if (random.Chance(500)) {
      const std::size_t line_end = bytes.rfind('\n', end - 1);
      if (line_end != std::string::npos && line_end + 1 < bytes.size()) end = line_end + 1;
    }
    ends.push_back(end);
  }
  ends.push_back(bytes.size());
  std::sort(ends.begin(), ends.end());
  ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
  return ends;
}

// An answer whose part written so far holds its header, its sequence, its
// result and every receipt line, and a status that holds its header, may be
// taken for whole once it stops changing for the package's quiet time
// (1.5 s): a manager that paused
// longer there would hand over a file that by the protocol's rule is whole.
// The world's managers pause no longer than this from where the last of
// those lines begins.
constexpr int kPauseWhereItMayLookWholeMs = 1200;

std::size_t WhereItMayLookWhole(const std::string& name, const std::string& bytes) {
  // A status's header alone is a whole status.
  if (name == "intpos.sts") return 1;
  constexpr const char* kNeeded[] = {"000-000 ", "001-000 ", "009-000 ", "028-000 ", "710-000 ", "712-000 ",
                                     "714-000 ", "029-",     "711-",     "713-",     "715-"};
  std::size_t last = bytes.size();
  for (std::size_t begin = 0; begin < bytes.size();) {
    const std::size_t end = bytes.find('\n', begin);
    const std::string_view line = std::string_view(bytes).substr(begin, end - begin);
    for (const char* needed : kNeeded)
      if (line.starts_with(needed)) last = begin;
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return last + 1;
}

} // namespace

SimManager::SimManager(std::string root, char letter, Manner manner, testing::MemoryFs& disk, Ledger& ledger,
                       Timeline& timeline, NextBehaviour next, Now now, CurrentStep step)
    : root_(std::move(root)), request_path_(root_ + "req\\intpos.001"), letter_(letter), disk_(disk),
      ledger_(ledger), timeline_(timeline), next_(std::move(next)), now_(std::move(now)),
      step_(std::move(step)), manner_(manner) {
  disk_.create_directories(root_ + "req");
  disk_.create_directories(root_ + "resp");
}

std::string SimManager::OwnNetwork(const std::string& root) {
  if (root == "c:\\tef_disc\\") return "TECBAN";
  if (root == "c:\\HiperTEF\\") return "HCard";
  return "REDEY";
}

bool SimManager::Untaken() const {
  std::string bytes;
  if (!disk_.file_exists(request_path_)) return false;
  return last_taken_.empty() || !disk_.Peek(request_path_, bytes) || SequenceOf(bytes) != last_taken_;
}

std::string SimManager::Bytes(const StringList& lines, const Manner& manner) {
  std::string bytes = lines.Text();
  const std::string closing = std::string(testing::kClosingLine) + "\r\n";
  if (manner.unclosed && bytes.size() >= closing.size() && bytes.ends_with(closing))
    bytes.resize(bytes.size() - closing.size());
  if (manner.unended && bytes.size() >= 2) bytes.resize(bytes.size() - 2);
  return bytes;
}

bool SimManager::Refuses(const std::string& operation, const StringList& request) {
  const std::string document = request.Field("012-000 ");
  const std::string network = request.Field("010-000 ");
  const auto approved = approved_.find(document);
  const bool unknown = approved == approved_.end() || approved->second != network;
  const bool again = operation == "CNC" && cancelled_.count(document) > 0;
  if (operation == "CNF" && cancels_.count(document)) cancelled_.insert(cancels_[document]);
  ledger_.taken.push_back(
      {operation, document, network, root_, unknown, again, step_(), request.Field("001-000 ")});
  if (unknown) Say("refuses " + operation + " of " + document + " " + network + ": never approved here");
  else if (again) Say("refuses CNC of " + document + ": cancelled already");
  return unknown || again;
}

void SimManager::Say(const std::string& text) const {
  if (timeline_.On()) timeline_.Line(now_(), "mgr " + root_.substr(3, root_.size() - 4), text);
}

void SimManager::At(std::int64_t due, std::function<bool()> action) {
  events_.push_back({due, order_++, std::move(action)});
}

void SimManager::Poll() {
  const std::int64_t now = now_();
  // Due events in order of time, then of scheduling; one that cannot act yet
  // stays for the next poll.
  std::vector<std::uint64_t> waiting;
  for (;;) {
    auto next = events_.end();
    for (auto it = events_.begin(); it != events_.end(); ++it) {
      if (it->due > now || std::find(waiting.begin(), waiting.end(), it->order) != waiting.end()) continue;
      if (next == events_.end() || it->due < next->due || (it->due == next->due && it->order < next->order))
        next = it;
    }
    if (next == events_.end()) break;
    Event event = std::move(*next);
    events_.erase(next);
    if (!event.action()) {
      waiting.push_back(event.order);
      events_.push_back(std::move(event));
    }
  }
  // When a request first appears, busy or not: the package's wait runs from then.
  if (std::string seen; Untaken() && disk_.Peek(request_path_, seen) && SequenceOf(seen) != seen_sequence_) {
    seen_sequence_ = SequenceOf(seen);
    seen_at_ = now;
  }
  if (!noticed_ && now >= free_at_ && Untaken()) {
    noticed_ = true;
    const Behaviour behaviour = healed_ ? Behaviour{} : next_();
    // A stale status. Early: in this manager's own form, the HiperTEF
    // root's naming a sequence (another one), the others' the header alone;
    // only from a manager the till, since it last started, saw remove what
    // it takes (its last request acknowledged in time had left "req\\" by
    // then): for one that keeps requests there, or one the till knows
    // nothing of yet, nothing would tell it from the acknowledgement.
    // EarlyOther: from any manager, naming another sequence.
    const bool other = behaviour.status == Behaviour::Status::EarlyOther;
    const bool early = other || (behaviour.status == Behaviour::Status::Early && removal_seen_);
    if (std::string bytes; early && disk_.Peek(request_path_, bytes)) {
      StringList request;
      request.SetText(bytes);
      const std::string header = "000-000 = " + request.Field("000-000 ");
      Write("intpos.sts",
            Bytes(letter_ == 'C' || other ? StringList{header, "001-000 = 9999999999", testing::kClosingLine}
                                          : StringList{header, testing::kClosingLine},
                  manner_ | behaviour.manner),
            behaviour, now);
    }
    At(now + behaviour.take_ms, [this, behaviour] {
      Take(behaviour);
      return true;
    });
  }
}

namespace {
// Below the package's 15 s, with a status cycle to spare.
constexpr std::int64_t kInTimeMs = 14'000;

// `waited`: since the request appeared, until the manager took it (a busy
// manager takes it late, and the package's 15 s run from the request).
bool AcknowledgedInTime(const Behaviour& behaviour, std::int64_t waited) {
  const std::int64_t written =
      waited + behaviour.status_ms +
      (behaviour.pieces > 1 ? std::int64_t{behaviour.pieces - 1} * behaviour.pause_ms : 0);
  return !behaviour.lose && behaviour.status == Behaviour::Status::Ack && written < kInTimeMs;
}
} // namespace

void SimManager::Take(const Behaviour& behaviour) {
  noticed_ = false;
  std::string bytes;
  if (!Untaken() || !disk_.Peek(request_path_, bytes)) return;
  Manner manner = manner_ | behaviour.manner;
  // Only a request acknowledged as relied on (a status with its header,
  // whole within the 15 s) stays in "req\\" after it was taken: a manager
  // that keeps it, or removes it late, and writes no status, a late one or
  // a wrong one leaves nothing by which anyone could tell a request it took
  // from one it never saw.
  if (!AcknowledgedInTime(behaviour, now_() - seen_at_)) manner.keep = manner.remove_late = false;
  else removal_seen_ = !(manner.keep || manner.remove_late);
  if (behaviour.lose || !(manner.keep || manner.remove_late)) disk_.Drop(request_path_);
  kept_any_ = kept_any_ || (manner.keep && !behaviour.lose);
  ++ledger_.requests_taken;
  StringList request;
  request.SetText(bytes);
  const std::string operation = request.Field("000-000 ");
  const std::string sequence = request.Field("001-000 ");
  last_taken_ = SequenceOf(bytes);
  const std::int64_t now = now_();
  // A settlement taken is the manager's from then on, even one it loses:
  // the package cannot tell a lost request from one taken and never
  // acknowledged, and must not send a second.
  if (operation == "CNF" || operation == "NCN") {
    auto& [confirmed, undone] = ledger_.settled[request.Field("012-000 ")];
    (operation == "CNF" ? confirmed : undone) += 1;
  }
  const bool refused =
      (operation == "CNF" || operation == "NCN" || operation == "CNC") && Refuses(operation, request);
  if (behaviour.lose) {
    Say("takes " + operation + " " + sequence + " and loses it");
    free_at_ = now;
    return;
  }
  const std::string document = request.Field("012-000 ");
  Say("takes " + operation + " " + sequence + (document.empty() ? "" : " of " + document) +
      (manner.keep          ? ", leaves it in req\\"
       : manner.remove_late ? ", removes it after the status"
                            : ""));

  const std::string header = "000-000 = " + operation;
  const std::string closing = testing::kClosingLine;
  std::int64_t end = now + behaviour.status_ms;
  switch (behaviour.status) {
  case Behaviour::Status::Ack:
    // The HiperTEF root's manager names the request's sequence in its
    // status files, as the protocol lets a manager add fields of its own;
    // the others write the header alone.
    end = Write("intpos.sts",
                Bytes(letter_ == 'C' ? StringList{header, "001-000 = " + sequence, closing}
                                     : StringList{header, closing},
                      manner),
                behaviour, end);
    break;
  case Behaviour::Status::OtherSequence:
    end = Write("intpos.sts", Bytes({header, "001-000 = 9999999999", closing}, manner), behaviour, end);
    break;
  case Behaviour::Status::WrongHeader:
    // A manager that keeps its requests and heads a status with another
    // operation's code leaves nothing to tell which request it answers (a
    // status names no sequence): such a manager writes its own header.
    end = Write(
        "intpos.sts",
        Bytes({kept_any_ ? header : "000-000 = " + std::string(operation == "ATV" ? "CNF" : "ATV"), closing},
              manner),
        behaviour, end);
    break;
  case Behaviour::Status::Empty:
    end = Write("intpos.sts", "", behaviour, end);
    break;
  case Behaviour::Status::Torn:
    end = Write("intpos.sts", header.substr(0, 6), behaviour, end);
    break;
  case Behaviour::Status::Never:
  case Behaviour::Status::Early:
  case Behaviour::Status::EarlyOther:
    break;
  }
  free_at_ = end;
  if (manner.remove_late && !manner.keep && !behaviour.lose) {
    // Only the request it took: a later one written over it stays.
    At(end, [this, taken = last_taken_] {
      std::string now_there;
      if (disk_.Peek(request_path_, now_there) && SequenceOf(now_there) == taken) {
        disk_.Drop(request_path_);
        Say("removes the request " + taken);
      }
      return true;
    });
  }
  if (!WithAnswer(operation) || behaviour.answer == Behaviour::Answer::Silent) return;
  if (behaviour.fifo)
    At(end, [this] {
      disk_.PutSpecial(root_ + "resp\\intpos.001", testing::MemoryFs::Special::Fifo);
      Say("another program puts a FIFO at resp\\intpos.001");
      return true;
    });

  const StringList answer = Answer(request, behaviour, refused);
  const std::string written = Bytes(answer, manner);
  const std::string cancelled = operation == "CNC" ? request.Field("012-000 ") : std::string();
  free_at_ = INT64_MAX;
  const std::int64_t due = end + behaviour.answer_ms;
  At(due, [this, answer, written, behaviour, due, cancelled] {
    const std::string target = root_ + "resp\\intpos.001";
    // Whatever lies there (a FIFO too) must go first.
    if (disk_.file_exists(target) && now_() - due < kOverwriteAfterMs) return false;
    const std::string document = answer.Field("012-000 ");
    const std::string count = answer.Field("028-000 ");
    if (answer.Field("009-000 ") == "0" && answer[0] != "000-000 = XXX") {
      const bool oversize = behaviour.answer == Behaviour::Answer::TooManyLines ||
                            behaviour.answer == Behaviour::Answer::TooLarge;
      ledger_.approvals.push_back({document, answer.Field("000-000 "), root_, answer.Field("010-000 "),
                                   answer.Field("001-000 "), cancelled, written,
                                   !count.empty() && count != "0", oversize, step_()});
      approved_[document] = answer.Field("010-000 ");
      if (!cancelled.empty()) cancels_[document] = cancelled;
    }
    Say("answers " + answer.Field("001-000 ") + ": " + answer[0].substr(10) +
        " 009-000=" + answer.Field("009-000 ") + " 010-000=" + answer.Field("010-000 ") +
        " 012-000=" + document + " (" + std::to_string(written.size()) + " bytes)");
    free_at_ = Write("intpos.001", written, behaviour, now_());
    if (behaviour.twice) {
      At(free_at_ + 1, [this, answer, written] {
        std::string bytes;
        if (disk_.Peek(root_ + "resp\\intpos.001", bytes)) return false;
        Say("answers " + answer.Field("001-000 ") + " again");
        disk_.Put(root_ + "resp\\intpos.001", written);
        return true;
      });
    }
    return true;
  });
}

std::int64_t SimManager::Write(const std::string& name, const std::string& bytes, const Behaviour& behaviour,
                               std::int64_t start) {
  const std::string path = root_ + "resp\\" + name;
  if (behaviour.pieces <= 1) {
    At(start, [this, path, bytes, name] {
      disk_.Put(path, bytes);
      Say("writes resp\\" + name + " (" + std::to_string(bytes.size()) + " bytes)");
      return true;
    });
    return start;
  }
  const std::vector<std::size_t> ends = PieceEnds(bytes, behaviour, name.size());
  const std::size_t may_look_whole = WhereItMayLookWhole(name, bytes);
  // An answer from a manager the till has seen close its answers is waited
  // for longer (the till said so when it read one closed, and a restart
  // makes it forget): there the world's managers keep their long pauses
  // (up to 8 s) wherever they fall. Asked of the package itself, for its
  // promise is what is measured; a sale's wait is in the process that
  // remembers.
  const bool waits_for_closing_line = name == "intpos.001" && WritesClosingLine(path);
  std::size_t begin = 0;
  std::int64_t when = start;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const std::string piece = bytes.substr(begin, ends[i] - begin);
    const bool first = i == 0, last = i + 1 == ends.size();
    At(when, [this, path, piece, first, last, name, i, count = ends.size()] {
      if (first) {
        disk_.Hold(path, testing::MemoryFs::Hold::SharedRead);
        disk_.Put(path, piece);
      } else {
        disk_.Extend(path, piece);
      }
      if (last) disk_.Release(path, testing::MemoryFs::Hold::SharedRead);
      Say("writes resp\\" + name + " in place, piece " + std::to_string(i + 1) + "/" + std::to_string(count) +
          " (" + std::to_string(piece.size()) + " bytes)");
      return true;
    });
    begin = ends[i];
    if (!last)
      when += ends[i] >= may_look_whole && !waits_for_closing_line
                  ? std::min(behaviour.pause_ms, kPauseWhereItMayLookWholeMs)
                  : behaviour.pause_ms;
  }
  return when;
}

StringList SimManager::Answer(const StringList& request, const Behaviour& behaviour, bool refused) {
  const std::string operation = request.Field("000-000 ");
  const std::string sequence = request.Field("001-000 ");
  const std::string document = std::string(1, letter_) + AjustaZero(std::to_string(++documents_), 5);
  if (behaviour.answer == Behaviour::Answer::Error)
    return {"000-000 = XXX", "001-000 = " + sequence, "030-000 = Erro no gerenciador", testing::kClosingLine};
  const bool approved = behaviour.answer != Behaviour::Answer::Refuse && !refused;
  StringList answer{"000-000 = " + operation,
                    "001-000 = " + sequence,
                    "003-000 = " + request.Field("003-000 "),
                    std::string("009-000 = ") + (approved ? "0" : "05"),
                    "010-000 = " + NetworkName(behaviour.network, OwnNetwork(root_)),
                    "012-000 = " + document,
                    "022-000 = 07122026",
                    "023-000 = 080000",
                    "027-000 = 000000000000" + document + "XYZ"};
  if (approved && behaviour.answer != Behaviour::Answer::NoReceipt) {
    answer.Add(behaviour.answer == Behaviour::Answer::BadCount ? "028-000 = dois" : "028-000 = 2");
    answer.Add("029-001 = \"VIA " + document + "\"");
    answer.Add("029-002 = \"APROVADA\"");
  } else {
    answer.Add("028-000 = 0");
  }
  answer.Add(approved  ? "030-000 = Transacao aprovada"
             : refused ? "030-000 = Transacao nao encontrada"
                       : "030-000 = Transacao negada");
  if (approved && behaviour.answer == Behaviour::Answer::TooManyLines)
    for (std::size_t i = 0; i < kManyLines; ++i) answer.Add("900-000 = .");
  if (approved && behaviour.answer == Behaviour::Answer::TooLarge)
    answer.Add("900-000 = " + std::string(kLongLine, 'x'));
  answer.Add(testing::kClosingLine);
  return answer;
}

} // namespace zul00500::sim
