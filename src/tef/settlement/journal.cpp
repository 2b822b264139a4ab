#include "tef/settlement/journal.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/state.h"
#include "support/string_list.h"
#include "support/text.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/holder.h"
#include "tef/settlement/backup_index.h"
#include "tef/settlement/memory.h"
#include "tef/settlement/store.h"

namespace zul00500 {

namespace {

constexpr const char* kClosingLine = "999-999 = 0";

struct Note {
  std::string name;
  std::string path;
  StringList request;        // as written to the request directory
  std::string answer_line;   // "001-000 = " + the settled answer's sequence
  std::string pending;       // the sequence of the pending copy it ends, if any
  bool acknowledged = false; // acknowledged, and left in req\ by the manager
  bool held = false;         // a status that may be its acknowledgement was held in doubt
};

// The line of a note whose request the manager acknowledged and left in its
// request directory: nothing else tells such a request from one not taken.
constexpr std::string_view kAcknowledgedLine = "Recebido = 1";

// The line of a note whose request lay in the request directory when a
// status that may be its acknowledgement came, from a manager that removes
// what it takes: the status may be another request's (HeldInDoubt).
constexpr std::string_view kHeldLine = "Em duvida = 1";

// The line of a note that names the pending copy the settlement ends.
constexpr std::string_view kPendingLine = "Pendente = ";

// The pending copy the next note ends (SettlementEndsPendingCopy).
std::string pending_of_next_note;

// The text of a note: the request, the settled answer's sequence line, and
// what more it says.
std::string note_text(const StringList& request, const std::string& answerLine, const std::string& pending,
                      bool acknowledged, bool held = false) {
  StringList text = request;
  text.Add(answerLine);
  if (!pending.empty()) text.Add(std::string(kPendingLine) + pending);
  if (acknowledged) text.Add(std::string(kAcknowledgedLine));
  if (held) text.Add(std::string(kHeldLine));
  return text.Text();
}

std::string note_path(const StringList& request) {
  return dsDirBkpTef + kNotesFolder + request.Field("001-000 ");
}

// The root whose request directory got the settlement: that of its network.
std::string root_of(const StringList& request) { return RootOfNetwork(request.Field("010-000 ")); }

std::optional<std::string> bytes_of(const std::string& path) {
  try {
    // A note or a request is a few lines: more is none of ours.
    return platform::fs().read_part(path, 0, kMaxExchangeBytes);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

// The notes' names: the scan's index knows them, otherwise the backup
// directory is listed.
std::vector<std::string> note_names() {
  const BackupIndex* index = BackupIndex::Current();
  if (index && index->Directory() == dsDirBkpTef) return index->Notes();
  return ListSettlementNotes();
}

// The name notes had before they got their folder.
constexpr std::string_view kFormerNotePrefix = "intpos.r";

// Moves notes left under the former name into the folder (a till updated
// in the middle of a day). Returns the former names that stay (one that
// could not be moved).
std::vector<std::string> adopt_former_notes() {
  platform::FileSystem& fs = platform::fs();
  std::vector<std::string> stayed;
  const std::vector<std::string> former = fs.list(dsDirBkpTef + std::string(kFormerNotePrefix) + "*");
  if (!former.empty()) fs.create_directories(dsDirBkpTef + kNotesFolder);
  for (const std::string& name : former) {
    try {
      // One rename on the same drive: a cut leaves it under one name or
      // the other.
      if (fs.rename_file(dsDirBkpTef + name,
                         dsDirBkpTef + kNotesFolder + name.substr(kFormerNotePrefix.size())))
        continue;
    } catch (const FileError&) {
    }
    stayed.push_back(name);
  }
  return stayed;
}

// The notes found under `names`, relative to the backup directory.
std::vector<Note> read_notes(const std::vector<std::string>& names) {
  std::vector<Note> found;
  for (const std::string& name : names) {
    Note note{name, dsDirBkpTef + name, {}, {}, {}, false, false};
    const std::optional<std::string> bytes = bytes_of(note.path);
    if (!bytes) continue;
    StringList lines;
    lines.SetText(*bytes);
    std::size_t i = 0;
    for (; i < lines.Count() && lines[i] != kClosingLine; ++i) note.request.Add(lines[i]);
    if (i + 1 >= lines.Count()) continue; // not one of ours
    note.request.Add(kClosingLine);
    note.answer_line = lines[i + 1];
    for (std::size_t j = i + 2; j < lines.Count(); ++j) {
      if (lines[j].starts_with(kPendingLine)) note.pending = lines[j].substr(kPendingLine.size());
      note.acknowledged = note.acknowledged || lines[j] == kAcknowledgedLine;
      note.held = note.held || lines[j] == kHeldLine;
    }
    found.push_back(std::move(note));
  }
  return found;
}

std::vector<Note> notes() { return read_notes(note_names()); }

// Where a request taken back from the manager goes, in one rename within
// its request directory, under a name no manager reads: a cut at any point
// leaves it waiting or withdrawn, never gone while its note stays (which
// would read as taken).
std::string withdrawn_path(const StringList& request) {
  return root_of(request) + "req\\~intpos." + request.Field("001-000 ") + ".ret";
}

// True while `request` lies in its request directory, or still in the
// temporary it is written through, or withdrawn.
bool waiting(const StringList& request) {
  const std::string path = root_of(request) + "req\\intpos.001";
  const std::string text = request.Text();
  return bytes_of(path) == text || bytes_of(TemporaryBeside(path)) == text ||
         bytes_of(withdrawn_path(request)) == text;
}

// True once the request is out of the manager's reach for good.
bool take_back(const StringList& request) {
  const std::string path = root_of(request) + "req\\intpos.001";
  const std::string text = request.Text();
  std::string from;
  if (bytes_of(path) == text) from = path;
  else if (bytes_of(TemporaryBeside(path)) == text) from = TemporaryBeside(path);
  else return bytes_of(withdrawn_path(request)) == text;
  try {
    return platform::fs().rename_file(from, withdrawn_path(request));
  } catch (const FileError&) {
    return false;
  }
}

std::string answer_sequence(const Note& note) {
  const std::string prefix = "001-000 = ";
  return note.answer_line.substr(std::min(prefix.size(), note.answer_line.size()));
}

// A settlement the manager acknowledged in this process was taken, even one
// whose request it left where it was.
bool untaken(const Note& note) {
  if (note.acknowledged) return false;
  return SettledInThisProcess(answer_sequence(note)).empty() && waiting(note.request);
}

// Where the notes of settlements the manager took go once every copy of
// their answer is gone, named by the answer's sequence: a manager may write
// an answer again after it was settled, and a restart forgets what this
// process saw. Kept for two days.
std::string marks_directory() { return dsDirBkpTef + "Liquidados\\"; }
constexpr std::int64_t kSequenceModulus = 10'000'000'000;       // ten digits
constexpr std::int64_t kMarkLifetime = 2LL * 24 * 60 * 60 * 60; // sixtieths of a second

bool parse_sequence(const std::string& text, std::int64_t& value) {
  if (text.empty() || text.size() > 10) return false;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

// How long ago, in sixtieths of a second, the sequence `then` was drawn;
// sequences wrap at ten digits.
std::int64_t age_of(const std::string& then) {
  std::int64_t drawn = 0;
  std::int64_t now = 0;
  if (!parse_sequence(then, drawn) || !parse_sequence(GetSequence(), now)) return kMarkLifetime + 1;
  return ((now - drawn) % kSequenceModulus + kSequenceModulus) % kSequenceModulus;
}

void prune_marks() {
  platform::FileSystem& fs = platform::fs();
  for (const std::string& name : fs.list(marks_directory() + "*"))
    if (age_of(name) > kMarkLifetime) fs.remove_file(marks_directory() + name);
}

} // namespace

void NoteSettlementSent(const StringList& request, const std::string& answerSequence) {
  if (answerSequence.empty()) return;
  platform::fs().create_directories(dsDirBkpTef + kNotesFolder);
  WriteFileInOneStep(note_path(request),
                     note_text(request, "001-000 = " + answerSequence, pending_of_next_note, false));
  if (BackupIndex* index = BackupIndex::Current(); index && index->Directory() == dsDirBkpTef)
    index->AddNote(note_path(request).substr(dsDirBkpTef.size()), answerSequence);
}

SettlementEndsPendingCopy::SettlementEndsPendingCopy(const std::string& pendingSequence)
    : previous_(std::exchange(pending_of_next_note, pendingSequence)) {}
SettlementEndsPendingCopy::~SettlementEndsPendingCopy() { pending_of_next_note = previous_; }

namespace {
// Writes `note` again with the acknowledgement line.
void note_acknowledged(const Note& note) {
  WriteFileInOneStep(note.path, note_text(note.request, note.answer_line, note.pending, true));
}

// True when the status file of `request`'s root acknowledges it: a whole
// status with its header, naming its sequence or none.
bool acknowledged_by_status(const StringList& request) {
  const std::optional<std::string> bytes = bytes_of(root_of(request) + "resp\\intpos.sts");
  if (!bytes) return false;
  return Acknowledges(WholeLines(*bytes + (EndsWithLineEnd(*bytes) ? "" : "\n")), request[0],
                      request.Field("001-000 "));
}

// A manager that keeps the requests it takes may be writing, in place and in
// pieces, the status that acknowledges one when the package starts again:
// read now, half of it tells nothing, and the request would be withdrawn as
// never taken though the manager took it. A status file still being written
// is waited for (not past the 15 s a manager has to acknowledge) before the
// request is judged by it.
constexpr std::uint64_t kStatusBeingWrittenMs = 15 * 1000;
constexpr std::uint32_t kStatusPollMs = 300;
void await_status_being_written(const StringList& request) {
  const std::string path = root_of(request) + "resp\\intpos.sts";
  StringList status;
  const platform::Stopwatch waited;
  while (waited.elapsed_ms() < kStatusBeingWrittenMs && platform::fs().file_exists(path) &&
         !ReadWholeExchangeFile(status, path))
    platform::pause(kStatusPollMs);
}
// A note whose status was held in doubt when the package stopped: the status
// was either another request's, and the manager takes ours soon, or ours, from
// a manager that kept this one request. Either way the manager has it; what
// must not happen is the next request replacing it before the manager took
// it. So the package waits, as the held status would have (15 s), for the
// request to leave; one still there then was kept, and the status was ours.
void await_leaving(const StringList& request) {
  const platform::Stopwatch waited;
  while (waited.elapsed_ms() < kStatusBeingWrittenMs && waiting(request)) platform::pause(kStatusPollMs);
}
void settle_doubt(const Note& note) {
  if (!note.held || note.acknowledged || !waiting(note.request)) return;
  await_leaving(note.request);
  if (waiting(note.request)) note_acknowledged(note);
}

// True when the status file of `request`'s root names no sequence: it may
// be an early one the manager writes before it takes the request, or one
// written late for another request.
bool status_names_no_sequence(const StringList& request) {
  const std::optional<std::string> bytes = bytes_of(root_of(request) + "resp\\intpos.sts");
  return bytes && WholeLines(*bytes + (EndsWithLineEnd(*bytes) ? "" : "\n")).Field("001-000 ").empty();
}
} // namespace

namespace {
// The marks (the notes of settled answers, kept two days) that end a
// pending copy: one that could not be removed when its settlement went
// through is still ended by them.
std::vector<Note> marks_ending_pending_copies() {
  std::vector<std::string> names;
  for (const std::string& name : platform::fs().list(marks_directory() + "*"))
    names.push_back(marks_directory().substr(dsDirBkpTef.size()) + name);
  std::vector<Note> marks = read_notes(names);
  std::erase_if(marks, [](const Note& mark) { return mark.pending.empty(); });
  return marks;
}
} // namespace

void NoteKeptSettlementAcknowledged(const std::string& requestSequence) {
  for (const Note& note : notes())
    if (note.request.Field("001-000 ") == requestSequence && !note.acknowledged && waiting(note.request))
      note_acknowledged(note);
}

void NoteSettlementHeldInDoubt(const std::string& requestSequence) {
  for (const Note& note : notes())
    if (note.request.Field("001-000 ") == requestSequence && !note.acknowledged && !note.held &&
        waiting(note.request))
      WriteFileInOneStep(note.path, note_text(note.request, note.answer_line, note.pending, false, true));
}

bool PendingCopyEnded(const std::string& pendingSequence) {
  if (pendingSequence.empty()) return false;
  for (const Note& note : notes())
    if (note.pending == pendingSequence && !untaken(note)) return true;
  for (const Note& mark : marks_ending_pending_copies())
    if (mark.pending == pendingSequence) return true;
  return false;
}

void EndPendingCopiesOfTakenSettlements() {
  for (const Note& note : notes()) settle_doubt(note);
  for (const Note& note : notes()) {
    if (note.acknowledged || !waiting(note.request)) continue;
    await_status_being_written(note.request);
    if (!acknowledged_by_status(note.request)) continue;
    // One that names no sequence is as doubtful as a held one (a cut may
    // have come before its hold was noted): the request gets the same time
    // to leave before anything replaces it, and counts as taken either way.
    if (status_names_no_sequence(note.request)) await_leaving(note.request);
    if (waiting(note.request)) note_acknowledged(note);
  }
  for (const Note& note : notes())
    if (!note.pending.empty() && !untaken(note)) DeleteIntPosFiles(dsDirPenTef, note.pending);
  for (const Note& mark : marks_ending_pending_copies())
    if (AnswerIn(dsDirPenTef, mark.pending)) DeleteIntPosFiles(dsDirPenTef, mark.pending);
}

void ForgetSettlement(const StringList& request) {
  RemoveStored(dsDirBkpTef, note_path(request).substr(dsDirBkpTef.size()));
}

bool ForgetSettlementIfUntaken(const StringList& request) {
  // Taken back first: a request left waiting could still be taken after its
  // note went, and the next scan would settle the answer again. A request
  // that cannot be taken back (gone, or held by the manager) keeps the note.
  if (!take_back(request)) return false;
  // Whoever took it back (the wait that sent it, or a later look at the
  // answer it settles), what it was to confirm does not stand: the routine
  // running must not report it as standing.
  if (request.Field("000-000 ") == "CNF")
    for (const Note& note : read_notes({std::string(kNotesFolder) + request.Field("001-000 ")}))
      RememberConfirmationWithdrawn(answer_sequence(note));
  ForgetSettlement(request);
  platform::fs().remove_file(withdrawn_path(request));
  return true;
}

void MarkSettled(const std::string& answerSequence) {
  platform::FileSystem& fs = platform::fs();
  for (const Note& note : notes()) {
    if (note.answer_line != "001-000 = " + answerSequence || untaken(note)) continue;
    try {
      fs.create_directories(marks_directory());
      // One rename on the same drive: a power cut leaves the note in one
      // place or the other.
      if (fs.rename_file(note.path, marks_directory() + answerSequence)) {
        if (BackupIndex* index = BackupIndex::Current(); index && index->Directory() == dsDirBkpTef)
          index->Forget(note.name);
        prune_marks();
        continue;
      }
    } catch (const FileError&) {
    }
    // No mark: the note goes, as before marks were kept.
    RemoveStored(dsDirBkpTef, note.name);
  }
}

bool IsSettlementNote(const std::string& name) {
  for (const std::string_view prefix : {std::string_view(kNotesFolder), kFormerNotePrefix})
    if (name.size() > prefix.size() && SameText(std::string_view(name).substr(0, prefix.size()), prefix))
      return true;
  return false;
}

std::vector<std::string> ListSettlementNotes() {
  std::vector<std::string> names = adopt_former_notes();
  // A note is named by its request's sequence; a temporary a cut left
  // behind is none.
  for (const std::string& name : platform::fs().list(dsDirBkpTef + kNotesFolder + "*"))
    if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      names.push_back(kNotesFolder + name);
  return names;
}

void ForgetUntakenSettlements(const std::string& root) {
  for (const Note& note : notes())
    if (root_of(note.request) == root) settle_doubt(note);
  for (const Note& note : notes())
    if (root_of(note.request) == root && untaken(note)) ForgetSettlementIfUntaken(note.request);
}

namespace {
std::string settled_as(const std::string& answerSequence, bool forgetUntaken) {
  std::string taken;
  for (const Note& note : notes()) {
    if (note.answer_line != "001-000 = " + answerSequence) continue;
    // A request still waiting is taken back before its note goes: a power
    // cut before the next request replaces it would leave it to be taken
    // with no note.
    if (untaken(note)) {
      if (forgetUntaken) ForgetSettlementIfUntaken(note.request);
    } else taken = note.request.Field("000-000 ");
  }
  if (!taken.empty() || answerSequence.empty()) return taken;
  const std::optional<std::string> mark = bytes_of(marks_directory() + answerSequence);
  if (!mark || age_of(answerSequence) > kMarkLifetime) return {};
  StringList lines;
  lines.SetText(*mark);
  return lines.Field("000-000 ");
}
} // namespace

std::string SettlementTaken(const std::string& answerSequence) { return settled_as(answerSequence, true); }
std::string SettledAs(const std::string& answerSequence) { return settled_as(answerSequence, false); }

} // namespace zul00500
