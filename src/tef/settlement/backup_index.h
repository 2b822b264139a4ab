// The backup directory as the leftover scan found it, so that the scan is
// one listing and a read of each leftover: removing one transaction's copies
// by its sequence, or finding its settlement notes, then looks them up here
// instead of reading every other leftover again. It lives for one scan
// (ScopedBackupIndex); the package's own removals need not be told (a name
// that is gone is passed over), the notes it writes are added.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace zul00500 {

class BackupIndex {
public:
  // Lists `directory`'s "intpos.*" entries and reads the sequence of each
  // numbered backup and settlement note (its first lines only).
  explicit BackupIndex(const std::string& directory);

  const std::string& Directory() const { return directory_; }
  // The entries as listed, in listing order.
  const std::vector<std::string>& Names() const { return names_; }
  // The entries whose "001-000" line carries `sequence`: numbered backups
  // (and the working copy) unless `notes`, the settlement notes of it if
  // `notes`.
  std::vector<std::string> Holding(const std::string& sequence, bool notes) const;
  // Every settlement note.
  std::vector<std::string> Notes() const;

  void Forget(const std::string& name);
  void AddNote(const std::string& name, const std::string& answerSequence);
  // A numbered backup the scan wrote.
  void AddCopy(const std::string& name, const std::string& sequence);

  // The index of the scan in progress, or null.
  static BackupIndex* Current();

private:
  friend class ScopedBackupIndex;
  std::string directory_;
  std::vector<std::string> names_;
  std::unordered_multimap<std::string, std::string> copies_; // sequence -> name
  std::unordered_multimap<std::string, std::string> notes_;  // answer sequence -> name
  std::unordered_map<std::string, std::string> sequence_of_; // name -> its sequence
};

// Makes `index` the current one for as long as it lives.
class ScopedBackupIndex {
public:
  explicit ScopedBackupIndex(BackupIndex& index);
  ~ScopedBackupIndex();
  ScopedBackupIndex(const ScopedBackupIndex&) = delete;
  ScopedBackupIndex& operator=(const ScopedBackupIndex&) = delete;

private:
  BackupIndex* previous_;
};

} // namespace zul00500
