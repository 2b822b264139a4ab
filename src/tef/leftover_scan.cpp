// Settling the answers that interrupted sales left in the managers' response
// directories and in the backup directory.
#include "platform/file_system.h"
#include "tef/exchange_file.h"
#include "tef/store.h"
#include "zul00500/zul00500.h"

namespace zul00500 {

namespace {

// Settles every "intpos.*" entry of `root`'s response directory, or of the
// backup directory when `from_backup`, in listing order. A settled answer
// goes from the response directory where it was found (for a backup entry:
// that of the root VerificaRetorno switched to) and from the backup
// directory. False at the first answer not settled; it stays.
bool settle(const std::string& root, bool from_backup, const std::string& context, bool notConfirm,
            StringList& list) {
  platform::FileSystem& fs = platform::fs();
  const std::string directory = from_backup ? dsDirBkpTef : root + "resp\\";
  for (const std::string& name : fs.list(directory + "intpos.*")) {
    // A confirmation empties response directories and may empty the backup
    // directory: an entry listed before may be gone by its turn.
    if (!fs.file_exists(directory + name)) continue;
    // Only the working copy and numbered backups are answers we stored; a
    // stray file that cannot be settled would stop every later sale.
    std::int64_t number = 0;
    if (from_backup && !BackupNumber(name, number)) continue;
    LoadExchangeFile(list, directory + name);
    if (!VerificaRetorno(context, list, notConfirm, from_backup ? "" : "S")) return false;
    fs.remove_file((from_backup ? DirTef : root) + "resp\\" + name);
    fs.remove_file(dsDirBkpTef + name);
  }
  return true;
}

} // namespace

bool CheckIntPosFiles(const std::string& context, bool notConfirm) {
  StringList list;
  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef}) {
    DirTef = root;
    const bool leftovers_in_response = !platform::fs().list(DirTef + "resp\\intpos.*").empty();
    if (!settle(root, !leftovers_in_response, context, notConfirm, list)) return false;
  }
  return true;
}

} // namespace zul00500
