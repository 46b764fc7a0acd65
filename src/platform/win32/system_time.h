#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace tarvik::win32 {

// Whole seconds since 1970-01-01 00:00:00 of the wall-clock time given, with no time-zone
// conversion: the program's date value.
[[nodiscard]] std::optional<int64_t> DateFromSystemTime(const SYSTEMTIME& time);
// A file time (UTC) as a date value of the local wall clock.
[[nodiscard]] std::optional<int64_t> LocalDateFromFileTime(const FILETIME& utc);

}  // namespace tarvik::win32
