// The C interface's side of the boundary: what every exported routine needs
// to turn C arguments into the package's C++ ones and back, and to keep every
// exception on this side (result -1 and the last error instead).
#pragma once

#include <memory>
#include <string>

#include "Pkg_Zul00500.h"
#include "zul00500/errors.h"
#include "zul00500/string_list.h"

// What a ZulList handle points to. The package's own stlCuponsTEF is handed
// out as a handle too, one the host must not free.
struct ZulListRec {
  std::shared_ptr<zul00500::StringList> list;
  bool package_owned = false;
};

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
};

// --- the last error ----------------------------------------------------------
// The error part is what ended a call with -1; the notes are what a call that
// still succeeded wants the host to know (a value cut to fit).
void ClearLastError() noexcept;
void SetError(const char* routine, const std::string& text) noexcept;
void AddNote(const std::string& text) noexcept;
std::string LastErrorText();
// Sets the error from the exception being handled.
void FailWithCurrentException(const char* routine) noexcept;

// Runs `body` (returning an int result) so that nothing escapes: any
// exception becomes -1 and the error of `routine`. Routines of the package
// clear the last error first; helpers leave it alone unless they fail.
template <typename Body> int Guarded(const char* routine, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    FailWithCurrentException(routine);
    return ZUL_ERROR;
  }
}
// Problems the routine met after the manager took a settlement (a card log
// that could not be written) become notes: the result stands.
void NoteReportedProblems(const char* routine) noexcept;
template <typename Body> int RunRoutine(const char* routine, Body&& body) noexcept {
  ClearLastError();
  const int result = Guarded(routine, std::forward<Body>(body));
  NoteReportedProblems(routine);
  return result;
}

inline int Result(bool value) { return value ? ZUL_TRUE : ZUL_FALSE; }

// --- arguments -------------------------------------------------------------------

// A const char* in: null reads as "".
inline std::string In(const char* text) { return text ? std::string(text) : std::string(); }

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
// full length.
int CopyOut(const std::string& text, char* buffer, int capacity) noexcept;

// --- lists ---------------------------------------------------------------------------

// A new handle for `list`, registered as live.
ZulList NewListHandle(std::shared_ptr<StringList> list, bool package_owned = false);
// The record behind a live handle; throws ArgumentError for anything else.
ZulListRec& ListRecord(ZulList handle, const char* argument);
inline StringList& ListOf(ZulList handle, const char* argument) { return *ListRecord(handle, argument).list; }
// Forgets a handle (after its record was deleted).
void ForgetListHandle(ZulList handle);

} // namespace zul00500::capi
