#include "tef/settlement/request.h"

#include <cstdint>

#include "support/card_log.h"
#include "support/number_format.h"
#include "support/text.h"
#include "tef/holder.h"

namespace zul00500 {

namespace {
constexpr const char* kLineBreak = "\r\n";
} // namespace

// An amount that is not a whole number of cents is shown as it came: the
// request carries no amount, and refusing to send it would leave the
// transaction open at the manager.
std::string SettlementAmountText(const StringList& answer) {
  const std::string cents = answer.Field("003-000 ");
  if (cents.empty()) return {};
  std::int32_t value = 0;
  if (TryStrToInt(cents, value)) return "Valor: " + FormatCurr(value / 100.0);
  LogCartao("Zul00500 - Valor inv\xE1lido no campo 003-000: " + cents);
  return "Valor: " + cents;
}

std::string NotConfirmedNotice(const StringList& answer, const std::string& amount) {
  const std::string document = answer.Field("012-000 ");
  std::string notice =
      MessageText("CANC_TRANS") + kLineBreak + MessageText("REDE") + answer.Field("010-000 ") + kLineBreak;
  if (!document.empty() && document != "0") notice += MessageText("DOC_NO") + document + kLineBreak;
  return notice + amount;
}

StringList SettlementRequest(const StringList& answer, const std::string& operation,
                             const std::string& sequence) {
  return {"000-000 = " + operation,
          "001-000 = " + sequence,
          "010-000 = " + answer.Field("010-000 "),
          "012-000 = " + answer.Field("012-000 "),
          "027-000 = " + answer.Field("027-000 "),
          "999-999 = 0"};
}

std::string CopiedFieldWithNul(const StringList& answer) {
  for (const char* name : {"010-000 ", "012-000 ", "027-000 "})
    if (answer.Field(name).find('\0') != std::string::npos) return std::string(name, 7);
  return {};
}

} // namespace zul00500
