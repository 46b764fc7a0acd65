#include "text/date_format.h"

#include <array>
#include <cstddef>
#include <string>

namespace tarvik {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kDaysPer400Years = 146097;
// Days from 0000-03-01 to 1970-01-01 in the proleptic Gregorian calendar.
constexpr int64_t kEpochShift = 719468;

int64_t FloorDiv(int64_t value, int64_t divisor) {
  const int64_t quotient = value / divisor;
  return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

int64_t FloorMod(int64_t value, int64_t divisor) {
  const int64_t remainder = value % divisor;
  return (remainder != 0 && (remainder < 0) != (divisor < 0)) ? remainder + divisor : remainder;
}

// Counting years from March makes the leap day the last day of the year, so one formula
// serves every month.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = FloorDiv(year, 400);
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysPer400Years + dayOfEra - kEpochShift;
}

struct CivilDay {
  int64_t Year;
  int Month;
  int Day;
};

CivilDay CivilFromDays(int64_t days) {
  days += kEpochShift;
  const int64_t era = FloorDiv(days, kDaysPer400Years);
  const int64_t dayOfEra = days - era * kDaysPer400Years;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

std::wstring ZeroPadded(int64_t number, size_t digits) {
  const bool negative = number < 0;
  // The parts are ints widened to int64, so negating cannot overflow.
  std::wstring text = std::to_wstring(negative ? -number : number);
  if (text.size() < digits)
    text.insert(0, digits - text.size(), L'0');
  return negative ? L"-" + text : text;
}

struct Token {
  std::wstring_view Name;
  int DateParts::*Field;
  size_t Digits;
};

constexpr std::array<Token, 6> kTokens{{{L"%yyyy", &DateParts::Year, 4},
                                        {L"%mm", &DateParts::Month, 2},
                                        {L"%dd", &DateParts::Day, 2},
                                        {L"%hh", &DateParts::Hour, 2},
                                        {L"%ii", &DateParts::Minute, 2},
                                        {L"%ss", &DateParts::Second, 2}}};

}  // namespace

DateValue DateFromParts(const DateParts& parts) {
  // Months outside 1-12 roll into the neighbouring years; days, hours, minutes and seconds
  // simply count on, so every combination names one moment.
  const int64_t monthIndex = static_cast<int64_t>(parts.Month) - 1;
  const int64_t year = parts.Year + FloorDiv(monthIndex, 12);
  const int64_t month = FloorMod(monthIndex, 12) + 1;
  const int64_t days = DaysFromCivil(year, month, 1) + parts.Day - 1;
  return days * kSecondsPerDay + static_cast<int64_t>(parts.Hour) * 3600 +
         static_cast<int64_t>(parts.Minute) * 60 + parts.Second;
}

DateParts PartsOfDate(DateValue date) {
  const int64_t days = FloorDiv(date, kSecondsPerDay);
  const int64_t secondOfDay = FloorMod(date, kSecondsPerDay);
  const CivilDay civil = CivilFromDays(days);
  DateParts parts;
  parts.Year = static_cast<int>(civil.Year);
  parts.Month = civil.Month;
  parts.Day = civil.Day;
  parts.Hour = static_cast<int>(secondOfDay / 3600);
  parts.Minute = static_cast<int>(secondOfDay / 60 % 60);
  parts.Second = static_cast<int>(secondOfDay % 60);
  return parts;
}

std::wstring FormatDate(std::wstring_view pattern, DateValue date) {
  const DateParts parts = PartsOfDate(date);
  std::wstring text;
  text.reserve(pattern.size() + 4);
  size_t at = 0;
  while (at < pattern.size()) {
    const Token* match = nullptr;
    if (pattern[at] == L'%') {
      for (const Token& token : kTokens) {
        if (pattern.substr(at, token.Name.size()) == token.Name) {
          match = &token;
          break;
        }
      }
    }
    if (match == nullptr) {
      text += pattern[at++];
      continue;
    }
    text += ZeroPadded(parts.*(match->Field), match->Digits);
    at += match->Name.size();
  }
  return text;
}

}  // namespace tarvik
