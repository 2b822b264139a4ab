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
// gone, or held by the program that is writing it, or no regular file (a
// link, a FIFO, a device, a directory), which is never read and is put away
// (PutAwayNotRegular). Throws FileError otherwise.
std::optional<std::string> ReadIfThere(const std::string& path);
// The same; `not_regular` tells that what was there was no regular file.
std::optional<std::string> ReadIfThere(const std::string& path, bool& not_regular);
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
