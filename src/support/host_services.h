// What the package asks of the host's utility library: the operator dialog,
// form translation and the message-table lookup, behind an interface the
// host supplies; plus the small string and number helpers it relies on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace zul00500 {

class TfrmCartaoDebito;
class TMessages;
class ClientDataSet;

// Kinds of the host's TTipoMsg the package passes.
enum TTipoMsg : int { tmInformacao = 0, tmAviso = 3 };

class HostServices {
public:
  virtual ~HostServices() = default;

  // Modal operator dialog. The package always passes "" for s2 and s6, "N" for
  // s3, no dataset; yesNo is "S" when it uses the answer. For "S" dialogs the
  // result is true when the operator answered yes. Default: on Windows a
  // message box (Yes and No for "S", else OK; a warning icon for kind 3, else
  // information; the context as its title); elsewhere the terminal.
  virtual bool Mensagem(const std::string& text, const std::string& s2, const std::string& s3,
                        const std::string& yesNo, int kind, const std::string& s6, const std::string& context,
                        int withReceipt, const ClientDataSet* dataset);

  // Translates the form's visible texts in place. Default: nothing.
  virtual void Trad(TfrmCartaoDebito& form);

  // Text of the entry `key` of `table`; keys match without regard to case,
  // and a missing key gives "".
  virtual std::string Msg(const TMessages& table, std::string_view key);
};

// The services in use; the default shows message boxes on Windows and
// dialogs on the terminal elsewhere.
HostServices& host();
// The platform's own services, in use when the host installed none.
HostServices& DefaultHostServices();
// Installs the host's services (null: back to the default).
void SetHostServices(std::shared_ptr<HostServices> services);

// Left-pads `text` with "0" to `width`.
std::string AjustaZero(std::string_view text, int width);
// Fits `text` to `width` by left-padding it with blanks; a longer text is
// returned whole, never cut. Backup names made with it ("intpos.  7") stay
// valid file names everywhere (no trailing blank), never collide with the
// working copy "intpos.001", and read back as the same number.
std::string Ajusta(std::string_view text, int width);
// True when `text` holds nothing but blanks.
bool EmptyString(std::string_view text);
// Drops the digits beyond the second decimal place of the decimal value.
double Trunc2(double value);

using Variant = std::variant<std::monostate, bool, std::int64_t, double, std::string>;
inline Variant iif(bool condition, Variant when_true, Variant when_false) {
  return condition ? std::move(when_true) : std::move(when_false);
}

} // namespace zul00500
