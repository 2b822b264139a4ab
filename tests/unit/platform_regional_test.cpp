#include "platform/regional.h"

#include "platform/process.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <string>

#ifdef _WIN32
#include "platform/win32/regional.h"

#include <map>
#else
#include "platform/posix/locale_conversion.h"
#endif

namespace zul00500::platform {
namespace {

bool same(const RegionalSettings& a, const RegionalSettings& b) {
  return a.decimal_separator == b.decimal_separator && a.thousand_separator == b.thousand_separator &&
         a.currency_string == b.currency_string && a.currency_format == b.currency_format &&
         a.negative_currency_format == b.negative_currency_format &&
         a.currency_decimals == b.currency_decimals && a.short_date_format == b.short_date_format &&
         a.long_time_format == b.long_time_format && a.date_separator == b.date_separator &&
         a.time_separator == b.time_separator;
}

class RegionalCacheTest : public ::testing::Test {
protected:
  void TearDown() override { reset_regional(); }
};

TEST_F(RegionalCacheTest, ReplacementHoldsUntilReset) {
  RegionalSettings us;
  us.decimal_separator = '.';
  us.currency_string = "US$";
  set_regional(us);
  EXPECT_TRUE(same(regional(), us));
  reset_regional();
  EXPECT_TRUE(same(regional(), system_regional_settings()));
}

TEST_F(RegionalCacheTest, ReferencesSeeLaterReplacements) {
  const RegionalSettings& held = regional();
  RegionalSettings other;
  other.currency_decimals = 0;
  set_regional(other);
  EXPECT_EQ(held.currency_decimals, 0);
}

TEST(SystemRegionalSettingsTest, LeavesTheProcessLocaleAlone) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  system_regional_settings();
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}

#ifdef _WIN32
using win32::LocaleItem;
using LocaleTexts = std::map<LocaleItem, std::wstring>;

// A locale that says what `texts` say, and nothing else.
std::function<std::wstring(LocaleItem)> locale_of(const LocaleTexts& texts) {
  return [texts](LocaleItem item) {
    const auto found = texts.find(item);
    return found == texts.end() ? std::wstring() : found->second;
  };
}

TEST(Win32RegionalTest, TheLocalesTextsBecomeTheSettings) {
  const RegionalSettings settings = win32::regional_settings_from(locale_of({
      {LocaleItem::DecimalSeparator, L"."},
      {LocaleItem::ThousandSeparator, L","},
      {LocaleItem::Currency, L"\u20AC"}, // in the code page as 0x80
      {LocaleItem::CurrencyFormat, L"0"},
      {LocaleItem::NegativeCurrencyFormat, L"1"},
      {LocaleItem::CurrencyDigits, L"2"},
      {LocaleItem::DateSeparator, L"/"},
      {LocaleItem::TimeSeparator, L":"},
      {LocaleItem::ShortDate, L"M/d/yyyy"},
      {LocaleItem::LongTime, L"h:mm:ss tt"},
  }));
  EXPECT_EQ(settings.decimal_separator, '.');
  EXPECT_EQ(settings.thousand_separator, ',');
  EXPECT_EQ(settings.currency_string, "\x80");
  EXPECT_EQ(settings.currency_format, 0);
  EXPECT_EQ(settings.negative_currency_format, 1);
  EXPECT_EQ(settings.short_date_format, "M/d/yyyy");
  EXPECT_EQ(settings.long_time_format, "h:mm:ss");
}

TEST(Win32RegionalTest, TextsTheCodePageLacksKeepTheDefaults) {
  // French on recent Windows groups thousands with a narrow no-break space;
  // the ANSI call would have made it "?", a separator nobody types.
  const RegionalSettings settings = win32::regional_settings_from(locale_of({
      {LocaleItem::ThousandSeparator, L"\u202F"},
      {LocaleItem::Currency, L"\u20BD"},
      {LocaleItem::DateSeparator, L"\u2215"},
      {LocaleItem::ShortDate, L"dd\u2215MM\u2215yyyy"},
      {LocaleItem::DecimalSeparator, L","},
  }));
  const RegionalSettings home;
  EXPECT_EQ(settings.thousand_separator, home.thousand_separator);
  EXPECT_EQ(settings.currency_string, home.currency_string);
  EXPECT_EQ(settings.date_separator, home.date_separator);
  EXPECT_EQ(settings.short_date_format, home.short_date_format);
  EXPECT_EQ(settings.decimal_separator, ',');
}

#else
TEST(SystemRegionalSettingsTest, UnconfiguredLocaleGivesTheHomeSettings) {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LC_MONETARY", "LC_TIME", "LANG"}) {
    if (posix::is_configured_locale(environment_variable(variable)))
      GTEST_SKIP() << variable << " names a locale";
  }
  EXPECT_TRUE(same(system_regional_settings(), RegionalSettings{}));
}

TEST(LocaleConversionTest, EffectiveNameFollowsThePosixPrecedence) {
  EXPECT_EQ(posix::effective_locale_name("pt_BR.UTF-8", "en_US", "de_DE"), "pt_BR.UTF-8");
  EXPECT_EQ(posix::effective_locale_name("", "en_US", "de_DE"), "en_US");
  EXPECT_EQ(posix::effective_locale_name(nullptr, nullptr, "de_DE"), "de_DE");
  EXPECT_EQ(posix::effective_locale_name(nullptr, nullptr, nullptr), "C");
}

TEST(LocaleConversionTest, CAndPosixLocalesSayNothing) {
  for (const char* name : {"", "C", "POSIX", "C.UTF-8", "C.utf8"})
    EXPECT_FALSE(posix::is_configured_locale(name)) << name;
  EXPECT_TRUE(posix::is_configured_locale("pt_BR.UTF-8"));
}

TEST(LocaleConversionTest, DateFormatsBecomeHostPatterns) {
  struct Case {
    const char* format;
    const char* pattern;
    char separator;
  };
  for (const Case& c : {Case{"%d/%m/%Y", "dd/mm/yyyy", '/'}, Case{"%d.%m.%Y", "dd/mm/yyyy", '.'},
                        Case{"%m/%d/%y", "mm/dd/yy", '/'}, Case{"%D", "mm/dd/yy", '/'},
                        Case{"%Y-%m-%d", "yyyy/mm/dd", '-'}, Case{"%F", "yyyy/mm/dd", '-'},
                        Case{"%e/%m/%Y", "d/mm/yyyy", '/'}, Case{"%Od/%Om/%EY", "dd/mm/yyyy", '/'}}) {
    char separator = '?';
    EXPECT_EQ(posix::pattern_from_strftime(c.format, '/', separator), c.pattern) << c.format;
    EXPECT_EQ(separator, c.separator) << c.format;
  }
}

TEST(LocaleConversionTest, TimeFormatsBecomeHostPatternsWithoutAmPm) {
  for (const char* format : {"%H:%M:%S", "%T", "%r", "%I:%M:%S %p"}) {
    char separator = '?';
    EXPECT_EQ(posix::pattern_from_strftime(format, ':', separator), "hh:nn:ss") << format;
    EXPECT_EQ(separator, ':');
  }
  char separator = ':';
  EXPECT_EQ(posix::pattern_from_strftime("%Hh%M", ':', separator), "hh'h'nn");
  EXPECT_EQ(separator, ':') << "letters are never separators";
}

TEST(LocaleConversionTest, CurrencyPlacementMapsToTheWindowsCodes) {
  EXPECT_EQ(posix::currency_format_from(1, 0, -1), 0); // $1
  EXPECT_EQ(posix::currency_format_from(0, 0, -1), 1); // 1$
  EXPECT_EQ(posix::currency_format_from(1, 1, -1), 2); // R$ 1 (pt_BR)
  EXPECT_EQ(posix::currency_format_from(0, 1, -1), 3); // 1 €
  EXPECT_EQ(posix::currency_format_from(CHAR_MAX, 1, -1), -1);
}

TEST(LocaleConversionTest, NegativeCurrencyPlacementMapsToTheWindowsCodes) {
  EXPECT_EQ(posix::negative_currency_format_from(1, 1, 1, -1), 9);  // -R$ 1 (pt_BR)
  EXPECT_EQ(posix::negative_currency_format_from(1, 0, 1, -1), 1);  // -$1 (en_US)
  EXPECT_EQ(posix::negative_currency_format_from(1, 0, 0, -1), 0);  // ($1)
  EXPECT_EQ(posix::negative_currency_format_from(0, 1, 1, -1), 8);  // -1 € (de_DE)
  EXPECT_EQ(posix::negative_currency_format_from(0, 1, 0, -1), 15); // (1 €)
  EXPECT_EQ(posix::negative_currency_format_from(1, 1, CHAR_MAX, -1), -1);
}
#endif

} // namespace
} // namespace zul00500::platform
