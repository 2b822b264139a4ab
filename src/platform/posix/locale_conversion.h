// Turning what a C library locale says into the host's regional settings.
// Pure functions, kept apart from the locale calls so they can be tested
// without the locales installed.
#pragma once

#include <string>
#include <string_view>

namespace zul00500::platform::posix {

// The locale a category gets from the environment: LC_ALL, else the
// category's own variable, else LANG. Null pointers stand for unset.
std::string effective_locale_name(const char* lc_all, const char* lc_category, const char* lang);
// False for the C and POSIX locales (and C.UTF-8): they mean "nothing
// configured", not a choice of conventions.
bool is_configured_locale(std::string_view name);

// A strftime date or time format ("%d/%m/%Y", "%r") as a host pattern
// ("dd/mm/yyyy"), the first literal separator being replaced by
// `separator_token` ("/" or ":") and returned in `separator`; `separator` is
// left alone when the format has none. AM/PM markers and names are dropped.
std::string pattern_from_strftime(std::string_view format, char separator_token, char& separator);

// localeconv's p_cs_precedes / p_sep_by_space as the Windows positive
// currency format 0..3, and the n_ fields as the negative format 0..15.
// CHAR_MAX (unspecified) in any field gives `fallback`.
int currency_format_from(int cs_precedes, int sep_by_space, int fallback);
int negative_currency_format_from(int cs_precedes, int sep_by_space, int sign_posn, int fallback);

} // namespace zul00500::platform::posix
