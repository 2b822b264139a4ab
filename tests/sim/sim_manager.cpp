#include "sim/sim_manager.h"

#include <algorithm>
#include <cstdint>

#include "sim/random.h"
#include "support/fake_manager.h"
#include "support/host_services.h"

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

} // namespace

SimManager::SimManager(std::string root, char letter, testing::MemoryFs& disk, Ledger& ledger,
                       Timeline& timeline, NextBehaviour next, Now now, CurrentStep step)
    : root_(std::move(root)), request_path_(root_ + "req\\intpos.001"), letter_(letter), disk_(disk),
      ledger_(ledger), timeline_(timeline), next_(std::move(next)), now_(std::move(now)),
      step_(std::move(step)) {
  disk_.create_directories(root_ + "req");
  disk_.create_directories(root_ + "resp");
}

std::string SimManager::OwnNetwork(const std::string& root) {
  if (root == "c:\\tef_disc\\") return "TECBAN";
  if (root == "c:\\HiperTEF\\") return "HCard";
  return "REDEY";
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
  if (!noticed_ && now >= free_at_ && disk_.file_exists(request_path_)) {
    noticed_ = true;
    const Behaviour behaviour = healed_ ? Behaviour{} : next_();
    At(now + behaviour.take_ms, [this, behaviour] {
      Take(behaviour);
      return true;
    });
  }
}

void SimManager::Take(const Behaviour& behaviour) {
  noticed_ = false;
  std::string bytes;
  if (!disk_.Peek(request_path_, bytes)) return;
  disk_.Drop(request_path_);
  ++ledger_.requests_taken;
  StringList request;
  request.SetText(bytes);
  const std::string operation = request.Field("000-000 ");
  const std::string sequence = request.Field("001-000 ");
  const std::int64_t now = now_();
  // A settlement taken is the manager's from then on, even one it loses:
  // the package cannot tell a lost request from one taken and never
  // acknowledged, and must not send a second.
  if (operation == "CNF" || operation == "NCN") {
    auto& [confirmed, undone] = ledger_.settled[request.Field("012-000 ")];
    (operation == "CNF" ? confirmed : undone) += 1;
  }
  if (behaviour.lose) {
    Say("takes " + operation + " " + sequence + " and loses it");
    free_at_ = now;
    return;
  }
  const std::string document = request.Field("012-000 ");
  Say("takes " + operation + " " + sequence + (document.empty() ? "" : " of " + document));

  const std::string header = "000-000 = " + operation;
  const std::string closing = testing::kClosingLine;
  std::int64_t end = now + behaviour.status_ms;
  switch (behaviour.status) {
  case Behaviour::Status::Ack:
    end = Write("intpos.sts", header + "\r\n" + closing + "\r\n", behaviour, end);
    break;
  case Behaviour::Status::OtherSequence:
    end = Write("intpos.sts", header + "\r\n001-000 = 9999999999\r\n" + closing + "\r\n", behaviour, end);
    break;
  case Behaviour::Status::WrongHeader:
    end = Write("intpos.sts",
                std::string("000-000 = ") + (operation == "ATV" ? "CNF" : "ATV") + "\r\n" + closing + "\r\n",
                behaviour, end);
    break;
  case Behaviour::Status::Empty:
    end = Write("intpos.sts", "", behaviour, end);
    break;
  case Behaviour::Status::Torn:
    end = Write("intpos.sts", header.substr(0, 6), behaviour, end);
    break;
  case Behaviour::Status::Never:
    break;
  }
  free_at_ = end;
  if (!WithAnswer(operation) || behaviour.answer == Behaviour::Answer::Silent) return;

  const StringList answer = Answer(request, behaviour);
  const std::string cancelled = operation == "CNC" ? request.Field("012-000 ") : std::string();
  free_at_ = INT64_MAX;
  const std::int64_t due = end + behaviour.answer_ms;
  At(due, [this, answer, behaviour, due, cancelled] {
    const std::string target = root_ + "resp\\intpos.001";
    std::string ignored;
    if (disk_.Peek(target, ignored) && now_() - due < kOverwriteAfterMs) return false;
    const std::string document = answer.Field("012-000 ");
    const std::string count = answer.Field("028-000 ");
    if (answer.Field("009-000 ") == "0" && answer[0] != "000-000 = XXX") {
      ledger_.approvals.push_back({document, answer.Field("000-000 "), root_, answer.Field("010-000 "),
                                   answer.Field("001-000 "), cancelled, answer.Text(),
                                   !count.empty() && count != "0", step_()});
    }
    Say("answers " + answer.Field("001-000 ") + ": " + answer[0].substr(10) + " 009-000=" +
        answer.Field("009-000 ") + " 010-000=" + answer.Field("010-000 ") + " 012-000=" + document);
    free_at_ = Write("intpos.001", answer.Text(), behaviour, now_());
    if (behaviour.twice) {
      At(free_at_ + 1, [this, answer] {
        std::string bytes;
        if (disk_.Peek(root_ + "resp\\intpos.001", bytes)) return false;
        Say("answers " + answer.Field("001-000 ") + " again");
        disk_.Put(root_ + "resp\\intpos.001", answer.Text());
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
    if (!last) when += behaviour.pause_ms;
  }
  return when;
}

StringList SimManager::Answer(const StringList& request, const Behaviour& behaviour) {
  const std::string operation = request.Field("000-000 ");
  const std::string sequence = request.Field("001-000 ");
  const std::string document = std::string(1, letter_) + AjustaZero(std::to_string(++documents_), 5);
  if (behaviour.answer == Behaviour::Answer::Error)
    return {"000-000 = XXX", "001-000 = " + sequence, "030-000 = Erro no gerenciador", testing::kClosingLine};
  const bool approved = behaviour.answer != Behaviour::Answer::Refuse;
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
  answer.Add(approved ? "030-000 = Transacao aprovada" : "030-000 = Transacao negada");
  answer.Add(testing::kClosingLine);
  return answer;
}

} // namespace zul00500::sim
