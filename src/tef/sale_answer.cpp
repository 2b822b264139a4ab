#include "tef/sale_answer.h"

#include "support/errors.h"
#include "support/number_format.h"
#include "support/text.h"

namespace zul00500 {

namespace {
std::string answer_field(const char* id) { return std::string("field ") + id + " of the answer"; }

std::optional<std::string> present(std::string value) {
  if (value.empty()) return std::nullopt;
  return value;
}
} // namespace

SaleAnswer ReadSaleAnswer(const StringList& answer) {
  // A NUL inside a value is no text a manager writes: the answer is broken,
  // and none of its values may reach the host or go back to the manager.
  for (const std::string& line : answer.lines()) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos &&
        Trim(std::string_view(line).substr(eq + 1)).find('\0') != std::string::npos)
      throw ConvertError("read", answer_field(Trim(line.substr(0, eq)).c_str()),
                         "its value holds a NUL byte");
  }
  SaleAnswer read;
  read.approved = answer.Field("009-000 ") == "0";
  const std::string count = answer.Field("028-000 ");
  read.with_receipt = !count.empty() && count != "0";
  // The count matters only to an approval.
  if (read.approved && !count.empty()) ReceiptCount(count, answer_field("028-000"));
  const std::string extra = answer.Field("709-000 ");
  if (!extra.empty()) read.extra = StrToFloat(extra, answer_field("709-000")) / 100;
  if (read.approved && read.with_receipt)
    read.amount = StrToInt(answer.Field("003-000 "), answer_field("003-000")) / 100.0;

  read.document = present(answer.Field("012-000 "));
  read.field013 = present(answer.Field("013-000 "));
  if (const std::string value = answer.Field("027-000 "); !value.empty())
    read.field027 = value.size() > 12 ? value.substr(12, 11) : std::string();
  if (!answer.Field("748-000 ").empty()) read.field748 = Trim(answer.Value("748-000 ").substr(0, 10));
  return read;
}

} // namespace zul00500
