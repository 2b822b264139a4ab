#include "capi/boundary.h"

#include <climits>
#include <cstring>
#include <new>
#include <unordered_set>

#include "support/problems.h"
#include "zul00500/zul00500.h"

namespace zul00500::capi {

namespace {
// Everything runs on the host's UI thread, so plain globals serve.
std::string last_error;
std::string last_notes;

std::unordered_set<ZulList>& live_lists() {
  static std::unordered_set<ZulList> lists;
  return lists;
}

int clamp_length(std::size_t length) { return length > INT_MAX ? INT_MAX : static_cast<int>(length); }
} // namespace

void ClearLastError() noexcept {
  last_error.clear();
  last_notes.clear();
  try {
    TakeReportedProblems(); // met outside any routine: nobody asked
  } catch (...) {
  }
}

void NoteReportedProblems(const char* routine) noexcept {
  try {
    for (const std::string& problem : TakeReportedProblems()) AddNote(std::string(routine) + ": " + problem);
  } catch (...) {
  }
}

void SetError(const char* routine, const std::string& text) noexcept {
  try {
    last_error = std::string(routine) + ": " + text;
  } catch (...) {
    last_error.clear(); // no memory even for the text: the -1 still tells
  }
}

void AddNote(const std::string& text) noexcept {
  try {
    last_notes += (last_notes.empty() ? "" : "; ") + text;
  } catch (...) {
  }
}

std::string LastErrorText() {
  if (last_error.empty()) return last_notes;
  return last_notes.empty() ? last_error : last_error + "; " + last_notes;
}

void FailWithCurrentException(const char* routine) noexcept {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    SetError(routine, "out of memory");
  } catch (const std::exception& error) {
    SetError(routine, error.what());
  } catch (...) {
    SetError(routine, "an unknown error");
  }
}

int CopyOut(const std::string& text, char* buffer, int capacity) noexcept {
  if (buffer && capacity > 0) {
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(capacity) - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
  }
  return clamp_length(text.size());
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

ZulList NewListHandle(std::shared_ptr<StringList> list, bool package_owned) {
  auto record = std::make_unique<ZulListRec>();
  record->list = std::move(list);
  record->package_owned = package_owned;
  live_lists().insert(record.get());
  return record.release();
}

ZulListRec& ListRecord(ZulList handle, const char* argument) {
  if (!handle) throw ArgumentError(argument, "a null list");
  if (!live_lists().count(handle))
    throw ArgumentError(argument, "not a list of this package, or one already freed");
  return *handle;
}

void ForgetListHandle(ZulList handle) { live_lists().erase(handle); }

} // namespace zul00500::capi
