// The store of the manager's answers: sequence numbers, numbered backup
// names, and clean-up of one transaction's files.
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include <functional>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/host_services.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/text.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/network_choice.h"
#include "tef/settlement/backup_index.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/store.h"

namespace zul00500 {

namespace {

// The working copy: never a numbered backup, whatever its extension says.
constexpr const char* kWorkingCopy = "intpos.001";

// True when an entry listed a moment ago is no longer there.
bool vanished(platform::FileSystem& fs, const std::string& path) {
  return !fs.file_exists(path) && !fs.directory_exists(path);
}

enum class Notes { Included, Skipped };

// The scan's index of `directory`, when one is at hand.
BackupIndex* index_of(const std::string& directory) {
  BackupIndex* index = BackupIndex::Current();
  return index && index->Directory() == directory ? index : nullptr;
}

// Calls `found` with the name of every "intpos.*" entry of `directory` whose
// text holds "001-000 = " + sequence; settlement notes only when asked.
// False from `found` stops the walk. `unsure`, when given, is set when a
// file could not be read to tell.
void for_each_copy(const std::string& directory, const std::string& sequence, Notes notes,
                   const std::function<bool(const std::string&)>& found, bool* unsure = nullptr) {
  if (BackupIndex* index = index_of(directory)) {
    std::vector<std::string> names = index->Holding(sequence, false);
    if (notes == Notes::Included) {
      const std::vector<std::string> more = index->Holding(sequence, true);
      names.insert(names.end(), more.begin(), more.end());
    }
    for (const std::string& name : names)
      if (!found(name)) return;
    return;
  }
  platform::FileSystem& fs = platform::fs();
  const std::string key = "001-000 = " + sequence;
  std::vector<std::string> names;
  if (directory == dsDirBkpTef) names = ListSettlementNotes();
  if (notes == Notes::Skipped) names.clear();
  for (const std::string& name : fs.list(directory + "intpos.*"))
    if (!IsSettlementNote(name)) names.push_back(name);
  for (const std::string& name : names) {
    const std::string path = directory + name;
    std::string head;
    try {
      // The sequence is among the first lines: a huge file is not read whole.
      head = fs.read_part(path, 0, kHeadBytes);
    } catch (const FileBusyError&) {
      // The manager is writing it: it could not be deleted anyway, and a
      // file being written is none of ours yet.
      if (unsure) *unsure = true;
      continue;
    } catch (const UnreadableFile&) {
      // Another user's, which we may not read: what it holds cannot be
      // told, so it is no copy to remove, and may be the answer.
      if (unsure) *unsure = true;
      continue;
    } catch (const NotRegularFile&) {
      // A link, FIFO or device is no copy of ours: never read, passed over.
      // A directory is reported, as below.
      if (fs.file_exists(path) || !fs.directory_exists(path)) continue;
      throw;
    } catch (const FileError&) {
      // Deleted since the listing (by the manager, or by a host handler run
      // from a wait): nothing left to clean. Anything else is reported.
      if (vanished(fs, path)) continue;
      throw;
    }
    if (head.find(key) != std::string::npos && !found(name)) return;
  }
}

// True when no copy is left, as far as can be told.
bool remove_copies(const std::string& directory, const std::string& sequence, Notes notes) {
  bool gone = true;
  bool unsure = false;
  for_each_copy(
      directory, sequence, notes,
      [&directory, &gone](const std::string& name) {
        gone = RemoveStored(directory, name) && gone;
        return true;
      },
      &unsure);
  return gone && !unsure;
}

} // namespace

// Entries that are not numbered backups ("intpos.sts", a stray "intpos.bak")
// are passed over: letting them throw would make every later sale fail until
// someone removed the file.
bool BackupNumber(const std::string& name, std::int64_t& number) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string_view extension = std::string_view(name).substr(dot + 1);
  const std::size_t first = extension.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const char* begin = extension.data() + first;
  const char* end = extension.data() + extension.size();
  const auto [stop, error] = std::from_chars(begin, end, number);
  return error == std::errc() && stop == end;
}

std::string GetSequence() {
  // Sixtieths of a second since 1899-12-30, computed in extended precision so
  // that the last of the twelve digits is right.
  const long double sixtieths = static_cast<long double>(platform::clock().now()) * 24 * 60 * 60 * 60;
  std::string text = std::to_string(static_cast<std::int64_t>(sixtieths));
  if (text.size() > 10) text.erase(0, text.size() - 10);
  return AjustaZero(text, 10);
}

std::string NewIntPosFileName(const std::string& directory) {
  std::int64_t next = 1;
  for (const std::string& name : platform::fs().list(directory + "intpos.*")) {
    if (name == kWorkingCopy) continue;
    std::int64_t number = 0;
    // The largest value would leave no next number.
    if (BackupNumber(name, number) && number >= next && number < std::numeric_limits<std::int64_t>::max())
      next = number + 1;
  }
  return directory + "intpos." + Ajusta(std::to_string(next), 3);
}

void DeleteTransactionFiles(const std::string& root, const std::string& sequence) {
  if (sequence.empty()) return;
  // A copy left in the response directory (another program holds it) keeps
  // the settlement notes, so that the scan that finds it later does not
  // settle it again.
  // The answer may also lie in the root that answered, when its network is
  // another root's: a copy left there keeps the notes too.
  bool gone = remove_copies(root + "resp\\", sequence, Notes::Included);
  // One that cannot be read (held) may be the answer: it keeps the notes too.
  bool unsure = false;
  for (const char* other : kRoots)
    if (gone && !SameText(other, root))
      for_each_copy(
          std::string(other) + "resp\\", sequence, Notes::Skipped,
          [&gone](const std::string&) { return gone = false; }, &unsure);
  gone = gone && !unsure;
  // So does a backup copy left behind (a read-only directory): the scan
  // that meets it must find the settlement taken.
  gone = remove_copies(dsDirBkpTef, sequence, Notes::Skipped) && gone;
  if (!gone) return;
  // A settlement the manager took leaves its mark, as a settled answer's
  // does: the manager may write the answer again.
  MarkSettled(sequence);
  remove_copies(dsDirBkpTef, sequence, Notes::Included);
}

void DeleteBackupCopies(const std::string& sequence) {
  if (sequence.empty()) return;
  for_each_copy(dsDirBkpTef, sequence, Notes::Skipped, [](const std::string& name) {
    // An approval backed up by an activity check that emptied the response
    // directory while the wait looked there is the only copy of the answer.
    const std::optional<std::string> head = ReadHead(dsDirBkpTef + name);
    if (head) {
      const StringList answer = WholeLines(*head);
      if (answer.Field("009-000 ") == "0" && !NeedsNoConfirmation(answer)) return true;
    }
    RemoveStored(dsDirBkpTef, name);
    return true;
  });
}

bool NumberWorkingCopy() {
  const std::string working_copy = dsDirBkpTef + kWorkingCopy;
  const std::string backup = NewIntPosFileName(dsDirBkpTef);
  if (platform::fs().rename_file(working_copy, backup)) return true;
  LogCartao("Zul00500 - N\xE3o foi poss\xEDvel renomear " + working_copy + " para " + backup);
  return false;
}

void WriteWorkingCopy(const std::string& text) {
  const std::string working_copy = dsDirBkpTef + kWorkingCopy;
  if (platform::fs().file_exists(working_copy)) NumberWorkingCopy();
  WriteFileInOneStep(working_copy, text);
}

bool RemoveStored(const std::string& directory, const std::string& name) {
  platform::FileSystem& fs = platform::fs();
  const std::string path = directory + name;
  const bool gone = fs.remove_file(path) || !fs.file_exists(path);
  if (!gone) return false;
  if (BackupIndex* index = index_of(directory)) index->Forget(name);
  return true;
}

void RemoveSettledAnswer(const std::string& sequence) {
  if (sequence.empty()) return;
  // A copy left behind (another program holds it) keeps the notes, so that
  // the scan that finds it later does not settle it again.
  bool gone = true;
  for (const char* root : kRoots)
    gone = remove_copies(std::string(root) + "resp\\", sequence, Notes::Skipped) && gone;
  gone = remove_copies(dsDirBkpTef, sequence, Notes::Skipped) && gone;
  if (gone) MarkSettled(sequence);
}

bool BackedUp(const std::string& sequence) {
  bool stored = false;
  // The working copy is none: the next conversation writes over it, and a
  // settlement removes it before its activity check.
  for_each_copy(dsDirBkpTef, sequence, Notes::Skipped,
                [&stored](const std::string& name) { return !(stored = name != kWorkingCopy); });
  return stored;
}

bool AnswerIn(const std::string& directory, const std::string& sequence) {
  bool stored = false;
  for_each_copy(directory, sequence, Notes::Skipped,
                [&stored](const std::string&) { return !(stored = true); });
  return stored;
}

bool AnswerStored(const std::string& sequence) {
  if (AnswerIn(dsDirBkpTef, sequence)) return true;
  for (const char* root : kRoots)
    if (AnswerIn(std::string(root) + "resp\\", sequence)) return true;
  return false;
}

void BackUpLoneAnswer(const std::string& path, const StringList& answer) {
  const std::string sequence = answer.Field("001-000 ");
  if (sequence.empty() || !ReadsWhole(answer)) return;
  // A second copy of an answer this process settled (a manager that wrote
  // it twice) is none to keep: it would hide that the answer was settled.
  if (BackedUp(sequence) || !SettledInThisProcess(sequence).empty()) return;
  const std::string backup = NewIntPosFileName(dsDirBkpTef);
  CopyFileInOneStep(path, backup, kMaxExchangeBytes + 1);
  if (BackupIndex* index = index_of(dsDirBkpTef)) index->AddCopy(backup.substr(dsDirBkpTef.size()), sequence);
}

void BackUpHeadOf(const std::string& path) {
  const StringList head = WholeLines(ReadHead(path).value_or(std::string()));
  const std::string sequence = head.Field("001-000 ");
  const std::string header = head.Field("000-000 ");
  if (sequence.empty() || header.empty() || header == "ATV" || NeedsNoConfirmation(head)) return;
  if (BackedUp(sequence) || !SettledInThisProcess(sequence).empty() || !SettlementTaken(sequence).empty())
    return;
  const std::string backup = NewIntPosFileName(dsDirBkpTef);
  WriteFileInOneStep(backup, head.Text());
  if (BackupIndex* index = index_of(dsDirBkpTef)) index->AddCopy(backup.substr(dsDirBkpTef.size()), sequence);
}

void RemoveUnlessAnother(const std::string& path, const std::string& sequence) {
  platform::FileSystem& fs = platform::fs();
  std::string there;
  if (fs.file_exists(path)) {
    // One that cannot be read now (held, or another user's) may be any
    // transaction's: it stays.
    const std::optional<std::string> head = ReadHead(path);
    if (!head) return;
    there = WholeLines(*head).Field("001-000 ");
  }
  if (there.empty() || there == sequence) fs.remove_file(path);
}

bool PaymentStands(const std::string& sequence) {
  if (sequence.empty()) return true;
  const std::string operation = SettledAs(sequence);
  if (!operation.empty()) return operation == "CNF";
  // Still an answer waiting for its settlement: the next scan undoes it.
  return !AnswerStored(sequence);
}

void RemoveUndonePendingCopy(const std::string& sequence) { DeleteIntPosFiles(dsDirPenTef, sequence); }

namespace {
// Marks, named by the answer's sequence, of pending copies a printing run
// ended but could not remove.
std::string printed_marks_directory() { return dsDirBkpTef + "Impressos\\"; }
} // namespace

void EmptyPendingDirectoryAfterPrinting() {
  platform::FileSystem& fs = platform::fs();
  // Marks of copies gone since (removed later, or written over by the next
  // sale) have done their work.
  try {
    for (const std::string& sequence : fs.list(printed_marks_directory() + "*"))
      if (!AnswerIn(dsDirPenTef, sequence)) fs.remove_file(printed_marks_directory() + sequence);
  } catch (const FileError&) {
  }
  for (const std::string& name : fs.list(dsDirPenTef + "intpos.*")) {
    if (fs.remove_file(dsDirPenTef + name)) continue;
    // A copy that stays (the directory could not be written for a moment)
    // is of a sale already printed: the next pending cancellation, which
    // takes every copy it finds for the sale in hand, must pass it over.
    try {
      const std::string sequence =
          WholeLines(ReadHead(dsDirPenTef + name).value_or(std::string())).Field("001-000 ");
      if (sequence.empty()) continue;
      fs.create_directories(printed_marks_directory());
      WriteFileInOneStep(printed_marks_directory() + sequence, "");
    } catch (const FileError&) {
    }
  }
}

bool PendingCopyPrinted(const std::string& sequence) {
  return !sequence.empty() && platform::fs().file_exists(printed_marks_directory() + sequence);
}

void DeleteIntPosFiles(const std::string& directory, const std::string& sequence) {
  if (!sequence.empty()) {
    remove_copies(directory, sequence, Notes::Included);
    return;
  }
  platform::FileSystem& fs = platform::fs();
  for (const std::string& name : fs.list(directory + "intpos.*")) fs.remove_file(directory + name);
}

} // namespace zul00500
