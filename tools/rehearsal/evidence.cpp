#include "rehearsal/evidence.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <utility>

#include "journal/journal.h"
#include "rehearsal/exchange_record.h"
#include "rehearsal/host_events.h"
#include "rehearsal/text.h"
#include "tool_platform/files.h"

namespace rehearsal {

namespace {

namespace fs = std::filesystem;

std::string trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string short_root(const std::string& root) {
  for (const char* name : kRootNames)
    if (RootPath(name) == root) return name;
  return root;
}

bool starts_with(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

bool ends_with(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string field(const std::map<std::string, std::string>& fields, const char* id) {
  const auto found = fields.find(id);
  return found == fields.end() ? std::string() : found->second;
}

// A sequence as a number reads: "0000000005" and "5" are one.
std::string sequence_of(const std::map<std::string, std::string>& fields) {
  const std::string sequence = field(fields, "001-000");
  const std::size_t digit = sequence.find_first_not_of('0');
  return digit == std::string::npos ? (sequence.empty() ? "" : "0") : sequence.substr(digit);
}

std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

} // namespace

std::map<std::string, std::string> FieldsOf(const std::string& bytes) {
  std::map<std::string, std::string> fields;
  for (const std::string& line : SplitLines(bytes)) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    fields.emplace(trim(line.substr(0, equals)), trim(line.substr(equals + 1)));
  }
  return fields;
}

bool NeedsSettlement(const std::map<std::string, std::string>& fields) {
  const auto value = [&](const char* id) {
    const auto found = fields.find(id);
    return found == fields.end() ? std::string() : found->second;
  };
  const std::string code = value("000-000");
  if (code != "CRT" && code != "CHQ" && code != "CNC") return false;
  return value("009-000") == "0" && !(code == "CRT" && value("028-000") == "0");
}

void Evidence::AddEvents(const std::vector<TimelineEvent>& events) {
  record_.events.insert(record_.events.end(), events.begin(), events.end());
}

void Evidence::ReadHostEvents(const std::string& journal) {
  std::size_t step_span = std::string::npos, call_span = std::string::npos;
  int step = -1;
  for (const HostEvent& host : rehearsal::ReadHostEvents(journal)) {
    TimelineEvent event;
    event.ms = RelativeMs(host.ms, t0_);
    event.kind = host.kind;
    event.text = host.text;
    event.detail = host.detail;
    if (host.lane == "host") {
      if (host.kind == "start") continue; // the runner's note of the process says it
      if (host.kind == "step-end") {
        if (step_span != std::string::npos) record_.events[step_span].end_ms = event.ms;
        step_span = std::string::npos;
        continue;
      }
      event.lane = Lane::Host;
      if (host.kind == "step") {
        step = std::stoi(host.detail);
        if (static_cast<int>(record_.step_returns.size()) <= step) record_.step_returns.resize(step + 1);
        event.text = "step " + std::to_string(step + 1) + ": " + host.text;
        event.detail.clear();
        step_span = record_.events.size();
      } else if (host.kind == "power-cut") {
        event.text = "power cut (" + host.text + ")";
        record_.cut_steps.push_back(step);
      }
    } else if (host.lane == "package") {
      event.lane = Lane::Package;
      if (host.kind == "return") {
        if (call_span != std::string::npos) {
          TimelineEvent& call = record_.events[call_span];
          call.end_ms = event.ms;
          call.detail = "returned " + host.text + (host.detail.empty() ? "" : ": " + host.detail);
        }
        if (step >= 0) record_.step_returns[static_cast<std::size_t>(step)].push_back(host.text);
        call_span = std::string::npos;
        continue;
      }
      if (host.kind == "call") call_span = record_.events.size();
    } else if (host.lane == "dialog") {
      event.lane = Lane::Dialog;
      const bool network = host.kind == "network";
      record_.dialogs.push_back({host.text, host.detail, network});
      if (network) event.text = "network dialog: " + host.text;
      if (!host.detail.empty()) event.detail = "answer: " + host.detail;
    } else if (host.lane == "file") {
      package_files_.push_back({event.ms, host.kind, host.text, host.detail,
                                host.more.empty() ? std::string() : host.more[0],
                                host.more.size() < 2 ? std::string() : host.more[1]});
      continue;
    } else if (host.lane == "printer") {
      event.lane = Lane::Printer;
      const std::vector<std::string> fields = journal::Fields(host.text);
      event.text = fields.empty() ? host.text : fields.front();
      if (host.kind == "failed") {
        event.kind = "printer-failed";
        event.text = "the printer failed: " + event.text;
        record_.paper_failures.push_back(
            static_cast<std::size_t>(std::strtoull(host.detail.c_str(), nullptr, 10)));
      } else {
        event.kind = "printer";
      }
      event.detail = host.text;
    } else {
      continue;
    }
    record_.events.push_back(std::move(event));
  }
}

void Evidence::AddGiven(const GivenFile& file) {
  const auto fields = FieldsOf(file.bytes);
  const std::string root = SplitRootPath(file.path).first;
  if (NeedsSettlement(fields))
    approvals_.push_back(
        {-1, true, "left before the start: " + file.path, root.empty() ? "host" : root, fields});
}

void Evidence::ReadManager(const std::string& root, const std::string& log, const std::string& requests,
                           const std::string& written) {
  std::map<std::string, int> writes; // label -> files written so far
  std::string piece;                 // the first piece of a torn write
  for (const std::string& line : SplitLines(log)) {
    const std::int64_t time = ParseTimeOfDay(line);
    if (time < 0 || line.size() < 14) continue;
    const std::int64_t ms = RelativeMs(time, t0_);
    std::string rest = line.substr(13);
    if (starts_with(rest, "tefsim: ")) continue;
    const std::size_t blank = rest.find(' ');
    const std::string root_path = rest.substr(0, blank);
    rest = blank == std::string::npos ? "" : rest.substr(blank + 1);
    std::string label;
    if (const std::size_t colon = rest.find(": ");
        colon != std::string::npos && rest.find('#') < colon && rest.find(' ') > colon) {
      label = rest.substr(0, colon);
      rest = rest.substr(colon + 2);
    }
    std::string kept = label;
    std::replace(kept.begin(), kept.end(), '#', '-');
    if (starts_with(rest, "took ")) {
      const std::string name = rest.substr(5, rest.find(':') - 5);
      const std::string bytes = tool_platform::read_file_if_any((fs::path(requests) / (kept + ".001")).string());
      ManagerFile(ms, root_path, name, "request", bytes, label, " taken by the manager");
      Request(ms, root, bytes);
    } else if (starts_with(rest, "wrote ")) {
      const std::size_t open = rest.find(" (");
      const std::string name = rest.substr(6, open - 6);
      const std::string what = rest.substr(open + 2, rest.find(')', open) - open - 2);
      const std::string bytes = tool_platform::read_file_if_any(
          (fs::path(written) / (kept + "-" + std::to_string(++writes[label]) + name.substr(name.rfind('.'))))
              .string());
      ManagerFile(ms, root_path, name, what, bytes, label, " written by the manager");
      // A torn answer counts once it is whole.
      std::string whole = bytes;
      if (what.find("first piece") != std::string::npos) {
        piece = bytes;
        continue;
      }
      if (what.find(", rest") != std::string::npos) whole = std::exchange(piece, {}) + bytes;
      if (starts_with(what, "answer")) {
        const auto fields = FieldsOf(whole);
        if (NeedsSettlement(fields)) approvals_.push_back({ms, false, label + " on " + root, root, fields});
      }
    } else {
      TimelineEvent event;
      event.ms = ms;
      event.lane = Lane::Manager;
      const std::size_t taken = rest.find(" was taken away");
      event.kind = taken != std::string::npos ? "taken" : "note";
      event.text = label.empty() ? rest : label + ": " + rest;
      if (taken != std::string::npos) event.file = root_path + rest.substr(0, taken);
      record_.events.push_back(std::move(event));
    }
  }
}

void Evidence::ManagerFile(std::int64_t ms, const std::string& root, const std::string& name,
                           const std::string& what, const std::string& bytes, const std::string& label,
                           const std::string& verb) {
  TimelineEvent event;
  event.ms = ms;
  event.lane = Lane::Manager;
  event.kind = what == "request"             ? "request"
               : starts_with(what, "status") ? "status"
               : starts_with(what, "answer") ? "answer"
                                             : "file";
  const std::map<std::string, std::string> fields = FieldsOf(bytes);
  const auto code = fields.find("000-000");
  event.text = what + verb + (code == fields.end() ? "" : ": " + code->second);
  event.detail = label;
  event.is_file = true;
  event.file = root + name;
  event.bytes = bytes;
  record_.events.push_back(std::move(event));
}

void Evidence::Request(std::int64_t ms, const std::string& root, const std::string& bytes) {
  Operation operation;
  operation.ms = ms;
  operation.root = root;
  operation.fields = FieldsOf(bytes);
  const auto code = operation.fields.find("000-000");
  operation.code = code == operation.fields.end() ? "?" : code->second;
  record_.operations.push_back(std::move(operation));
}

void Evidence::FileGone(std::int64_t ms, const std::string& file, const std::string& text,
                        const std::string& detail) {
  TimelineEvent event;
  event.ms = ms;
  event.lane = Lane::Manager;
  event.kind = "taken";
  event.text = text;
  event.detail = detail;
  event.file = file;
  record_.events.push_back(std::move(event));
}

void Evidence::UsePackageExchange() {
  for (const PackageFile& file : package_files_) {
    const bool renamed = file.operation == "rename";
    // A file renamed into an exchange folder counts where it landed; one
    // moved out of it (a leftover put away) is gone from there.
    const bool landed = renamed && IsExchangeFile(file.to);
    const std::string& path = landed ? file.to : file.path;
    const auto [root, name] = SplitRootPath(path);
    const std::string root_path = RootPath(root);
    const std::string folded = lower(name);
    const std::string label = "package, its clock at " + file.package_ms + " ms";
    const bool request = starts_with(folded, "req\\");
    if (file.operation == "remove" || (renamed && !landed)) {
      FileGone(file.ms, path,
               name + (renamed ? " moved by the package to " + file.to : " removed by the package"), label);
    } else if (file.operation == "read" && request) {
      // The package looking whether its request was taken: a manager that
      // leaves requests in req\ (the next one overwrites it) shows here. It
      // is no answer.
      ManagerFile(file.ms, root_path, name, "its request", file.bytes, label, " read back by the package");
    } else if (file.operation == "read") {
      const bool status = ends_with(folded, ".sts");
      ManagerFile(file.ms, root_path, name, status ? "status" : "answer", file.bytes, label,
                  " read by the package");
      const auto fields = FieldsOf(file.bytes);
      if (!status && !request && NeedsSettlement(fields))
        approvals_.push_back({file.ms, false, "answer read from " + path, root, fields});
    } else if (request && ends_with(folded, "intpos.001")) {
      // Written in place, or written beside it and renamed there: either way
      // the manager may take it from this moment.
      ManagerFile(file.ms, root_path, name, "request", file.bytes, label, " written by the package");
      Request(file.ms, root, file.bytes);
    } else {
      // Some other file the package put in an exchange folder: shown, not
      // a request nor an answer the manager wrote.
      ManagerFile(file.ms, root_path, name, "file", file.bytes, label,
                  renamed ? " moved there by the package from " + file.path : " written by the package");
    }
  }
}

void Evidence::AddSeen(const std::vector<SeenFile>& seen) {
  for (const SeenFile& file : seen) {
    if (file.gone) {
      FileGone(file.ms, file.root + file.name, file.name + " went away");
      continue;
    }
    const bool request = starts_with(file.name, "req\\");
    const bool status = file.name.find(".sts") != std::string::npos;
    ManagerFile(file.ms, file.root, file.name,
                request  ? "request"
                : status ? "status"
                         : "answer",
                file.bytes, "seen", " seen in the folder");
    const auto fields = FieldsOf(file.bytes);
    if (!request && !status && NeedsSettlement(fields))
      approvals_.push_back(
          {file.ms, false, "answer seen in " + file.root + file.name, short_root(file.root), fields, false});
  }
}

void Evidence::ReadCardLog(const std::string& host_dir) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(host_dir, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 10 && (starts_with(name, "LogTef") || starts_with(name, "logtef")))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) record_.card_log += tool_platform::read_file_if_any((fs::path(host_dir) / name).string());
}

void Evidence::Finish(const std::string& folder) {
  std::stable_sort(record_.events.begin(), record_.events.end(),
                   [](const TimelineEvent& a, const TimelineEvent& b) { return a.ms < b.ms; });
  // A step or call the power cut interrupted ends with its host process.
  for (std::size_t i = 0; i < record_.events.size(); ++i) {
    TimelineEvent& event = record_.events[i];
    if (event.end_ms >= 0 || (event.kind != "step" && event.kind != "call")) continue;
    for (std::size_t j = i + 1; j < record_.events.size(); ++j)
      if (record_.events[j].kind == "kill" || record_.events[j].kind == "exit") {
        event.end_ms = record_.events[j].ms;
        break;
      }
    if (event.kind == "call")
      event.detail += (event.detail.empty() ? "" : "; ") + std::string(kNeverReturned);
  }
  std::stable_sort(record_.operations.begin(), record_.operations.end(),
                   [](const Operation& a, const Operation& b) { return a.ms < b.ms; });

  NumberTransactions();
  Settle();

  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(folder, error);
       !error && it != fs::recursive_directory_iterator(); it.increment(error))
    if (it->is_regular_file(error))
      record_.raw_files.push_back(record_.folder + "/" +
                                  fs::relative(it->path(), folder, error).generic_string());
  std::sort(record_.raw_files.begin(), record_.raw_files.end());
}

} // namespace rehearsal

namespace rehearsal {

void Evidence::NumberTransactions() {
  // What the package asked for, on each root: an answer of any other
  // sequence (another till's, a stale one) is no transaction of this case.
  std::set<std::pair<std::string, std::string>> asked;
  for (const Operation& operation : record_.operations)
    if (operation.code == "CRT" || operation.code == "CHQ" || operation.code == "CNC")
      asked.insert({operation.root, sequence_of(operation.fields)});
  // Leftovers first, then approvals in time; one per root and sequence (the
  // same answer read again, or seen as well as read, is the same one).
  std::stable_sort(approvals_.begin(), approvals_.end(), [](const Approval& a, const Approval& b) {
    return a.given != b.given ? a.given : a.ms < b.ms;
  });
  std::map<std::pair<std::string, std::string>, std::size_t> known;
  for (const Approval& approval : approvals_) {
    const std::pair<std::string, std::string> identity{approval.root, sequence_of(approval.fields)};
    if (!approval.given && !asked.count(identity)) continue;
    if (const auto found = known.find(identity); found != known.end()) {
      Transaction& transaction = record_.transactions[found->second];
      if (approval.observed && !transaction.observed) transaction.origin = approval.origin;
      transaction.observed |= approval.observed;
      continue;
    }
    known.emplace(identity, record_.transactions.size());
    Transaction transaction;
    transaction.number = static_cast<int>(record_.transactions.size()) + 1;
    transaction.origin = approval.origin;
    transaction.root = approval.root;
    transaction.sequence = field(approval.fields, "001-000");
    transaction.operation = field(approval.fields, "000-000");
    transaction.network = field(approval.fields, "010-000");
    transaction.document = field(approval.fields, "012-000");
    transaction.cents = field(approval.fields, "003-000");
    transaction.observed = approval.observed;
    transaction.control = field(approval.fields, "027-000");
    transaction.ms = approval.given ? -1 : approval.ms;
    record_.transactions.push_back(std::move(transaction));
  }
}

void Evidence::Settle() {
  // A CNF or NCN names its transaction by the values it copies from the
  // answer: network, document and 027-000. When managers repeat them, it
  // goes to the first such transaction approved before it and not settled
  // yet, else to the last one approved before it: a second settlement then
  // still shows as one.
  for (const Operation& operation : record_.operations) {
    if (operation.code != "CNF" && operation.code != "NCN") continue;
    Transaction* chosen = nullptr;
    Transaction* last = nullptr;
    for (Transaction& transaction : record_.transactions) {
      if (transaction.network != field(operation.fields, "010-000") ||
          transaction.document != field(operation.fields, "012-000") ||
          transaction.control != field(operation.fields, "027-000") || transaction.ms > operation.ms)
        continue;
      last = &transaction;
      if (!chosen && transaction.confirmations + transaction.non_confirmations == 0) chosen = &transaction;
    }
    if (!chosen) chosen = last;
    if (chosen) ++(operation.code == "CNF" ? chosen->confirmations : chosen->non_confirmations);
  }
}

} // namespace rehearsal
