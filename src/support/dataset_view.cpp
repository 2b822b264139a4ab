// The current view of a dataset saved with its change log. The log holds
// triples: a record (counted from 1 in the file's order), the earlier version
// it replaces (0 for none), and the kind of change (2 deleted, 4 inserted,
// 8 modified). A record's latest version stands where its first version
// stood; it is left out when that version is deleted. Anything the log or the row statuses say
// that does not fit this is an error, never a guess.
#include "support/dataset_packet.h"

namespace zul00500::dataset {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::uint32_t kKnownStatus = kRowOriginal | kRowDeleted | kRowInserted | kRowModified;
constexpr std::uint32_t kKnownChange = kRowDeleted | kRowInserted | kRowModified;

struct Versions {
  std::vector<std::size_t> earlier; // by row: the version it replaces
  std::vector<std::size_t> later;   // by row: the version that replaces it
  std::vector<bool> deleted;
};

std::string record(std::size_t index) { return "record " + std::to_string(index + 1); }

Versions link_versions(const Packet& packet, const std::string& path) {
  const std::size_t count = packet.rows.size();
  Versions v{std::vector<std::size_t>(count, kNone), std::vector<std::size_t>(count, kNone),
             std::vector<bool>(count, false)};
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t status = packet.rows[i].status;
    if (status & ~kKnownStatus)
      Fail(path, "change log not understood: " + record(i) + " has the status " + std::to_string(status));
    v.deleted[i] = (status & kRowDeleted) != 0;
  }
  if (!packet.change_log) return v;

  const std::vector<std::uint32_t>& log = *packet.change_log;
  if (log.size() % 3 != 0)
    Fail(path, "change log not understood: " + std::to_string(log.size()) + " numbers are no whole triples");
  std::vector<bool> listed(count, false);
  for (std::size_t t = 0; t < log.size(); t += 3) {
    const std::string entry = "change log not understood: the entry " + std::to_string(log[t]) + " " +
                              std::to_string(log[t + 1]) + " " + std::to_string(log[t + 2]);
    const std::uint32_t row = log[t], earlier = log[t + 1], kind = log[t + 2];
    if (row == 0 || row > count || earlier > count || earlier == row)
      Fail(path, entry + " names a record the file does not hold");
    if (kind == 0 || (kind & ~kKnownChange) || ((kind & kRowModified) && earlier == 0))
      Fail(path, entry + " is no known change");
    const std::size_t r = row - 1;
    if (listed[r]) Fail(path, entry + " lists " + record(r) + " a second time");
    listed[r] = true;
    if (kind & kRowDeleted) v.deleted[r] = true;
    if (earlier == 0) continue;
    const std::size_t e = earlier - 1;
    if (v.later[e] != kNone) Fail(path, entry + " replaces " + record(e) + " a second time");
    v.earlier[r] = e;
    v.later[e] = r;
  }
  return v;
}

// `later` applied over the resolved values of its earlier version.
Cells apply(Cells earlier, StoredRow& later) {
  Cells out;
  auto e = earlier.begin();
  auto l = later.cells.begin();
  while (e != earlier.end() || l != later.cells.end()) {
    if (l == later.cells.end() || (e != earlier.end() && e->first < l->first)) {
      if (later.absent == CellState::Unchanged) out.push_back(std::move(*e));
      ++e;
      continue;
    }
    const bool both = e != earlier.end() && e->first == l->first;
    if (l->second.state == CellState::Value) out.push_back(std::move(*l));
    else if (l->second.state == CellState::Unchanged && both) out.push_back(std::move(*e));
    if (both) ++e;
    ++l;
  }
  return out;
}

} // namespace

std::vector<Cells> CurrentView(Packet& packet, const std::string& path) {
  const Versions v = link_versions(packet, path);
  const std::size_t count = packet.rows.size();
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t status = packet.rows[i].status;
    if ((status & kRowOriginal) && v.later[i] == kNone && !v.deleted[i])
      Fail(path, "change log not understood: " + record(i) + " is an original without a later version");
    if ((status & kRowModified) && v.earlier[i] == kNone)
      Fail(path, "change log not understood: " + record(i) + " is modified but replaces no record");
  }

  std::vector<Cells> view;
  std::vector<bool> seen(count, false);
  for (std::size_t first = 0; first < count; ++first) {
    if (v.earlier[first] != kNone) continue;
    Cells values;
    std::size_t last = first;
    for (std::size_t at = first; at != kNone; at = v.later[at]) {
      seen[at] = true;
      values = apply(std::move(values), packet.rows[at]);
      last = at;
    }
    if (!v.deleted[last]) view.push_back(std::move(values));
  }
  // Versions that no first version leads to replace each other in a circle.
  for (std::size_t i = 0; i < count; ++i)
    if (!seen[i]) Fail(path, "change log not understood: " + record(i) + " is part of a circle of versions");
  return view;
}

} // namespace zul00500::dataset
