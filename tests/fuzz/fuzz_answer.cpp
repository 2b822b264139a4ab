// An answer file as the manager may leave it, read and judged the way every
// routine that reads one does: the whole-file guard, the sale's verdict, the
// test of header and sequence, the confirmation's request and notice, the
// receipt blocks and their counts, and the blocks of a receipts list.
// Whatever the bytes, the only way out is a ConvertError naming a field.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_world.h"
#include "printing/receipt_blocks.h"
#include "support/errors.h"
#include "tef/answer_wait.h"
#include "tef/exchange_file.h"
#include "tef/exchange_read.h"
#include "tef/receipts_list.h"
#include "tef/sale_answer.h"
#include "tef/settlement/request.h"

using namespace zul00500;

namespace {

void PrintReceipt(const StringList& answer, const std::string& copyChoice, std::int32_t printerType) {
  try {
    CheckReceiptCounts(answer, copyChoice, printerType);
    std::size_t sent = 0;
    const auto count = [&sent](const std::string& piece) {
      sent += piece.size();
      return true;
    };
    for (const ReceiptBlock& block :
         {FirstCopyBlock(answer, copyChoice, "the answer"), SecondCopyBlock(answer, "the answer")})
      SendBlockLines(answer, block, 400, 492, count);
  } catch (const ConvertError&) {
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::MemoryFs& files = fuzzing::FuzzWorld();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = "c:\\tef_dial\\resp\\intpos.001";
  files.Put(path, bytes);
  // An input whose first byte is 1, 2 or 3 lies there as a file the till
  // may not read, one held without sharing, or no regular file (a FIFO):
  // never read, and never a way out but the ones above.
  if (size > 0 && data[0] >= 1 && data[0] <= 3) {
    files.Mark(path, static_cast<fuzzing::MemoryFs::Kind>(data[0] - 1));
    StringList seen;
    AnswerWatch().Take(path, seen);
    ReadHead(path);
    files.Put(path, bytes);
  }

  StringList answer;
  // A file that is not whole is waited for; judge its lines all the same.
  if (!ReadWholeExchangeFile(answer, path)) answer.SetText(bytes);
  LooksWhole(answer);

  try {
    ReadSaleAnswer(answer);
  } catch (const ConvertError&) {
  }
  // Each input meets one group of the judges, chosen by its length, so that
  // one execution reads the answer a few times instead of some fifty: under
  // the sanitizers every field lookup is a scan of the whole answer.
  switch (size % 3) {
  case 0: {
    const std::string sequence = answer.Field("001-000 ");
    IsAnswerTo(answer, size % 2 ? "CRT" : "CNC", sequence);
    NeedsNoConfirmation(answer);
    SettlementRequest(answer, "NCN", "0347520030");
    NotConfirmedNotice(answer, SettlementAmountText(answer));
    break;
  }
  case 1:
    PrintReceipt(answer, "S", 0);
    break;
  default: {
    PrintReceipt(answer, "N", 29);
    StringList block;
    for (const std::int32_t n : MarkedBlocks(answer, 3)) CopyReceiptsBlock(answer, n, block);
  }
  }
  files.Clear();
  return 0;
}
