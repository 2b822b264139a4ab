// The C interface's side of the boundary: what every exported routine needs
// to turn C arguments into the package's C++ ones and back, and to keep every
// exception on this side (result -1 and the last error instead).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "Pkg_Zul00500.h"
#include "support/errors.h"
#include "support/outcome.h"
#include "support/string_list.h"

namespace zul00500::capi {

static_assert(sizeof(int) == sizeof(std::int32_t), "the C interface's int is the package's 32-bit integer");

// A C argument the package cannot take (a null pointer, a capacity below 1,
// a handle that is not a live list).
class ArgumentError : public Error {
public:
  ArgumentError(const char* argument, std::string reason)
      : Error("take the argument", argument, std::move(reason)) {}
};

// A host callback returned a negative result: it failed, as a procedure of
// the host's language would by raising an exception.
class HostCallbackError : public Error {
public:
  HostCallbackError(const std::string& callback, int result)
      : Error("call the host's", callback, "it reported a failure (" + std::to_string(result) + ")") {}
  HostCallbackError(const std::string& callback, std::string reason)
      : Error("call the host's", callback, std::move(reason)) {}
};

// --- the last error ----------------------------------------------------------
// The error part is what ended a call with -1, with its code; the notes are
// what a call that still succeeded wants the host to know (a value cut to
// fit), with ZUL_NOTE_TRUNCATED.
void ClearLastError() noexcept;
void SetError(const char* routine, int code, const std::string& text) noexcept;
// The first note's code is the one zul_LastErrorCode gives.
void AddNote(const std::string& text, int code = ZUL_NOTE_TRUNCATED) noexcept;
// A routine another till kept out returns 0 like any other false; the last
// error then says why, with ZUL_NOTE_TILL_BUSY.
void NoteRefusal(const char* routine, int result) noexcept;
// Problems the routine met after the manager took a settlement (a card log
// that could not be written) become notes, with ZUL_NOTE_PROBLEM: the result
// stands.
void NoteReportedProblems(const char* routine) noexcept;
// Confirmations the routine took back from a manager that did not take them
// in time become a note, with ZUL_NOTE_WITHDRAWN: what they were to confirm
// does not stand.
void NoteWithdrawnConfirmations(const char* routine) noexcept;
// Exchange files the routine passed over unread (ReportPassedOver) become
// notes, with ZUL_NOTE_UNREADABLE: the result stands.
void NotePassedOver(const char* routine) noexcept;
std::string LastErrorText();
int LastErrorCode() noexcept;
// Sets the error, and its code, from the exception being handled.
void FailWithCurrentException(const char* routine) noexcept;

// --- one routine at a time ----------------------------------------------------
// A routine runs the host's code: its dialogs, printer procedures, network
// dialog, texts and message pump. A call the host makes from there finds the
// routine half done (a scan from the approval's dialog would not confirm the
// payment being approved), so every routine that talks to a manager, touches
// the exchange files or changes what a routine works on refuses it: -1,
// ZUL_E_REENTRANT, nothing done. The readers (the last error, variables,
// lists, the version) and the card log take such a call.
enum class Reentry { Refused, Allowed };

// True while a routine of the C interface runs.
bool RoutineRunning() noexcept;
// Ends a call made from within a running routine with ZUL_E_REENTRANT.
int RefuseReentry(const char* routine) noexcept;

class RunningRoutine {
public:
  explicit RunningRoutine(const char* routine) noexcept;
  ~RunningRoutine();
  RunningRoutine(const RunningRoutine&) = delete;
  RunningRoutine& operator=(const RunningRoutine&) = delete;
};

// Runs `body` (returning an int result) so that nothing escapes: the last
// error is cleared first, as every routine that succeeds leaves it clear,
// and any exception becomes -1 and the error of `routine`. A routine another
// till kept out, or one that met a problem after a settlement, leaves a note
// that says so. Called from within a running routine, a routine not marked
// Reentry::Allowed is refused; one that is leaves the running routine's
// refusals and problems to it.
template <typename Body>
int Guarded(const char* routine, Body&& body, Reentry reentry = Reentry::Refused) noexcept {
  const bool nested = RoutineRunning();
  ClearLastError();
  if (nested && reentry == Reentry::Refused) return RefuseReentry(routine);
  const RunningRoutine running(routine);
  int result = ZUL_ERROR;
  try {
    result = body();
  } catch (...) {
    FailWithCurrentException(routine);
  }
  if (nested) return result;
  NoteRefusal(routine, result);
  NoteWithdrawnConfirmations(routine);
  NoteReportedProblems(routine);
  NotePassedOver(routine);
  return result;
}

// How a routine that talks to a manager tells its outcome (zul_LastOutcome):
// one whose 1 says all there is to say (the request taken, the leftovers
// settled, the receipts printed) gives ZUL_OUTCOME_DONE with it; a sale or
// cancellation keeps the verdict its steps set.
enum class OnTrue { Done, AsSet };

// Guarded() for a routine that talks to a manager: its outcome starts afresh.
template <typename Body> int Talking(const char* routine, OnTrue on_true, Body&& body) noexcept {
  return Guarded(routine, [&] {
    ResetOutcome();
    const int result = body();
    if (result == ZUL_TRUE && (on_true == OnTrue::Done || LastOutcome().outcome == RoutineOutcome::None))
      SetOutcome(RoutineOutcome::Done);
    return result;
  });
}

// Guarded() for a routine a callback may call while another runs: one that
// only reads, or that touches nothing a running routine works on.
template <typename Body> int Reader(const char* routine, Body&& body) noexcept {
  return Guarded(routine, std::forward<Body>(body), Reentry::Allowed);
}

// The last error as a routine has it so far.
struct LastErrorState {
  std::string error;
  int code = ZUL_OK;
  std::string notes;
  int note_code = ZUL_OK;
};
LastErrorState SaveLastError();
void RestoreLastError(LastErrorState&& state) noexcept;

// Held around every call of the host's code: whatever the host's own calls
// leave as the last error is the host's to read within its callback, and the
// routine's own error and notes are back when the callback returns.
class HostCall {
public:
  HostCall() : saved_(SaveLastError()) {}
  ~HostCall() { RestoreLastError(std::move(saved_)); }
  HostCall(const HostCall&) = delete;
  HostCall& operator=(const HostCall&) = delete;

private:
  LastErrorState saved_;
};

// Calls the host's code (`call` returns the callback's result) in a HostCall.
template <typename Call> auto CallHost(Call&& call) {
  const HostCall host;
  return call();
}

inline int Result(bool value) { return value ? ZUL_TRUE : ZUL_FALSE; }

// --- arguments -------------------------------------------------------------------

// A const char* in: null reads as "".
inline std::string In(const char* text) { return text ? std::string(text) : std::string(); }

// Amounts in currency units. A payment, and what the sale still owes, is
// finite and at least one cent in the whole cents the request carries; the
// printing run's amount (the voucher's) is finite and not below 0.
double PaymentAmount(double amount, const char* argument);
double VoucherAmount(double amount, const char* argument);
// A transaction's amount in whole cents as its answer gives it ("4000"):
// digits only, above 0.
std::string CentsAmount(const char* cents, const char* argument);

template <typename T> T& Ref(T* pointer, const char* argument) {
  if (!pointer) throw ArgumentError(argument, "a null pointer where a value is passed by reference");
  return *pointer;
}

// A string passed by reference. It reads the caller's value from the buffer
// (never beyond its capacity) and writes the routine's value back when it
// goes out of scope, also when an error passes through, as a by-reference
// string of the host's language would keep what the routine assigned.
class StringRef {
public:
  StringRef(const char* routine, const char* argument, char* buffer, int capacity);
  ~StringRef();
  StringRef(const StringRef&) = delete;
  StringRef& operator=(const StringRef&) = delete;

  std::string value;

private:
  const char* routine_;
  const char* argument_;
  char* buffer_;
  int capacity_;
};

// Writes `text` snprintf-style: as much as fits, NUL-terminated; returns its
// full length. A text cut to fit a buffer the caller gave is noted for
// `routine`; with a null one it is only measured.
int CopyOut(const std::string& text, char* buffer, int capacity, const char* routine = nullptr) noexcept;

// --- lists ---------------------------------------------------------------------------
// A handle is a slot index and that slot's generation, never an address: a
// freed handle stays refused after its slot serves a new list.

struct ListEntry {
  std::shared_ptr<StringList> list;
  bool package_owned = false;
};

enum class HandleState { Live, Freed, Foreign };

// A new handle for `list`. Throws std::bad_alloc when no handle is left.
ZulList NewListHandle(std::shared_ptr<StringList> list, bool package_owned = false);
// Live: a list of ours; Freed: one of ours that was freed; Foreign: null or
// never one of ours.
HandleState StateOf(ZulList handle) noexcept;
// The entry behind a live handle; throws ArgumentError for anything else.
ListEntry& ListRecord(ZulList handle, const char* argument);
inline StringList& ListOf(ZulList handle, const char* argument) { return *ListRecord(handle, argument).list; }
// The list behind a live handle, kept alive for a routine that runs host
// code while it reads it: a callback that frees the handle frees only the
// handle.
inline std::shared_ptr<StringList> HoldList(ZulList handle, const char* argument) {
  return ListRecord(handle, argument).list;
}
// Frees a live handle's slot: the handle is refused from then on.
void FreeListHandle(ZulList handle);

} // namespace zul00500::capi
