// Settling the answers that interrupted sales left in the managers' response
// directories and in the backup directory.
#include "tef/leftover_scan.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/text.h"
#include "tef/answer_wait.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/holder.h"
#include "tef/network_choice.h"
#include "tef/settlement/backup_index.h"
#include "tef/settlement/confirmation.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/request.h"
#include "tef/settlement/store.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {

// A response file the manager may still be writing is looked at this often.
// One that keeps changing this long is left for the next scan, and this
// scan stops: the manager is alive and writing.
constexpr std::uint32_t kNotYetPauseMs = 300;
constexpr std::uint64_t kStillWritingMs = 60'000;

// Where leftovers that no manager can settle are kept for a person to see.
std::string quarantine_directory() { return dsDirBkpTef + "Descartados\\"; }

// Why no manager can settle `answer`, or empty when one can.
std::string unsettleable(const StringList& answer) {
  if (answer.Field("000-000 ").empty())
    return "sem cabe\xE7"
           "alho 000-000";
  if (answer.Field("001-000 ").empty()) return "sem 001-000";
  if (NeedsNoConfirmation(answer)) return {};
  const std::string network = answer.Field("010-000 ");
  if (network.empty()) return "sem 010-000";
  if (const std::string field = CopiedFieldWithNul(answer); !field.empty()) return "com byte NUL em " + field;
  const std::string root = RootOfNetwork(network);
  if (!platform::fs().directory_exists(root))
    return "da rede " + network + " sem gerenciador (" + root + " n\xE3o existe)";
  return {};
}

// A name in the quarantine directory that no file there has yet: when and
// where the leftover was found, and its own name.
std::string quarantine_name(const std::string& origin, const std::string& name) {
  const std::string stamp = platform::FormatDateTime("yyyymmdd-hhnnss", platform::clock().now());
  const std::string base = stamp + "-" + origin + "-" + name;
  std::string candidate = base;
  for (int n = 2; platform::fs().file_exists(quarantine_directory() + candidate); ++n)
    candidate = base + "-" + std::to_string(n);
  return candidate;
}

// A leftover whose settlement the manager took before the package stopped
// (it noted the request, and the request is gone): it gets no second one.
// Its files go and the removal is logged.
bool settled_before(const std::string& directory, const std::string& name, const StringList& answer) {
  const std::string sequence = answer.Field("001-000 ");
  const std::string operation = SettlementTaken(sequence);
  if (operation.empty()) return false;
  platform::fs().remove_file(directory + name);
  RemoveSettledAnswer(sequence);
  if (operation == "NCN") RemoveUndonePendingCopy(sequence);
  RememberSettled(sequence, operation);
  LogCartao("Zul00500 - " + operation + " da transa\xE7\xE3o " + sequence +
            " recebido pelo gerenciador antes da interrup\xE7\xE3o; arquivo " + directory + name +
            " removido");
  return true;
}

enum class Read { Whole, Torn, TooLarge, StillWriting, NotRegular, Unreadable };

// Reads a leftover. A backup is the package's own and does not change: it
// is whole when it ends with the closing line or looks whole. A response
// file may be one the manager is still writing: it is looked at until it
// is whole, or stood still for the answers' quiet time without being whole
// (torn: cut short for good), or kept changing for kStillWritingMs. What
// is no regular file is never read (NotRegular); one the till may not read
// (held, or another user's) is looked at again for kUnreadableMs, and then
// passed over (Unreadable).
Read read_leftover(StringList& list, const std::string& path, bool from_backup) {
  if (from_backup) {
    NotRead why = NotRead::Gone;
    const std::optional<std::string> bytes = ReadIfThere(path, why);
    if (why == NotRead::NotRegular) return Read::NotRegular;
    if (why == NotRead::Unreadable) {
      if (StaysUnreadable(path)) return Read::Unreadable;
      return read_leftover(list, path, true);
    }
    if (bytes && OverLimit(*bytes)) return Read::TooLarge;
    list.SetText(bytes.value_or(std::string()));
    return bytes && ReadsWhole(list) ? Read::Whole : Read::Torn;
  }
  AnswerWatch watch;
  const platform::Stopwatch waited;
  for (;;) {
    switch (watch.Take(path, list)) {
    case AnswerWatch::Look::Whole:
      return Read::Whole;
    case AnswerWatch::Look::Stalled:
      return Read::Torn;
    case AnswerWatch::Look::TooLarge:
      return Read::TooLarge;
    case AnswerWatch::Look::NotRegular:
      return Read::NotRegular;
    case AnswerWatch::Look::Unreadable:
      if (StaysUnreadable(path)) return Read::Unreadable;
      break;
    case AnswerWatch::Look::NotYet:
      break;
    }
    if (!platform::fs().file_exists(path)) return Read::Torn;
    if (waited.elapsed_ms() > kStillWritingMs) return Read::StillWriting;
    platform::pause(kNotYetPauseMs);
  }
}

// True for a file error in a manager's directories: its request could not
// be written there.
bool in_a_managers_directory(const FileError& error) {
  const std::string& object = error.object();
  return std::any_of(std::begin(kRoots), std::end(kRoots), [&](const char* root) {
    const std::string_view prefix(root);
    return object.size() >= prefix.size() &&
           SameText(std::string_view(object).substr(0, prefix.size()), prefix);
  });
}

} // namespace

std::string KeepCopy(const std::string& directory, const std::string& name, const std::string& origin) {
  platform::fs().create_directories(quarantine_directory());
  const std::string target = quarantine_directory() + quarantine_name(origin, name);
  if (!CopyFileInOneStep(directory + name, target, kMaxExchangeBytes)) return target;
  // What a manager writes costs the till's disk no more than this much.
  const std::string size = std::to_string(FileSize(directory + name));
  const std::string kept = std::to_string(kMaxExchangeBytes);
  WriteFileInOneStep(target + ".tamanho",
                     "Tamanho do original: " + size + " bytes; guardados os primeiros " + kept + "\r\n");
  return target + " (os primeiros " + kept + " de " + size + " bytes)";
}

namespace {
// The log's words for a copy that could not be made.
std::string no_copy(const FileError& error) { return "sem c\xF3pia (" + std::string(error.what()) + ")"; }
} // namespace

std::string KeepCopyIfPossible(const std::string& directory, const std::string& name,
                               const std::string& origin, const std::string& verb) {
  try {
    return verb + " para " + KeepCopy(directory, name, origin);
  } catch (const FileError& error) {
    return no_copy(error);
  }
}

bool SetAside(const std::string& directory, const std::string& name, const std::string& origin,
              const std::string& reason, NoCopy noCopy) {
  platform::FileSystem& fs = platform::fs();
  std::string where;
  if (directory == dsDirBkpTef) {
    // Its quarantine lies inside the backup directory, on the same drive:
    // one rename moves it, and a power cut leaves it in one place or the
    // other, whole. One the rename could not move is the package's own
    // file: a copy must be made before it goes.
    fs.create_directories(quarantine_directory());
    const std::string target = quarantine_directory() + quarantine_name(origin, name);
    where = fs.rename_file(directory + name, target) ? "movido para " + target
                                                     : "copiado para " + KeepCopy(directory, name, origin);
  } else {
    try {
      where = "movido para " + KeepCopy(directory, name, origin);
    } catch (const FileError& error) {
      where = no_copy(error);
      // A manager's file that no manager can settle leaves its way even when
      // the till's disk has no room for a copy: it would stop every sale.
      const bool full = dynamic_cast<const platform::NoSpaceError*>(&error) != nullptr;
      if (!full && noCopy == NoCopy::LeaveForNextScan) {
        LogCartao("Zul00500 - Arquivo " + directory + name + " " + reason + ", " + where +
                  ", deixado para a pr\xF3xima verifica\xE7\xE3o");
        return false;
      }
    }
  }
  fs.remove_file(directory + name);
  RemoveStored(directory, name);
  LogCartao("Zul00500 - Arquivo " + directory + name + " " + reason + ", " + where);
  return true;
}

std::string Unsettleable(const StringList& answer) { return unsettleable(answer); }

std::string TooLargeReason() {
  return "acima do limite de " + std::to_string(kMaxExchangeBytes) + " bytes ou " +
         std::to_string(kMaxExchangeLines) + " linhas";
}

bool SetAsideTooLarge(const std::string& root, const std::string& sequence, const std::string& context) {
  const std::string directory = root + "resp\\";
  const std::string path = directory + "intpos.001";
  const std::string origin = root.substr(3, root.size() - 4);
  const StringList first = WholeLines(ReadHead(path).value_or(std::string()));
  const bool ours = first.Field("001-000 ") == sequence;
  if (!unsettleable(first).empty()) {
    // Its copy is all that will ever keep it. The awaited answer whose copy
    // is refused for a moment stays where it is when the wait ends with it:
    // nothing else comes in its place, and the next clean-up or scan copies
    // it. Another's goes all the same: it stands in the way of ours.
    SetAside(directory, "intpos.001", origin, TooLargeReason(),
             ours ? NoCopy::LeaveForNextScan : NoCopy::Remove);
    return ours;
  }
  // Met again after its "NCN" went out unacknowledged, and the manager took it.
  if (settled_before(directory, "intpos.001", first)) return ours;
  LogCartao("Zul00500 - Arquivo " + path + " " + TooLargeReason() + ", " +
            KeepCopyIfPossible(directory, "intpos.001", origin));
  // VerificaRetorno removes the file from resp\ before its "NCN" is out:
  // what names the transaction is backed up first, so that a cut, a full
  // disk or an "NCN" not taken leaves it to the next scan. A backup that
  // cannot be written raises, and the file stays where it is.
  BackUpHeadOf(path);
  if (!VerificaRetorno(context, first, true, "S")) return true;
  platform::fs().remove_file(path);
  return ours;
}

bool WalkLeftovers(const std::string& directory, const std::string& origin, bool from_backup,
                   StringList& list, const std::function<bool(const std::string& name)>& settle) {
  platform::FileSystem& fs = platform::fs();
  const BackupIndex* index = BackupIndex::Current();
  // The scan's index holds the backup directory's one listing.
  const std::vector<std::string> names =
      index && index->Directory() == directory ? index->Names() : fs.list(directory + "intpos.*");
  for (const std::string& name : names) {
    const std::string path = directory + name;
    // A confirmation empties response directories and may empty the backup
    // directory: an entry listed before may be gone by its turn. A directory
    // in a manager's way is told, once a scan.
    if (!fs.file_exists(path)) {
      if (!from_backup && fs.directory_exists(path)) TellDirectoryInPlace(path);
      continue;
    }
    // Only the working copy and numbered backups are answers we stored.
    std::int64_t number = 0;
    if (from_backup && !BackupNumber(name, number)) continue;
    if (!from_backup && SameText(name, "intpos.sts")) {
      fs.remove_file(path);
      LogCartao("Zul00500 - Arquivo de status removido: " + path);
      continue;
    }
    const Read read = read_leftover(list, path, from_backup);
    // No regular file was put away unread, or (when it could not be) told
    // and passed over. One the till may not read is no reason to stop
    // selling: it stays where it is, unsettled and undeleted, and a person
    // is told (the card log, and the host by its code).
    if (read == Read::Unreadable && fs.file_exists(path)) {
      PassOverUnreadable(path);
      continue;
    }
    if (!fs.file_exists(path) || read == Read::NotRegular) continue;
    if (read == Read::StillWriting) {
      LogCartao("Zul00500 - Arquivo " + path + " ainda sendo escrito, deixado para depois");
      return false;
    }
    if (read == Read::Torn || read == Read::TooLarge) {
      // Cut short for good, or past the limits: its bytes are kept before
      // anything can delete it. When its first whole lines name its
      // transaction, it is settled like any other leftover.
      const std::string reason = read == Read::Torn ? std::string("incompleto") : TooLargeReason();
      list = WholeLines(ReadHead(path).value_or(std::string()));
      if (!unsettleable(list).empty()) {
        SetAside(directory, name, origin, reason, NoCopy::LeaveForNextScan);
        continue;
      }
      LogCartao("Zul00500 - Arquivo " + path + " " + reason + ", " +
                KeepCopyIfPossible(directory, name, origin));
    } else if (const std::string reason = unsettleable(list); !reason.empty()) {
      SetAside(directory, name, origin, reason, NoCopy::LeaveForNextScan);
      continue;
    }
    // One leftover never stops the till: one whose settlement failed (its
    // manager's directories refused the request for now, a dialog failed)
    // stays where it is for the next scan, which tries again, and the scan
    // goes on. A fault of the till's own files (the card log, the backups,
    // a disk that filled) is not the leftover's: it stays, and the error
    // goes on.
    std::optional<std::string> failure;
    try {
      if (!settle(name)) return false;
    } catch (const FileError& error) {
      if (!in_a_managers_directory(error)) throw;
      failure = error.what();
    } catch (const std::exception& error) {
      failure = error.what();
    }
    if (failure)
      LogCartao("Zul00500 - Arquivo " + path + " n\xE3o liquidado (" + *failure +
                "), mantido para a pr\xF3xima verifica\xE7\xE3o");
  }
  return true;
}

namespace {

// Settles every answer WalkLeftovers finds in `root`'s response directory,
// or in the backup directory when `from_backup`. A settled answer goes from
// the response directory where it was found (for a backup entry: that of the
// root VerificaRetorno switched to) and from the backup directory. False at
// the first answer the manager did not take; it stays.
bool settle(const std::string& root, bool from_backup, const std::string& context, bool notConfirm,
            StringList& list) {
  const std::string directory = from_backup ? dsDirBkpTef : root + "resp\\";
  const std::string origin = from_backup ? "backup" : root.substr(3, root.size() - 4);
  return WalkLeftovers(directory, origin, from_backup, list, [&](const std::string& name) {
    if (settled_before(directory, name, list)) return true;
    // A cut during the settlement would otherwise lose it unsettled. One
    // cut short or past the limits is never whole: its head is kept.
    if (!from_backup) {
      BackUpLoneAnswer(directory + name, list);
      if (!ReadsWhole(list)) BackUpHeadOf(directory + name);
    }
    if (!VerificaRetorno(context, list, notConfirm, from_backup ? "" : "S")) return false;
    RemoveUnlessAnother((from_backup ? DirTef : root) + "resp\\" + name, list.Field("001-000 "));
    RemoveStored(dsDirBkpTef, name);
    return true;
  });
}

} // namespace

bool CheckIntPosFiles(const std::string& context, bool notConfirm) {
  const TillLock till("CheckIntPosFiles", context);
  if (!till.Held()) return false;
  // A working copy left by an interrupted conversation becomes a numbered
  // backup first: settling it would delete it by its name before its
  // request went out.
  if (platform::fs().file_exists(dsDirBkpTef + "intpos.001")) NumberWorkingCopy();
  EndPendingCopiesOfTakenSettlements();
  // One listing and one look at each backup, for the whole scan.
  BackupIndex index(dsDirBkpTef);
  const ScopedBackupIndex scoped(index);
  StringList list;
  bool backup_walked = false;
  for (const char* root : kRoots) {
    DirTef = root;
    const bool leftovers_in_response = !platform::fs().list(DirTef + "resp\\intpos.*").empty();
    if (!settle(root, !leftovers_in_response, context, notConfirm, list)) return false;
    backup_walked = backup_walked || !leftovers_in_response;
  }
  // A response directory that still holds files after its walk holds only
  // ones the scan could not take (passed over unread, left for the next
  // scan). Were every root's so for good, no scan would ever walk the
  // backup directory, and the answers stored there would never be settled.
  if (backup_walked || std::any_of(std::begin(kRoots), std::end(kRoots), [](const char* root) {
        return platform::fs().list(std::string(root) + "resp\\intpos.*").empty();
      }))
    return true;
  return settle(DirTef, true, context, notConfirm, list);
}

} // namespace zul00500
