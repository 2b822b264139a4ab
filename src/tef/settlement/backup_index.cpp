#include "tef/settlement/backup_index.h"

#include <algorithm>
#include <optional>

#include "platform/file_system.h"
#include "support/errors.h"
#include "support/state.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/store.h"

namespace zul00500 {

namespace {

BackupIndex* current = nullptr;

// The head of an entry, or nothing: gone, held by its writer, a directory.
std::optional<std::string> head_of(const std::string& path) {
  try {
    return platform::fs().read_part(path, 0, kHeadBytes);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

// The sequence a note settles: the line after its request's closing line.
std::string note_sequence(const StringList& lines) {
  const int closing = lines.IndexOf(kClosingLine);
  if (closing < 0 || static_cast<std::size_t>(closing) + 1 >= lines.Count()) return {};
  const std::string& line = lines[static_cast<std::size_t>(closing) + 1];
  const std::string prefix = "001-000 = ";
  return line.compare(0, prefix.size(), prefix) == 0 ? line.substr(prefix.size()) : std::string();
}

void erase(std::unordered_multimap<std::string, std::string>& map, const std::string& sequence,
           const std::string& name) {
  const auto [first, last] = map.equal_range(sequence);
  for (auto it = first; it != last; ++it)
    if (it->second == name) return void(map.erase(it));
}

} // namespace

BackupIndex::BackupIndex(const std::string& directory) : directory_(directory) {
  // Notes first: one under its earlier name moves out of "intpos.*".
  std::vector<std::string> read =
      directory == dsDirBkpTef ? ListSettlementNotes() : std::vector<std::string>{};
  names_ = platform::fs().list(directory + "intpos.*");
  for (const std::string& name : names_)
    if (!IsSettlementNote(name)) read.push_back(name);
  for (const std::string& name : read) {
    std::int64_t number = 0;
    const bool note = IsSettlementNote(name);
    if (!note && !BackupNumber(name, number)) continue;
    const std::optional<std::string> head = head_of(directory + name);
    if (!head) continue;
    const StringList lines = WholeLines(*head + (EndsWithLineEnd(*head) ? "" : "\n"));
    const std::string sequence = note ? note_sequence(lines) : lines.Field("001-000 ");
    if (sequence.empty()) continue;
    (note ? notes_ : copies_).emplace(sequence, name);
    sequence_of_[name] = sequence;
  }
}

std::vector<std::string> BackupIndex::Holding(const std::string& sequence, bool notes) const {
  std::vector<std::string> names;
  const auto [first, last] = (notes ? notes_ : copies_).equal_range(sequence);
  for (auto it = first; it != last; ++it) names.push_back(it->second);
  return names;
}

std::vector<std::string> BackupIndex::Notes() const {
  std::vector<std::string> names;
  for (const auto& [sequence, name] : notes_) names.push_back(name);
  return names;
}

void BackupIndex::Forget(const std::string& name) {
  const auto found = sequence_of_.find(name);
  if (found == sequence_of_.end()) return;
  erase(copies_, found->second, name);
  erase(notes_, found->second, name);
  sequence_of_.erase(found);
}

void BackupIndex::AddNote(const std::string& name, const std::string& answerSequence) {
  notes_.emplace(answerSequence, name);
  sequence_of_[name] = answerSequence;
}

void BackupIndex::AddCopy(const std::string& name, const std::string& sequence) {
  copies_.emplace(sequence, name);
  sequence_of_[name] = sequence;
}

BackupIndex* BackupIndex::Current() { return current; }

ScopedBackupIndex::ScopedBackupIndex(BackupIndex& index) : previous_(current) { current = &index; }
ScopedBackupIndex::~ScopedBackupIndex() { current = previous_; }

} // namespace zul00500
