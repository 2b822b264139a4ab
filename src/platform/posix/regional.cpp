// Regional settings from the C library's locale as the environment sets it
// (LANG, LC_*). A category left at the C/POSIX locale says nothing about the
// user's conventions, so it keeps the package's home settings, the defaults
// of RegionalSettings (Brazil: "R$ 1.234,56", dd/mm/yyyy). The process locale
// is never changed: the environment's locale is used on this thread only.
#include "platform/regional.h"

#include "platform/environment.h"
#include "platform/posix/locale_conversion.h"
#include "platform/text_encoding.h"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace zul00500::platform {

namespace {
bool configured(const char* category_variable) {
  return posix::is_configured_locale(posix::effective_locale_name(
      environment_variable("LC_ALL").c_str(), environment_variable(category_variable).c_str(),
      environment_variable("LANG").c_str()));
}

// Locale text in the package's code page; a separator must be one byte.
struct Text {
  bool utf8;
  std::string operator()(const char* text) const {
    if (!text) return {};
    return utf8 ? utf8_to_cp1252(text) : std::string(text);
  }
  void separator(const char* text, char& target) const {
    const std::string converted = (*this)(text);
    if (converted.size() == 1 && converted != "?") target = converted[0];
  }
};

// Switches this thread to the environment's locale for as long as it lives.
class ThreadLocale {
public:
  ThreadLocale() : locale_(::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr))) {
    if (locale_) previous_ = ::uselocale(locale_);
  }
  ~ThreadLocale() {
    if (!locale_) return;
    ::uselocale(previous_);
    ::freelocale(locale_);
  }
  ThreadLocale(const ThreadLocale&) = delete;
  ThreadLocale& operator=(const ThreadLocale&) = delete;
  explicit operator bool() const { return locale_ != nullptr; }
  const char* info(nl_item item) const { return ::nl_langinfo_l(item, locale_); }

private:
  locale_t locale_;
  locale_t previous_ = nullptr;
};
} // namespace

RegionalSettings system_regional_settings() {
  RegionalSettings settings;
  const bool numeric = configured("LC_NUMERIC"), monetary = configured("LC_MONETARY"),
             time = configured("LC_TIME");
  if (!numeric && !monetary && !time) return settings;

  ThreadLocale locale;
  if (!locale) return settings; // the environment names a locale that is not installed
  const std::string_view codeset = locale.info(CODESET);
  const Text text{codeset == "UTF-8" || codeset == "utf8"};
  const lconv& conv = *std::localeconv();

  if (numeric) {
    text.separator(conv.decimal_point, settings.decimal_separator);
    text.separator(conv.thousands_sep, settings.thousand_separator);
  }
  if (monetary && conv.currency_symbol && *conv.currency_symbol) {
    settings.currency_string = text(conv.currency_symbol);
    settings.currency_format =
        posix::currency_format_from(conv.p_cs_precedes, conv.p_sep_by_space, settings.currency_format);
    settings.negative_currency_format = posix::negative_currency_format_from(
        conv.n_cs_precedes, conv.n_sep_by_space, conv.n_sign_posn, settings.negative_currency_format);
    if (conv.frac_digits != CHAR_MAX && conv.frac_digits >= 0 && conv.frac_digits <= 9)
      settings.currency_decimals = conv.frac_digits;
  }
  if (time) {
    if (std::string date =
            posix::pattern_from_strftime(text(locale.info(D_FMT)), '/', settings.date_separator);
        !date.empty())
      settings.short_date_format = std::move(date);
    if (std::string clock =
            posix::pattern_from_strftime(text(locale.info(T_FMT)), ':', settings.time_separator);
        !clock.empty())
      settings.long_time_format = std::move(clock);
  }
  return settings;
}

} // namespace zul00500::platform
