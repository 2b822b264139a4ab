// Printing one transaction's receipt: on the linked voucher or management
// report the caller opened (or on the standard printer), and on the
// framework printer through its voucher commands or a management report.
// Each returns true when everything was printed; false when the operator
// gave up after the printer stopped responding, or the retries ran out.
// A count field that is not a whole number from 0 to 999 (checked before
// anything is printed) and a missing saved receipt raise ConvertError /
// FileError naming the field or file.
#pragma once

#include <cstdint>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// `frameworkCopies` is only passed on to ImprCupom_FrameWork (printer type
// 29). Mode "F" prints through the fiscal printer, "N" through ImprimePadrao
// (standard1, standard2, copy text), which also makes the printer type 0.
bool ImprCupom(const std::string& report1, const std::string& report2, const std::string& context,
               const std::string& copyChoice, const StringList& answer, std::int32_t frameworkCopies,
               std::int32_t transactionCount, std::int32_t printerType, bool ownDocument, bool skipSaved,
               const std::string& mode, const std::string& standard2, const std::string& standard1);

// The framework printer (type 29): a linked voucher driven by the "CCD"
// commands of Abre_Comp_NFiscalVinc, or a management report when the printer
// or the receipt asks for one.
bool ImprCupom_FrameWork(const std::string& report1, const std::string& report2, const std::string& context,
                         const std::string& copyChoice, const StringList& answer, std::int32_t copies,
                         std::int32_t transactionCount, std::int32_t printerType, bool ownDocument,
                         bool skipSaved);

// The framework printer's management report: block 029 only, on every copy.
bool ImprCupomRG_FrameWork(const std::string& report1, const std::string& report2, const std::string& context,
                           const StringList& answer, std::int32_t copies, std::int32_t transactionCount,
                           std::int32_t printerType, bool ownDocument, bool skipSaved);

} // namespace zul00500

namespace zul00500 {

// The sale's card receipts: opens the voucher or report by printer type
// (mode "F"), then for each block 1 .. receiptCount of `receipts` checks the
// manager, confirms the transaction (or not, once the printer failed),
// prints it through ImprCupom, closes, and removes the transaction's answer
// files (also when printing fails with an error after the confirmation). A
// receipt count that cannot be printed raises ConvertError before its
// transaction is confirmed. `amount` only opens the linked voucher. False
// when the operator gave up the opening, a confirmation failed or a receipt
// was not printed.
bool ImprCupons(const StringList& receipts, std::int32_t receiptCount, std::int32_t transactionCount,
                std::int32_t printerType, const std::string& voucher1, const std::string& voucher2,
                const std::string& context, const std::string& report1, const std::string& report2,
                const std::string& copyChoice, const std::string& mode, const std::string& standard2,
                const std::string& standard1, double amount);

} // namespace zul00500
