#include "platform/date_time.h"

#include <gtest/gtest.h>

namespace zul00500::platform {
namespace {

const DateTimeParts kLogMoment{2026, 12, 7, 8, 0, 0, 508};

TEST(DateTimeEncodingTest, CountsDaysFromTheEndOf1899) {
  EXPECT_EQ(days_from_civil(1899, 12, 30), 0);
  EXPECT_EQ(days_from_civil(1900, 3, 1), 61); // 1900 was no leap year
  EXPECT_EQ(days_from_civil(2024, 2, 29), 45351);
  EXPECT_EQ(days_from_civil(2026, 12, 7), 46363);
  EXPECT_EQ(days_from_civil(1, 1, 1), -693593);
}

TEST(DateTimeEncodingTest, EncodesTimeOfDayAsTheFraction) {
  EXPECT_NEAR(encode_date_time(kLogMoment), 46363.333339212964, 1e-9);
  EXPECT_DOUBLE_EQ(encode_date_time({1899, 12, 30, 12, 0, 0, 0}), 0.5);
}

TEST(DateTimeEncodingTest, DecodeInvertsEncodeToTheMillisecond) {
  for (const DateTimeParts& parts :
       {kLogMoment, DateTimeParts{2024, 2, 29, 23, 59, 59, 999}, DateTimeParts{2000, 1, 1, 0, 0, 0, 1},
        DateTimeParts{1900, 3, 1, 13, 14, 15, 16}, DateTimeParts{2099, 12, 31, 0, 0, 0, 0}}) {
    EXPECT_EQ(decode_date_time(encode_date_time(parts)), parts) << parts.year << "-" << parts.month;
  }
}

TEST(DateTimeEncodingTest, DecodeRoundsToTheNearestMillisecondFirst) {
  // 0.4 ms before midnight is midnight of the next day, not 23:59:59.999.
  const double almost = 46363.0 + (86'400'000.0 - 0.4) / 86'400'000.0;
  EXPECT_EQ(decode_date_time(almost), (DateTimeParts{2026, 12, 8, 0, 0, 0, 0}));
  const double just_after = 46363.0 + 0.6 / 86'400'000.0;
  EXPECT_EQ(decode_date_time(just_after), (DateTimeParts{2026, 12, 7, 0, 0, 0, 1}));
}

TEST(DateTimeEncodingTest, NegativeValuesKeepTheTimeOfDayAsAPositiveFraction) {
  EXPECT_EQ(decode_date_time(-1.25), (DateTimeParts{1899, 12, 29, 6, 0, 0, 0}));
  EXPECT_DOUBLE_EQ(encode_date_time({1899, 12, 29, 6, 0, 0, 0}), -1.25);
}

class FormatDateTimeTest : public ::testing::Test {
protected:
  RegionalSettings settings; // dd/mm/yyyy, hh:nn:ss
  double moment = encode_date_time(kLogMoment);
};

TEST_F(FormatDateTimeTest, LogLineDateIsShortDateAndLongTime) {
  EXPECT_EQ(DateTimeToStr(moment, settings), "07/12/2026 08:00:00");
}

TEST_F(FormatDateTimeTest, LogLineLeavesOutTheTimeAtExactMidnight) {
  EXPECT_EQ(DateTimeToStr(46363.0, settings), "07/12/2026");
  EXPECT_EQ(DateTimeToStr(encode_date_time({2026, 12, 7, 0, 0, 0, 500}), settings), "07/12/2026 00:00:00");
}

TEST_F(FormatDateTimeTest, MonthYearOfTheLogFileName) {
  EXPECT_EQ(FormatDateTime("MMYY", moment, settings), "1226");
  EXPECT_EQ(FormatDateTime("mmyy", encode_date_time({2027, 1, 31, 23, 0, 0, 0}), settings), "0127");
}

TEST_F(FormatDateTimeTest, SingleLettersDropTheLeadingZero) {
  const double value = encode_date_time({2005, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(FormatDateTime("d/m/yy h:n:s.z", value, settings), "4/3/05 5:6:7.8");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss.zzz", value, settings), "04/03/2005 05:06:07.008");
}

TEST_F(FormatDateTimeTest, SeparatorTokensUseTheRegionalCharacters) {
  settings.date_separator = '-';
  settings.time_separator = '.';
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn:ss", moment, settings), "07-12-2026 08.00.00");
  EXPECT_EQ(DateTimeToStr(moment, settings), "07-12-2026 08.00.00");
}

TEST_F(FormatDateTimeTest, MRightAfterAnHourMeansMinutes) {
  const double value = encode_date_time({2026, 12, 7, 9, 45, 0, 0});
  EXPECT_EQ(FormatDateTime("hh:mm", value, settings), "09:45");
  EXPECT_EQ(FormatDateTime("mm hh", value, settings), "12 09");
}

TEST_F(FormatDateTimeTest, QuotedTextAndOtherCharactersAreCopied) {
  EXPECT_EQ(FormatDateTime("'dd' \"mm\" dd-mm", moment, settings), "dd mm 07-12");
  EXPECT_EQ(FormatDateTime("'LogTef'mmyy'.txt'", moment, settings), "LogTef1226.txt");
  EXPECT_EQ(FormatDateTime("dd x #", moment, settings), "07 x #");
}

TEST_F(FormatDateTimeTest, CompositeTokensExpandTheRegionalPatterns) {
  settings.short_date_format = "yyyy/mm/dd";
  EXPECT_EQ(FormatDateTime("c", moment, settings), "2026/12/07 08:00:00");
  EXPECT_EQ(FormatDateTime("ddddd", moment, settings), "2026/12/07");
  EXPECT_EQ(FormatDateTime("tt", moment, settings), "08:00:00");
}

TEST_F(FormatDateTimeTest, PatternNamingItselfDoesNotLoop) {
  settings.short_date_format = "c";
  settings.long_time_format = "tt";
  EXPECT_LT(FormatDateTime("c", moment, settings).size(), 8u);
}

} // namespace
} // namespace zul00500::platform
