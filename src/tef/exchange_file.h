// Writing requests for the manager and reading what it writes back.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "support/string_list.h"
#include "tef/exchange_read.h"

namespace zul00500 {

// Saves `request` as root + "req\intpos.001" through a flushed temporary, so
// the manager never reads half a request, even after a power cut.
// `beforePlacing` runs once the temporary is written, before it takes the
// request's name; `ifNotPlaced`, when the name could not be taken, before
// the temporary goes. Throws FileError.
void SaveRequest(const StringList& request, const std::string& root,
                 const std::function<void()>& beforePlacing = {}, const std::function<void()>& ifNotPlaced = {});

// The last line a manager writes. A status or answer file that ends with
// it is whole.
inline constexpr const char* kClosingLine = "999-999 = 0";

// How long a status file without the closing line must read the same
// before it counts as written (looked at every kSettleMs): as long as an
// answer's, for a part of another request's status, cut after its header,
// reads as a whole status of ours. From a manager seen to write the closing
// line, which is more likely paused than ended, kSettleClosingWriterMs.
inline constexpr std::uint32_t kSettleMs = 300;
inline constexpr std::uint32_t kSettleQuietMs = 1'500;
inline constexpr std::uint32_t kSettleClosingWriterMs = 10'000;

// One look at a status file that the manager may be writing in place, in
// pieces. True, with the lines in `list`, when the read is whole: its last
// line is the closing line, or it reads the same for kSettleQuietMs (or
// kSettleClosingWriterMs) and its first line is whole (it has a line end,
// or it is a complete header "000-000 = " + three capital letters; a
// manager need not end its last line) and a last line without a line end
// names its field ("NNN-NNN = "). Of a file past the exchange limits only the first line is
// taken (it is all a status wait judges). False means "not yet": the file
// is missing or vanished, another program holds it, its first line is not
// whole yet (an empty file included) or the file is still changing.
// Nothing is deleted either way. Throws FileError for any other failure.
bool ReadWholeExchangeFile(StringList& list, const std::string& path);

// True when an answer without its closing line holds everything a decision
// on it needs: the header and the sequence; for the error answer "XXX"
// nothing more; otherwise the result (009-000); for an approval the receipt
// count (028-000) and, for each receipt block whose count reads as a
// number, its last line. A manager that pauses at a line end in the middle
// of an answer leaves a file that fails this test.
bool LooksWhole(const StringList& answer);

// True for an answer read whole that needs no more waiting: it ends with
// the closing line, or looks whole without it (for an answer read once, by
// the package's own clean-ups, that is all that can be asked).
bool ReadsWhole(const StringList& answer);

// True when `lines`, read from `bytes`, end with the closing line and its
// line end is not still being written.
bool EndsClosed(const StringList& lines, std::string_view bytes);

// True when `status` acknowledges the request headed `header` (its first
// line) with `sequence`: its first line is that header, and it names that
// sequence or none.
bool Acknowledges(const StringList& status, const std::string& header, const std::string& sequence);

// True when `answer` is the manager's answer to the request of `operation`
// and `sequence`: its first line is exactly "000-000 = " + operation and
// its second "001-000 = " + sequence.
bool IsAnswerTo(const StringList& answer, const std::string& operation, const std::string& sequence);

// Answers the manager closes by itself and that get no confirmation:
// administrative ones ("ADM" with 009-000 "FF") and sales that printed
// nothing ("CRT" with 028-000 "0").
bool NeedsNoConfirmation(const StringList& answer);

// Shows the manager's operator message (030-000) to the operator. For an
// answer with receipt lines the dialog says so, and one window message is
// handled after it.
void ShowManagerMessage(const std::string& text, const std::string& context, bool withReceipt);

} // namespace zul00500
