#pragma once

#include <windows.h>

#include <optional>

#include "text/date_format.h"

namespace tarvik::win32 {

[[nodiscard]] DateValue DateFromSystemTime(const SYSTEMTIME& time);
// A file time (UTC) as a date value of the local wall clock.
[[nodiscard]] std::optional<DateValue> LocalDateFromFileTime(const FILETIME& utc);

}  // namespace tarvik::win32
