// Settling the answers that interrupted sales left in the managers' response
// directories and in the backup directory.
#include "tef/leftover_scan.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "support/file_write.h"
#include "support/text.h"
#include "tef/exchange_file.h"
#include "tef/holder.h"
#include "tef/settlement_journal.h"
#include "tef/store.h"
#include "tef/till_lock.h"
#include "zul00500/zul00500.h"

namespace zul00500 {

namespace {

// A leftover the manager may still be writing is looked at this often, this
// many times, before the scan leaves it for the next one.
constexpr std::uint32_t kNotYetPauseMs = 300;
constexpr int kNotYetLooks = 4;

// Where leftovers that no manager can settle are kept for a person to see.
std::string quarantine_directory() { return dsDirBkpTef + "Descartados\\"; }

// Why no manager can settle `answer`, or null when one can.
const char* unsettleable(const StringList& answer) {
  if (answer.Field("000-000 ").empty())
    return "sem cabe\xE7"
           "alho 000-000";
  if (answer.Field("001-000 ").empty()) return "sem 001-000";
  if (answer.Field("010-000 ").empty() && !NeedsNoConfirmation(answer)) return "sem 010-000";
  return nullptr;
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

// Moves a leftover byte for byte into the quarantine directory, so that it
// stops every later sale no more, and logs the move. It is copied and then
// deleted: the response directories may lie on another drive.
void quarantine(const std::string& directory, const std::string& name, const std::string& origin,
                const char* reason) {
  platform::FileSystem& fs = platform::fs();
  const std::string bytes = fs.read_file(directory + name);
  fs.create_directories(quarantine_directory());
  const std::string target = quarantine_directory() + quarantine_name(origin, name);
  WriteFileInOneStep(target, bytes);
  fs.remove_file(directory + name);
  LogCartao("Zul00500 - Arquivo " + directory + name + " " + reason + ", movido para " + target);
}

// A leftover whose settlement the manager took before the package stopped
// (it noted the request, and the request is gone): it gets no second one.
// Its files go and the removal is logged.
bool settled_before(const std::string& directory, const std::string& name, const StringList& answer) {
  const std::string sequence = answer.Field("001-000 ");
  const std::string operation = SettlementTaken(sequence);
  if (operation.empty()) return false;
  platform::fs().remove_file(directory + name);
  DeleteTransactionFiles(RootOfNetwork(answer.Field("010-000 ")), sequence);
  LogCartao("Zul00500 - " + operation + " da transa\xE7\xE3o " + sequence +
            " recebido pelo gerenciador antes da interrup\xE7\xE3o; arquivo " + directory + name +
            " removido");
  return true;
}

// Reads a leftover once it is whole. A response file the manager is still
// writing gets a few more looks; a backup is the package's own and does not
// change.
bool read_leftover(StringList& list, const std::string& path, bool from_backup) {
  PausedTime waited;
  for (int look = 1;; ++look) {
    if (ReadWholeExchangeFile(list, path, waited)) return true;
    if (from_backup || look == kNotYetLooks || !platform::fs().file_exists(path)) return false;
    waited.Pause(kNotYetPauseMs);
  }
}

} // namespace

bool WalkLeftovers(const std::string& directory, const std::string& origin, bool from_backup,
                   StringList& list, const std::function<bool(const std::string& name)>& settle) {
  platform::FileSystem& fs = platform::fs();
  for (const std::string& name : fs.list(directory + "intpos.*")) {
    // A confirmation empties response directories and may empty the backup
    // directory: an entry listed before may be gone by its turn.
    if (!fs.file_exists(directory + name)) continue;
    // Only the working copy and numbered backups are answers we stored.
    std::int64_t number = 0;
    if (from_backup && !BackupNumber(name, number)) continue;
    if (!from_backup && SameText(name, "intpos.sts")) {
      fs.remove_file(directory + name);
      LogCartao("Zul00500 - Arquivo de status removido: " + directory + name);
      continue;
    }
    if (!read_leftover(list, directory + name, from_backup)) {
      if (!fs.file_exists(directory + name)) continue;
      if (from_backup) quarantine(directory, name, origin, "incompleto");
      else LogCartao("Zul00500 - Arquivo " + directory + name + " incompleto, deixado para depois");
      continue;
    }
    if (const char* reason = unsettleable(list)) {
      quarantine(directory, name, origin, reason);
      continue;
    }
    if (!settle(name)) return false;
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
    if (!VerificaRetorno(context, list, notConfirm, from_backup ? "" : "S")) return false;
    platform::fs().remove_file((from_backup ? DirTef : root) + "resp\\" + name);
    platform::fs().remove_file(dsDirBkpTef + name);
    return true;
  });
}

} // namespace

bool CheckIntPosFiles(const std::string& context, bool notConfirm) {
  const TillLock till("CheckIntPosFiles", context);
  if (!till.Held()) return false;
  StringList list;
  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef}) {
    DirTef = root;
    const bool leftovers_in_response = !platform::fs().list(DirTef + "resp\\intpos.*").empty();
    if (!settle(root, !leftovers_in_response, context, notConfirm, list)) return false;
  }
  return true;
}

} // namespace zul00500
