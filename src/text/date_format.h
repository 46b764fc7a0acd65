#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

// Whole seconds since 1970-01-01 00:00:00 of the local wall clock, with no time-zone
// conversion. Every time stamp, creation key and countdown in the program is one of these.
using DateValue = int64_t;

struct DateParts {
  int Year = 1970;
  int Month = 1;
  int Day = 1;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

[[nodiscard]] DateValue DateFromParts(const DateParts& parts);
[[nodiscard]] DateParts PartsOfDate(DateValue date);

// Replaces the tokens %yyyy %mm %dd %hh %ii %ss with the date's parts, zero-padded; everything
// else in the pattern is copied as it stands.
[[nodiscard]] std::wstring FormatDate(std::wstring_view pattern, DateValue date);

}  // namespace tarvik
