// Conversations with the manager outside the sale: the activity check, the
// confirmation of an answer and the leftover scan.
#include "capi/boundary.h"
#include "tef/activity_check.h"
#include "tef/leftover_scan.h"
#include "tef/pending_sale.h"
#include "tef/settlement/confirmation.h"

using namespace zul00500;
using namespace zul00500::capi;

int ZUL_CALL CheckGPAtivo(const char* operation, const char* sequence) {
  return Talking("CheckGPAtivo", OnTrue::Done,
                 [&] { return Result(zul00500::CheckGPAtivo(In(operation), In(sequence))); });
}

int ZUL_CALL VerificaRetorno(const char* context, ZulList answer, int notConfirm, const char* unused) {
  return Talking("VerificaRetorno", OnTrue::Done, [&] {
    return Result(
        zul00500::VerificaRetorno(In(context), *HoldList(answer, "answer"), notConfirm != 0, In(unused)));
  });
}

// After the scan: the pending copies a sale not finished left (at the start
// of a day, those of the sale a stop interrupted) stand confirmed, and keep
// DoTEF from starting a new sale until they are printed or cancelled. The
// host learns it here, by code, before the first customer.
int ZUL_CALL CheckIntPosFiles(const char* context, int notConfirm) {
  return Talking("CheckIntPosFiles", OnTrue::Done, [&] {
    const bool settled = zul00500::CheckIntPosFiles(In(context), notConfirm != 0);
    if (const std::vector<std::string> copies = PendingCopiesOfAnotherSale(0); !copies.empty())
      AddNote(
          "CheckIntPosFiles: " + PendingCopiesText(copies) +
              " hold confirmed partial payments of a sale not finished; finish it and print it (ImprCupons) "
              "or undo them (CancelaPendencia, with a count of at least the highest number) before DoTEF "
              "starts another sale",
          ZUL_NOTE_PENDING_SALE);
    return Result(settled);
  });
}
