// Reading what the manager writes without ever holding more than a bounded
// part of it: a manager that writes a huge file, or one of bare line feeds,
// must not make the package run out of memory. Real answers are a few KB; a
// 300-line receipt stays under 20 KB.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "support/string_list.h"

namespace zul00500 {

// The most an exchange file (status, answer, backup, pending copy) may hold:
// far above any real answer. A file past either limit is malformed input.
inline constexpr std::size_t kMaxExchangeBytes = 1024 * 1024;
inline constexpr std::size_t kMaxExchangeLines = 8192;
// What a decision by header or sequence reads of a file: its first lines.
inline constexpr std::size_t kHeadBytes = 64 * 1024;
inline constexpr std::size_t kHeadLines = 1024;

// The bytes of the file, at most kMaxExchangeBytes + 1 of them (enough to
// tell a file past the limit), or nothing while it is not there to be read:
// gone, or held by the program that is writing it, or one this process may
// not read (another user's), or no regular file (a link, a FIFO, a device,
// a directory), which is never read and is put away (PutAwayNotRegular).
// Throws FileError otherwise.
std::optional<std::string> ReadIfThere(const std::string& path);
// Why ReadIfThere gave nothing.
enum class NotRead {
  Gone,
  Unreadable, // held without sharing, or denied to this process
  NotRegular, // put away unread
};
std::optional<std::string> ReadIfThere(const std::string& path, NotRead& why);
// The first kHeadBytes of the file, or nothing as above.
std::optional<std::string> ReadHead(const std::string& path);

// What to do with a link, FIFO or device where an exchange file belongs:
// malformed input, never followed nor read. It is removed (the entry
// itself, never what a link points to), out of the manager's way, and the
// card log tells it. A directory stays where it is, untold here: the
// leftover scan and the answer wait tell it once (TellDirectoryInPlace).
// One that cannot be removed is told once. Throws only as the card log does.
void PutAwayNotRegular(const std::string& path);
void TellDirectoryInPlace(const std::string& path);

// A file the till may not read (another user's, mode 000; on Windows one
// held open without sharing) may be one the manager is still writing, so it
// is looked at again for this long; one that stays so is passed over: it
// is left where it is, unread and undeleted, and the sale goes on.
inline constexpr std::uint32_t kUnreadableMs = 2'000;
// True when `path` is there and cannot be read now (held or denied).
bool Unreadable(const std::string& path);
// Looks at `path` again, pausing on the clock seam, while it is unreadable,
// for kUnreadableMs at most. True when it stays unreadable.
bool StaysUnreadable(const std::string& path);
// Tells a file passed over unread: the card log, and the host through the
// routine's result (ReportPassedOver). Throws only as the card log does.
void PassOverUnreadable(const std::string& path);

// True when `bytes` hold more than kMaxExchangeBytes, or more than
// kMaxExchangeLines line ends (CR, LF or CR LF each count once).
bool OverLimit(std::string_view bytes);

// True when `bytes` end with a line end: their last line is whole.
bool EndsWithLineEnd(std::string_view bytes);

// True when `bytes`, whose lines end in CR LF, end in a lone CR: the last
// line end is still being written, whatever the last line says.
bool EndsMidLineEnd(std::string_view bytes);

// The lines of `bytes` that end with a line end, kHeadLines at most: what a
// file cut short, or past the limit, says for sure.
StringList WholeLines(std::string_view bytes);

// StringList::LoadFromFile for a file the manager may have written: throws
// FileError naming the limit when the file is past it.
void LoadExchangeFile(StringList& list, const std::string& path);

} // namespace zul00500
