#include "capi/boundary.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <deque>
#include <new>
#include <vector>

#include "support/card_log.h"
#include "support/errors.h"
#include "support/number_format.h"
#include "support/problems.h"
#include "support/string_list.h"
#include "tef/pending_sale.h"
#include "tef/settlement/memory.h"
#include "tef/till_lock.h"

namespace zul00500::capi {

namespace {
// Everything runs on the host's UI thread, so plain globals serve.
std::string last_error;
int last_error_code = ZUL_OK;
std::string last_notes;
int last_note_code = ZUL_OK; // the first note's

// How deep the routines of the C interface are nested, and the outermost.
int running_depth = 0;
const char* running_routine = "";

int clamp_length(std::size_t length) { return length > INT_MAX ? INT_MAX : static_cast<int>(length); }
} // namespace

void ClearLastError() noexcept {
  last_error.clear();
  last_error_code = ZUL_OK;
  last_notes.clear();
  last_note_code = ZUL_OK;
  // Those of the running routine are its own to report.
  if (RoutineRunning()) return;
  // A refusal or a problem met by a routine called from C++ directly is no
  // one's to report.
  try {
    TakeReportedProblems();
    TakePassedOver();
  } catch (...) {
  }
  try {
    TakeTillRefusal();
  } catch (...) {
  }
  try {
    TakeWithdrawnConfirmations();
  } catch (...) {
  }
}

bool RoutineRunning() noexcept { return running_depth > 0; }

RunningRoutine::RunningRoutine(const char* routine) noexcept {
  if (running_depth++ == 0) running_routine = routine;
}

RunningRoutine::~RunningRoutine() { --running_depth; }

int RefuseReentry(const char* routine) noexcept {
  try {
    SetError(routine, ZUL_E_REENTRANT,
             std::string("called while ") + running_routine +
                 " runs (from one of its callbacks): nothing was done; call it once " + running_routine +
                 " has returned");
  } catch (...) {
    SetError(routine, ZUL_E_REENTRANT, "called while another routine runs");
  }
  return ZUL_ERROR;
}

LastErrorState SaveLastError() { return {last_error, last_error_code, last_notes, last_note_code}; }

void RestoreLastError(LastErrorState&& state) noexcept {
  last_error = std::move(state.error);
  last_error_code = state.code;
  last_notes = std::move(state.notes);
  last_note_code = state.note_code;
}

void NoteReportedProblems(const char* routine) noexcept {
  try {
    for (const std::string& problem : TakeReportedProblems())
      AddNote(std::string(routine) + ": " + problem, ZUL_NOTE_PROBLEM);
  } catch (...) {
  }
}

void NoteWithdrawnConfirmations(const char* routine) noexcept {
  try {
    const std::vector<std::string> withdrawn = TakeWithdrawnConfirmations();
    if (withdrawn.empty()) return;
    std::string sequences;
    for (const std::string& sequence : withdrawn) sequences += (sequences.empty() ? "" : ", ") + sequence;
    AddNote(std::string(routine) + ": the manager did not take the confirmation of transaction " + sequences +
                " in time and it was taken back; the payment or cancellation does not stand (the next scan "
                "undoes it)",
            ZUL_NOTE_WITHDRAWN);
    // Money before a value cut to fit: its code is the one the host reads.
    last_note_code = ZUL_NOTE_WITHDRAWN;
  } catch (...) {
  }
}

void NotePassedOver(const char* routine) noexcept {
  try {
    for (const std::string& path : TakePassedOver())
      AddNote(std::string(routine) + ": " + path +
                  " could not be read (another user's file, or held without sharing) and was passed over, "
                  "left where it is",
              ZUL_NOTE_UNREADABLE);
  } catch (...) {
  }
}

void NoteRefusal(const char* routine, int result) noexcept {
  try {
    const std::string refusal = TakeTillRefusal();
    if (result == ZUL_FALSE && !refusal.empty())
      AddNote(std::string(routine) + ": " + refusal, ZUL_NOTE_TILL_BUSY);
  } catch (...) {
  }
}

void SetError(const char* routine, int code, const std::string& text) noexcept {
  last_error_code = code;
  try {
    last_error = std::string(routine) + ": " + text;
  } catch (...) {
    last_error.clear(); // no memory even for the text: the -1 and the code still tell
  }
}

void AddNote(const std::string& text, int code) noexcept {
  if (last_note_code == ZUL_OK) last_note_code = code;
  try {
    last_notes += (last_notes.empty() ? "" : "; ") + text;
  } catch (...) {
  }
}

std::string LastErrorText() {
  if (last_error.empty()) return last_notes;
  return last_notes.empty() ? last_error : last_error + "; " + last_notes;
}

int LastErrorCode() noexcept {
  if (last_error_code != ZUL_OK) return last_error_code;
  return last_notes.empty() ? ZUL_OK : last_note_code;
}

void FailWithCurrentException(const char* routine) noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    SetError(routine, ZUL_E_MEMORY, "out of memory");
  } catch (const ArgumentError& error) {
    SetError(routine, ZUL_E_ARGUMENT, error.what());
  } catch (const PendingSaleError& error) {
    SetError(routine, ZUL_E_PENDING_SALE, error.what());
  } catch (const HostCallbackError& error) {
    SetError(routine, ZUL_E_CALLBACK, error.what());
  } catch (const FileBusyError& error) {
    SetError(routine, ZUL_E_FILE_BUSY, error.what());
  } catch (const FileError& error) {
    SetError(routine, ZUL_E_FILE, error.what());
  } catch (const ConvertError& error) {
    SetError(routine, ZUL_E_NUMBER, error.what());
  } catch (const DataSetError& error) {
    SetError(routine, ZUL_E_DATASET, error.what());
  } catch (const PrinterProcedureError& error) {
    SetError(routine, ZUL_E_NO_PRINTER_PROC, error.what());
  } catch (const std::exception& error) {
    SetError(routine, ZUL_E_OTHER, error.what());
  } catch (...) {
    SetError(routine, ZUL_E_OTHER, "an unknown error");
  }
}

int CopyOut(const std::string& text, char* buffer, int capacity, const char* routine) noexcept {
  if (buffer && capacity > 0) {
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(capacity) - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    if (routine && copied < text.size())
      AddNote(std::string(routine) + ": the text was cut to " + std::to_string(copied) + " of its " +
              std::to_string(text.size()) + " bytes (it needs a capacity of " +
              std::to_string(text.size() + 1) + ")");
  }
  return clamp_length(text.size());
}

namespace {
std::string amount_text(double amount) {
  if (std::isnan(amount)) return "NaN";
  if (std::isinf(amount)) return amount < 0 ? "-infinity" : "infinity";
  return FloatToStr(amount);
}
} // namespace

double PaymentAmount(double amount, const char* argument) {
  // The request writes what it is sent in whole cents: 0.004 would ask for 0.
  const std::string cents = std::isfinite(amount) ? CentsText(amount) : std::string();
  const bool positive =
      !cents.empty() && cents[0] != '-' && cents.find_first_not_of('0') != std::string::npos;
  if (!positive) throw ArgumentError(argument, amount_text(amount) + " is not an amount of 0.01 or more");
  return amount;
}

double VoucherAmount(double amount, const char* argument) {
  if (!std::isfinite(amount) || amount < 0)
    throw ArgumentError(argument, amount_text(amount) + " is not an amount of 0 or more");
  return amount;
}

std::string CentsAmount(const char* cents, const char* argument) {
  const std::string text = In(cents);
  const bool digits =
      !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!digits || text.find_first_not_of('0') == std::string::npos)
    throw ArgumentError(argument,
                        "\"" + text + "\" is not an amount in whole cents above 0 (\"4000\" for 40.00)");
  return text;
}

StringRef::StringRef(const char* routine, const char* argument, char* buffer, int capacity)
    : routine_(routine), argument_(argument), buffer_(buffer), capacity_(capacity) {
  if (!buffer) throw ArgumentError(argument, "a null pointer where a string is passed by reference");
  if (capacity < 1)
    throw ArgumentError(argument, "a capacity of " + std::to_string(capacity) + " holds no text");
  // The caller's value, read no further than its buffer goes.
  const void* end = std::memchr(buffer, '\0', static_cast<std::size_t>(capacity));
  value.assign(buffer, end ? static_cast<const char*>(end) - buffer : capacity);
}

StringRef::~StringRef() {
  CopyOut(value, buffer_, capacity_);
  if (value.size() < static_cast<std::size_t>(capacity_)) return;
  // Too long for the host's buffer: keep the whole value where someone will
  // find it, and say so, without failing what the routine did.
  const std::string size = std::to_string(value.size());
  AddNote(std::string(routine_) + ": " + argument_ + " was cut to " + std::to_string(capacity_ - 1) +
          " of its " + size + " bytes (it needs a capacity of " + std::to_string(value.size() + 1) +
          "); the card log has the whole value");
  try {
    LogCartao("Zul00500 - " + std::string(routine_) + " - " + argument_ + " cortado para " +
              std::to_string(capacity_ - 1) + " de " + size + " caracteres: " + value);
  } catch (...) {
    AddNote("the card log could not be written either");
  }
}

// --- list handles --------------------------------------------------------------------

namespace {

// The low bits of a handle hold its slot's index + 1 (so that no handle is
// null), the high bits the slot's generation. A slot whose generation ran
// out is never used again, so no handle ever names two lists.
constexpr unsigned kIndexBits = sizeof(std::uintptr_t) >= 8 ? 32 : 16;
constexpr std::uintptr_t kIndexMask = (std::uintptr_t{1} << kIndexBits) - 1;
constexpr std::uintptr_t kMaxGeneration = ~std::uintptr_t{0} >> kIndexBits;
constexpr std::size_t kMaxSlots = kIndexMask - 1;

struct Slot {
  ListEntry entry;
  std::uintptr_t generation = 1;
  bool live = false;
};

struct Slots {
  std::vector<Slot> slots;
  // Freed slots are reused oldest first, so that generations grow slowly.
  std::deque<std::size_t> free;
};

// Gone with the library: unloading it frees every list the host left.
Slots& slots() {
  static Slots all;
  return all;
}

ZulList encode(std::size_t index, std::uintptr_t generation) {
  return reinterpret_cast<ZulList>((generation << kIndexBits) | (index + 1));
}

// The slot a handle names and the generation it carries, or null.
Slot* decode(ZulList handle, std::uintptr_t& generation) noexcept {
  const auto value = reinterpret_cast<std::uintptr_t>(handle);
  const std::uintptr_t index_plus_one = value & kIndexMask;
  generation = value >> kIndexBits;
  std::vector<Slot>& all = slots().slots;
  if (index_plus_one == 0 || generation == 0 || index_plus_one > all.size()) return nullptr;
  return &all[index_plus_one - 1];
}

} // namespace

ZulList NewListHandle(std::shared_ptr<StringList> list, bool package_owned) {
  Slots& all = slots();
  std::size_t index;
  if (!all.free.empty()) {
    index = all.free.front();
    all.free.pop_front();
  } else {
    if (all.slots.size() >= kMaxSlots) throw std::bad_alloc();
    all.slots.emplace_back();
    index = all.slots.size() - 1;
  }
  Slot& slot = all.slots[index];
  slot.entry = {std::move(list), package_owned};
  slot.live = true;
  return encode(index, slot.generation);
}

HandleState StateOf(ZulList handle) noexcept {
  std::uintptr_t generation = 0;
  const Slot* slot = decode(handle, generation);
  if (!slot || generation > slot->generation) return HandleState::Foreign;
  return slot->live && generation == slot->generation ? HandleState::Live : HandleState::Freed;
}

ListEntry& ListRecord(ZulList handle, const char* argument) {
  if (!handle) throw ArgumentError(argument, "a null list");
  switch (StateOf(handle)) {
  case HandleState::Live: {
    std::uintptr_t generation = 0;
    return decode(handle, generation)->entry;
  }
  case HandleState::Freed:
    throw ArgumentError(argument, "a list already freed");
  case HandleState::Foreign:
    break;
  }
  throw ArgumentError(argument, "not a list of this package");
}

void FreeListHandle(ZulList handle) {
  std::uintptr_t generation = 0;
  Slot* slot = decode(handle, generation);
  if (!slot || !slot->live || generation != slot->generation) return;
  slot->entry = {};
  slot->live = false;
  const auto index = static_cast<std::size_t>(slot - slots().slots.data());
  if (slot->generation == kMaxGeneration) return; // retired
  ++slot->generation;
  slots().free.push_back(index);
}

} // namespace zul00500::capi
