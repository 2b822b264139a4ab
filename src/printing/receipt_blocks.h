// What the receipt printers share: reading the receipt blocks of an answer,
// sending their lines three to a piece, the saved receipts of the sale's
// earlier payments, the printer question and the bounded reprint recovery.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// A receipt block: its line prefix ("029-", "711-", "713-", "715-") and its
// number of lines.
struct ReceiptBlock {
  std::string prefix;
  std::int32_t lines = 0;

  friend bool operator==(const ReceiptBlock&, const ReceiptBlock&) = default;
};

// `source` names the answer in errors: "the answer" or a saved file's path.
// Count fields that are missing, not whole numbers, or outside 0 to 999
// raise ConvertError naming the field and the source. Only the fields a
// choice depends on are read.

// Block 029 with the count of 028-000.
ReceiptBlock MainBlock(const StringList& answer, const std::string& source);
// The first copy: 711 when 710-000 is above 0 and the choice is "S", 713
// when 712-000 is above 0 and the choice is "N", else 029.
ReceiptBlock FirstCopyBlock(const StringList& answer, const std::string& copyChoice,
                            const std::string& source);
// Block 715 when 714-000 is above 0; `lines` 0 when there is none.
ReceiptBlock SecondCopyBlock(const StringList& answer, const std::string& source);

// Reads every count that printing `answer`'s receipt on `printerType` (as
// ImprCupom takes it) may use, so that a broken one (ConvertError) is
// reported before anything is opened, printed or confirmed.
void CheckReceiptCounts(const StringList& answer, const std::string& copyChoice, std::int32_t printerType);

// Line k of a block: the field prefix + k in three digits + " ", trimmed,
// less its first and last character (the quotes the manager writes).
std::string ReceiptLine(const StringList& answer, const std::string& prefix, std::int32_t k);

// Sends one piece to the printer (or collects it); false: not printed.
using SendPiece = std::function<bool(const std::string& piece)>;

// Sends the block's lines three to a piece, each line ended by a line feed;
// every third line's piece is cut to `full` characters, the last one or two
// lines to `rest`. `before_line` runs before each line is taken, the message
// pump after it. False as soon as a send fails: the rest is not sent.
bool SendBlockLines(const StringList& answer, const ReceiptBlock& block, std::size_t full, std::size_t rest,
                    const SendPiece& send, const std::function<void()>& before_line = {});

// The framework printers' copies: for c = 1 .. copies, the lines of
// block_for(c) in pieces of at most 619 characters, then `closing`, the
// message pump after every copy. False as soon as a send fails.
bool SendFrameworkCopies(const StringList& answer, std::int32_t copies,
                         const std::function<ReceiptBlock(std::int32_t copy)>& block_for,
                         const SendPiece& send, const std::string& closing);

// Printer procedures as the receipt printers call them ("zero" arguments
// empty).
bool CloseManagementReport(const std::string& context);
bool OpenManagementReport(const std::string& context, const std::string& report1, const std::string& report2);
// Abre_Comp_NFiscalVinc in its command form: context, "CCD", command, text.
bool FrameworkCommand(const std::string& context, const std::string& command, const std::string& text = {});

// "Impressora não responde. Imprimir novamente?"; true for yes.
bool AskPrinterQuestion(const std::string& context);

// The retries a reprint may take before the routine gives up.
inline constexpr int kMaxFailedActivityChecks = 3;
inline constexpr int kMaxFailedReopenings = 3;

// Bounds the recovery loops of one printing call. On giving up it logs why
// and shows the "TimeOut" message.
class ReprintGuard {
public:
  ReprintGuard(std::string routine, std::string context);

  // Checks the manager ("ATV" with `sequence`) until it answers; after each
  // failed check one more is made whose result is not looked at, as the
  // reprint always did. False (given up) after kMaxFailedActivityChecks
  // failed checks.
  bool AwaitManager(const std::string& sequence);
  // Counts an attempt to reopen the document; false (given up) once
  // kMaxFailedReopenings failed in a row.
  bool Reopened(bool opened);

private:
  void GiveUp(const std::string& why);

  std::string routine_;
  std::string context_;
  int failed_reopenings_ = 0;
};

// How a walk over the saved receipts ended.
enum class SavedReceipts { Done, Restart, GiveUp };

// "intpos." + k in the pending directory.
std::string SavedReceiptPath(std::int32_t k);

// The saved receipts 1 .. transactionCount - 1, when skipSaved is clear, the
// count is above 1 and some "intpos.*" file is in the pending directory.
// `print(saved, path)` prints one and returns whether the printer still
// responds. After a failure the printer question is asked: no goes on with
// the next saved receipt (each asks again), yes runs `recover`, whose Restart
// or GiveUp ends the walk. A missing saved file raises FileError naming it.
SavedReceipts
PrintSavedReceipts(bool skipSaved, std::int32_t transactionCount, const std::string& context,
                   const std::function<bool(const StringList& saved, const std::string& path)>& print,
                   const std::function<SavedReceipts()>& recover);

} // namespace zul00500
