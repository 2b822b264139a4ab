#include "tef/activity_check.h"

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "support/card_log.h"
#include "support/errors.h"
#include "support/host_services.h"
#include "support/input_lock.h"
#include "support/outcome.h"
#include "support/problems.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/text.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/form.h"
#include "tef/holder.h"
#include "tef/leftover_scan.h"
#include "tef/settlement/journal.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/store.h"
#include "tef/settlement/unacknowledged_takes.h"
#include "tef/till_lock.h"

namespace zul00500 {

namespace {
constexpr std::uint32_t kCycleMs = 600;
constexpr std::uint64_t kLimitMs = 15 * 1000;

enum class Found { Nothing, Answer, TooLarge };

// Nothing while there is no answer at `path`, or its writer holds it, or is
// still writing its last line end (no regular file is read: it is put
// away). TooLarge for one past the exchange limits: `answer` then holds
// its first whole lines.
Found read_answer(const std::string& path, StringList& answer) {
  try {
    if (!platform::fs().file_exists(path)) return Found::Nothing;
    const std::optional<std::string> bytes = ReadIfThere(path);
    if (!bytes || EndsMidLineEnd(*bytes)) return Found::Nothing;
    if (OverLimit(*bytes)) {
      answer = WholeLines(*bytes);
      return Found::TooLarge;
    }
    answer.SetText(*bytes);
    return Found::Answer;
  } catch (const FileError&) {
    return Found::Nothing; // held by its writer: not whole yet
  }
}

// An answer past the exchange limits, about to leave the response
// directory: what its first lines name is backed up for the next scan to
// settle, and its start is kept aside for a person to see.
// One that no manager can settle (its network's root is missing) is kept
// by its copy alone: a copy refused for a moment raises, the file stays,
// and no request goes out over it. Only a full disk costs its bytes.
void keep_too_large(const std::string& path) {
  BackUpHeadOf(path);
  const std::size_t name = path.rfind('\\') + 1;
  const std::string directory = path.substr(0, name);
  const std::string origin = DirTef.substr(3, DirTef.size() - 4);
  std::string where;
  if (!Unsettleable(WholeLines(ReadHead(path).value_or(std::string()))).empty()) {
    try {
      where = "copiado para " + KeepCopy(directory, path.substr(name), origin);
    } catch (const platform::NoSpaceError&) {
    }
  }
  if (where.empty()) where = KeepCopyIfPossible(directory, path.substr(name), origin);
  LogCartao("Zul00500 - Arquivo " + path + " " + TooLargeReason() + ", " + where);
}

void keep_late_answer(const std::string& path) {
  StringList answer;
  const Found found = read_answer(path, answer);
  // A manager's answer to an activity check settles nothing.
  if (found == Found::Nothing || answer.Field("000-000 ") == "ATV") return;
  if (found == Found::TooLarge) keep_too_large(path);
  else BackUpLoneAnswer(path, answer);
}

// An approval of an earlier, abandoned request that the manager wrote while
// the package waited for a status file. When the wait failed, nothing reads
// the response directory before the manager writes its next answer over it;
// after an activity check's status, the request that follows goes out with
// it still there. It gets a numbered backup for the next scan first, and
// then leaves the directory. After the status of the request itself, the
// answer wait reads it and sets it aside. Throws nothing. True while such an
// approval is still in the directory (its backup failed).
bool keep_stray_approval(const std::string& sequence) {
  const std::string path = DirTef + "resp\\intpos.001";
  if (!platform::fs().file_exists(path)) return false;
  // One that stays unreadable (another user's, or held past the brief
  // wait) cannot be kept, and would stop every sale: the scan tells it, and
  // it stays where it is.
  if (StaysUnreadable(path)) return false;
  StringList answer;
  // Held by another program: what it holds cannot be told, nor kept. No
  // regular file is put away unread, and is no longer in the way.
  const Found found = read_answer(path, answer);
  if (found == Found::Nothing) return platform::fs().file_exists(path);
  const std::string its = answer.Field("001-000 ");
  if (its == sequence || answer.Field("000-000 ") == "ATV") return false;
  if (found == Found::TooLarge) {
    try {
      keep_too_large(path);
      platform::fs().remove_file(path);
    } catch (const FileError&) {
      // Left where it is: the next scan finds it there.
    }
    return platform::fs().file_exists(path);
  }
  // Still being written: it may be an approval.
  if (its.empty() || !ReadsWhole(answer)) return true;
  if (answer.Field("009-000 ") != "0" || NeedsNoConfirmation(answer)) return false;
  try {
    // A copy of an answer already settled (a manager that wrote it twice)
    // is none to keep.
    if (!SettledInThisProcess(its).empty() || !SettlementTaken(its).empty()) {
      platform::fs().remove_file(path);
    } else {
      BackUpLoneAnswer(path, answer);
      if (BackedUp(its)) platform::fs().remove_file(path);
    }
  } catch (const FileError&) {
    // Left where it is: the next scan or clean-up finds it there.
  }
  return platform::fs().file_exists(path);
}

// True when the response directory, or the root it lies in, is a link the
// package did not make: a junction may be deliberate, but the files there
// belong to another place.
bool linked(const std::string& response) {
  return platform::fs().is_link(response) || platform::fs().is_link(DirTef);
}

// True when `name`, an "intpos.*" entry of the response directory, is none
// of the files a manager writes there as Windows would show them: the
// answer and the status file under any letter case, when no other entry
// takes that name. A twin that differs only in letter case, or an odd
// spelling ("intpos.0010"), cannot come from a manager on Windows.
bool stray(const std::string& response, const std::string& name) {
  platform::FileSystem& fs = platform::fs();
  for (const char* exchange : {"intpos.001", "intpos.sts"}) {
    if (!SameText(name, exchange)) continue;
    const std::vector<std::string> found = fs.list(response + exchange);
    return found.empty() || found.front() != name;
  }
  return true;
}

// Empties the response directory, as the manager expects before an
// activity request, of everything but what no clean-up may delete: an
// "intpos.*" file that is no exchange file (stray: the leftover scan
// settles it), and one the till may not read, which may hold an approval.
// Through a link (a deliberate junction, say) the directory is another
// place's, and only exchange files go, never the target's other files.
void clear_response_directory(const std::string& response) {
  platform::FileSystem& fs = platform::fs();
  for (const std::string& name : fs.list(response + (linked(response) ? "intpos.*" : "*.*"))) {
    const std::string path = response + name;
    if (!fs.file_exists(path)) continue;
    const bool exchange = platform::wildcard_match("intpos.*", name);
    if (exchange && stray(response, name)) {
      LogCartao("Zul00500 - Arquivo " + path +
                " n\xE3o \xE9 um nome que o gerenciador escreve, deixado para a verifica\xE7\xE3o");
      continue;
    }
    if (exchange && Unreadable(path)) continue;
    fs.remove_file(path);
  }
}

// Empties the response directory and a stale backup status pair, then sends
// the activity request.
void send_activity_request(StringList& request, const std::string& operation, const std::string& sequence) {
  platform::FileSystem& fs = platform::fs();
  const std::string response = DirTef + "resp\\";
  fs.remove_file(response + "intpos.sts");
  if (!linked(response)) fs.remove_file(response + "Ativo.001");
  // An answer that came after the package gave up waiting for it is kept
  // for the next scan before the directory is emptied.
  keep_late_answer(response + "intpos.001");
  clear_response_directory(response);
  if (fs.file_exists(dsDirBkpTef + "intpos.sts")) {
    fs.remove_file(dsDirBkpTef + "intpos.001");
    fs.remove_file(dsDirBkpTef + "intpos.sts");
  }
  LogCartao("Zul00500 - Gerando arquivo Atv");
  request.Clear();
  request.Add("000-000 = " + operation);
  request.Add("001-000 = " + sequence);
  request.Add("999-999 = 0");
  SaveRequest(request, DirTef);
  LogCartao("Zul00500 - Arquivo Atv criado");
}

// True while our request still lies in the request directory: a manager
// that removes what it takes has not taken it yet.
bool request_untaken(const std::string& sequence) {
  const std::optional<std::string> head = ReadHead(DirTef + "req\\intpos.001");
  return head && WholeLines(*head).Field("001-000 ") == sequence;
}

// A settlement ("CNF" or "NCN") may be with the manager once its request is
// written: a log line or a dialog that fails from then on is reported, not
// raised, or the host hears of an error for a transaction the manager then
// confirms.
bool settlement_out(const std::string& operation) { return operation == "CNF" || operation == "NCN"; }
void log_for(const std::string& operation, const std::string& line) {
  settlement_out(operation) ? LogSettled(line) : LogCartao(line);
}

// Polls for the status file acknowledging `operation`. Every whole status
// file found is read and deleted, matching or not; one the manager is still
// writing is left for the next cycle. The time is measured on the monotonic
// clock: neither a clock set back or forward nor the time the host spends
// handling its messages stretches the wait.
bool wait_for_status(StringList& status, const std::string& operation, const std::string& sequence) {
  const std::string header = "000-000 = " + operation;
  const auto log = [&operation](const std::string& line) { log_for(operation, line); };
  const platform::Stopwatch waited;
  // A status that names no sequence may be another request's: one the
  // manager writes late, after a wait that ran out, or one it heads with
  // our operation's code. Taken for ours, ours would stay unsent, and the
  // next request would replace it. So with a manager that removes the
  // requests it takes (as its last acknowledged one showed), such a status
  // that comes while our request still lies in the request directory is
  // held in doubt: it counts once the request leaves, or, for a manager
  // that kept this one, once the request stayed there a further 15 s (a
  // manager busy with another request takes ours long before). So too with
  // any manager that took an earlier request of our operation and never
  // acknowledged it: its status may yet come, and reads as ours.
  const bool doubtful = RemovesRequests(DirTef) || LateStatusMayCome(DirTef, operation);
  std::optional<std::uint64_t> held_since;
  for (;;) {
    platform::process_messages();
    log("Zul00500 - Aguardando resposta do gerenciador");
    platform::pause(kCycleMs);
    const std::string path = DirTef + "resp\\intpos.sts";
    bool counts = false;
    // A settlement the manager left in its request directory: once the
    // status that tells it was taken is gone, only its note can. A status
    // held in doubt is noted as such, not as the acknowledgement: it may be
    // another request's (NoteSettlementHeldInDoubt).
    const auto note = [&](void (*what)(const std::string&)) {
      if (settlement_out(operation)) AfterSettlement([&sequence, what] { what(sequence); });
    };
    if (platform::fs().file_exists(path) && ReadWholeExchangeFile(status, path)) {
      const bool ours = Acknowledges(status, header, sequence);
      if (ours) ForgetUnacknowledgedTake(DirTef, operation);
      const bool kept = ours && request_untaken(sequence);
      const bool held = kept && doubtful;
      // Noted before the status goes: after a cut, the note is all that
      // tells what the status said.
      if (kept && !held) note(NoteKeptSettlementAcknowledged);
      if (held && !held_since) note(NoteSettlementHeldInDoubt);
      platform::fs().remove_file(path);
      if (held) {
        if (!held_since) held_since = waited.elapsed_ms();
      } else counts = ours;
    }
    if (held_since && !counts) {
      if (!request_untaken(sequence)) counts = true;
      else if (waited.elapsed_ms() > *held_since + kLimitMs) {
        // Still there a further 15 s: this manager kept it, and the status
        // was ours.
        note(NoteKeptSettlementAcknowledged);
        counts = true;
      }
    }
    if (counts) {
      RememberHowRequestsAreTaken(DirTef, !request_untaken(sequence));
      log("Zul00500 - Gerenciador est\xE1 ativo");
      return true;
    }
    if (!held_since && waited.elapsed_ms() > kLimitMs) {
      if (!request_untaken(sequence)) RememberUnacknowledgedTake(DirTef, operation);
      return false;
    }
  }
}
} // namespace

void LoadSerialNumber(TfrmCartaoDebito& holder) {
  if (!stNrSerie.empty()) return;
  try {
    const std::string path = platform::fs().short_path(HostDirectoryLong() + "\\PARAMETROSQTR.CDS");
    if (!platform::fs().file_exists(path)) return;
    holder.cdsParametrosQtr.LoadFromFile(path);
    holder.cdsParametrosQtr.Open();
    stNrSerie = holder.cdsParametrosQtr.FieldAsString("NRSERIEECF");
  } catch (const Error& error) {
    stNrSerie.clear();
    LogCartao("Zul00500 - PARAMETROSQTR.CDS ileg\xEDvel, ignorado: " + std::string(error.what()));
  }
}

bool CheckGPAtivo(const std::string& operation, const std::string& sequence) {
  const TillLock till("CheckGPAtivo", "");
  if (!till.Held()) return false;
  const auto holder = NewHolder();
  LoadSerialNumber(*holder);
  bool result = false;
  ReloadDirTef();

  StringList list;
  if (DirTef.empty()) {
    // No root was ever chosen: the paths would be relative to wherever the
    // host runs, and the clean-up would delete files there.
    LogCartao("Zul00500 - Nenhuma raiz TEF escolhida");
  } else {
    try {
      if (operation == "ATV") send_activity_request(list, operation, sequence);
      result = wait_for_status(list, operation, sequence);
      if ((!result || operation == "ATV") && keep_stray_approval(sequence) && result) {
        // A request sent now would have its answer written over that approval.
        log_for(operation, "Zul00500 - Resposta de outra transa\xE7\xE3o em " + DirTef +
                               "resp\\ n\xE3o guardada; nenhum pedido enviado");
        result = false;
      }
    } catch (const std::exception& error) {
      keep_stray_approval(sequence);
      log_for(operation, "Zul00500 - N\xE3o houve resposta do gerenciador");
      log_for(operation, "Zul00500 - " + std::string(error.what()));
    } catch (...) {
      log_for(operation, "Zul00500 - N\xE3o houve resposta do gerenciador");
    }
  }

  if (result) SetOutcome(RoutineOutcome::Done);
  else SetManagerSilent(DirTef);
  if (!result) {
    const auto tell = [&holder] { ShowDialog(holder->msgPadrao.Msg("GER_PDR_N_ATV"), "N", tmAviso, "", 0); };
    if (settlement_out(operation)) AfterSettlement(tell);
    else tell();
  }
  return result;
}

} // namespace zul00500
