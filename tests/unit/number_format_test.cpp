#include <gtest/gtest.h>

#include <limits>

#include "support/errors.h"
#include "support/number_format.h"

namespace zul00500 {
namespace {

platform::RegionalSettings Brazil() { return {}; } // the defaults are Brazilian

platform::RegionalSettings UnitedStates() {
  platform::RegionalSettings us;
  us.decimal_separator = '.';
  us.thousand_separator = ',';
  us.currency_string = "$";
  us.currency_format = 0;
  us.negative_currency_format = 0;
  return us;
}

struct CentsCase {
  double amount;
  const char* text;
};

class CentsTextTest : public ::testing::TestWithParam<CentsCase> {};

TEST_P(CentsTextTest, IsTheSameWhateverTheDecimalSeparator) {
  EXPECT_EQ(CentsText(GetParam().amount, Brazil()), GetParam().text);
  EXPECT_EQ(CentsText(GetParam().amount, UnitedStates()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Amounts, CentsTextTest,
                         ::testing::Values(CentsCase{1234.56, "123456"}, CentsCase{0.5, "050"},
                                           CentsCase{12.5, "1250"}, CentsCase{0, "000"},
                                           CentsCase{19.99, "1999"},
                                           // No grouping, however large.
                                           CentsCase{1234567.89, "123456789"},
                                           // Rounded from the decimal digits, half away from zero:
                                           // 1.005 is stored as 1.00499999..., still one cent up.
                                           CentsCase{1.005, "101"}, CentsCase{0.125, "013"},
                                           CentsCase{2.675, "268"}, CentsCase{9.999, "1000"},
                                           CentsCase{0.004, "000"}));

TEST(CentsText, DeletesOnlyTheFirstSeparator) {
  platform::RegionalSettings odd = Brazil();
  odd.decimal_separator = '5'; // a separator that also occurs among the digits
  EXPECT_EQ(CentsText(55.5, odd), "5550");
}

TEST(CentsText, KeepsTheSignOfNegativeAmountsButNotOfZero) {
  EXPECT_EQ(CentsText(-1.5, Brazil()), "-150");
  EXPECT_EQ(CentsText(-0.001, Brazil()), "000");
}

TEST(FormatCurr, UsesTheBrazilianSymbolAndSeparators) {
  EXPECT_EQ(FormatCurr(12.5, Brazil()), "R$ 12,50");
  EXPECT_EQ(FormatCurr(1234567.891, Brazil()), "R$ 1.234.567,89");
  EXPECT_EQ(FormatCurr(0.01, Brazil()), "R$ 0,01");
  EXPECT_EQ(FormatCurr(-12.5, Brazil()), "-R$ 12,50");
  EXPECT_EQ(FormatCurr(999.995, Brazil()), "R$ 1.000,00");
}

TEST(FormatCurr, PlacesThePositiveSymbolAsTheSettingsSay) {
  platform::RegionalSettings settings = UnitedStates();
  const char* expected[] = {"$1,234.50", "1,234.50$", "$ 1,234.50", "1,234.50 $"};
  for (int format = 0; format < 4; ++format) {
    settings.currency_format = format;
    EXPECT_EQ(FormatCurr(1234.5, settings), expected[format]) << "format " << format;
  }
}

TEST(FormatCurr, PlacesTheNegativeSymbolAsTheSettingsSay) {
  platform::RegionalSettings settings = UnitedStates();
  const char* expected[] = {"($1.50)", "-$1.50",  "$-1.50",   "$1.50-",  "(1.50$)", "-1.50$",
                            "1.50-$",  "1.50$-",  "-1.50 $",  "-$ 1.50", "1.50 $-", "$ 1.50-",
                            "$ -1.50", "1.50- $", "($ 1.50)", "(1.50 $)"};
  for (int format = 0; format < 16; ++format) {
    settings.negative_currency_format = format;
    EXPECT_EQ(FormatCurr(-1.5, settings), expected[format]) << "format " << format;
  }
}

TEST(FormatCurr, WithoutThousandsSeparatorDoesNotGroup) {
  platform::RegionalSettings settings = Brazil();
  settings.thousand_separator = '\0';
  EXPECT_EQ(FormatCurr(1234567.0, settings), "R$ 1234567,00");
}

TEST(FormatCurr, TheLargestAnswerAmountKeepsEveryCent) {
  // 003-000 is a 32-bit number of cents.
  EXPECT_EQ(FormatCurr(std::numeric_limits<std::int32_t>::max() / 100.0, Brazil()), "R$ 21.474.836,47");
  EXPECT_EQ(FormatCurr(std::numeric_limits<std::int32_t>::min() / 100.0, Brazil()), "-R$ 21.474.836,48");
}

TEST(FloatToStr, WritesTheGeneralFormatWithTheRegionalSeparator) {
  EXPECT_EQ(FloatToStr(40.0, Brazil()), "40");
  EXPECT_EQ(FloatToStr(40.5, Brazil()), "40,5");
  EXPECT_EQ(FloatToStr(0.1 + 0.2, Brazil()), "0,3");
  // Exponents as the host writes them: no plus sign, no leading zeros.
  EXPECT_EQ(FloatToStr(0.00001, Brazil()), "1E-5");
  EXPECT_EQ(FloatToStr(1.5e20, Brazil()), "1,5E20");
  // A dataset file's float field may hold these.
  EXPECT_EQ(FloatToStr(std::numeric_limits<double>::quiet_NaN(), Brazil()), "NAN");
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::infinity(), Brazil()), "-INF");
}

TEST(StrToFloat, ReadsTheRegionalFormatAndRejectsEverythingElse) {
  EXPECT_DOUBLE_EQ(StrToFloat(" 1250,5 ", "709-000", Brazil()), 1250.5);
  EXPECT_DOUBLE_EQ(StrToFloat("-3", "709-000", Brazil()), -3);
  for (const char* bad : {"12.5", "1.250,00", "", "abc", "inf", "1,2,3"})
    EXPECT_THROW(StrToFloat(bad, "709-000", Brazil()), ConvertError) << bad;
}

} // namespace
} // namespace zul00500
