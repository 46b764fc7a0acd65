#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>

#include "text/date_format.h"

namespace tarvik {
namespace {

bool SameParts(const DateParts& a, const DateParts& b) {
  return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day && a.Hour == b.Hour &&
         a.Minute == b.Minute && a.Second == b.Second;
}

struct CalendarCase {
  const char* Name;
  DateParts Parts;
  DateValue Value;
};

void PrintTo(const CalendarCase& testCase, std::ostream* out) {
  *out << testCase.Name;
}

class CalendarTest : public testing::TestWithParam<CalendarCase> {};

TEST_P(CalendarTest, PartsAndValueConvertBothWays) {
  const CalendarCase& c = GetParam();
  EXPECT_EQ(DateFromParts(c.Parts), c.Value);
  EXPECT_TRUE(SameParts(PartsOfDate(c.Value), c.Parts));
}

INSTANTIATE_TEST_SUITE_P(
    Dates, CalendarTest,
    testing::Values(CalendarCase{"Epoch", {1970, 1, 1, 0, 0, 0}, 0},
                    CalendarCase{"SecondBeforeEpoch", {1969, 12, 31, 23, 59, 59}, -1},
                    CalendarCase{"LeapDayOfACenturyLeapYear", {2000, 2, 29, 23, 59, 59}, 951868799},
                    CalendarCase{"CenturyWithoutLeapDay", {1900, 3, 1, 0, 0, 0}, -2203891200},
                    CalendarCase{"FirstDayOfTheEra", {1, 1, 1, 0, 0, 0}, -62135596800},
                    CalendarCase{"PastThe32BitSeconds", {2038, 1, 19, 3, 14, 8}, 2147483648},
                    CalendarCase{"OrdinaryDate", {2024, 3, 9, 14, 5, 7}, 1709993107}),
    [](const testing::TestParamInfo<CalendarCase>& testCase) {
      return std::string(testCase.param.Name);
    });

TEST(DateFromParts, MonthsOutsideTheYearRollIntoNeighbouringYears) {
  EXPECT_EQ(DateFromParts({2023, 13, 1, 0, 0, 0}), DateFromParts({2024, 1, 1, 0, 0, 0}));
  EXPECT_EQ(DateFromParts({2024, 0, 1, 0, 0, 0}), DateFromParts({2023, 12, 1, 0, 0, 0}));
}

// Garbage dates from a damaged file must still give parts in range, without overflow.
TEST(PartsOfDate, ExtremeValuesStayInRange) {
  for (const DateValue date :
       {std::numeric_limits<DateValue>::min(), std::numeric_limits<DateValue>::max()}) {
    const DateParts parts = PartsOfDate(date);
    EXPECT_TRUE(parts.Month >= 1 && parts.Month <= 12 && parts.Day >= 1 && parts.Day <= 31);
    EXPECT_TRUE(parts.Hour >= 0 && parts.Hour <= 23 && parts.Second >= 0 && parts.Second <= 59);
  }
}

struct PatternCase {
  const char* Name;
  const wchar_t* Pattern;
  DateParts Parts;
  const wchar_t* Expected;
};

void PrintTo(const PatternCase& testCase, std::ostream* out) {
  *out << testCase.Name;
}

class FormatDateTest : public testing::TestWithParam<PatternCase> {};

TEST_P(FormatDateTest, ReplacesTokensAndKeepsTheRest) {
  const PatternCase& c = GetParam();
  EXPECT_EQ(FormatDate(c.Pattern, DateFromParts(c.Parts)), c.Expected);
}

constexpr DateParts kMarch9 = {2024, 3, 9, 14, 5, 7};
constexpr DateParts kJanuary5 = {2025, 1, 5, 9, 7, 3};

INSTANTIATE_TEST_SUITE_P(
    Patterns, FormatDateTest,
    testing::Values(
        PatternCase{"LogFileMonth", L"TK%yyyy%mm.log", kMarch9, L"TK202403.log"},
        PatternCase{"LogRecordKey", L"%dd%hh%ii%ss", kMarch9, L"09140507"},
        PatternCase{"EventLinePrefix", L"%mm-%dd  %hh:%ii:%ss -", kJanuary5, L"01-05  09:07:03 -"},
        PatternCase{"FullStampWithTrailingBlank", L"%yyyy-%mm-%dd %hh:%ii:%ss ", kJanuary5,
                    L"2025-01-05 09:07:03 "},
        PatternCase{"EarlyYearPaddedToFourDigits", L"%yyyy", {800, 1, 1, 0, 0, 0}, L"0800"},
        PatternCase{"UnknownTokensAndLonePercentStay", L"%x %y 100%", kMarch9, L"%x %y 100%"},
        PatternCase{"TokenNamesAreCaseSensitive", L"%HH:%II", kMarch9, L"%HH:%II"}),
    [](const testing::TestParamInfo<PatternCase>& testCase) {
      return std::string(testCase.param.Name);
    });

}  // namespace
}  // namespace tarvik
