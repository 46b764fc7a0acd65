#include "platform/win32/system_time.h"

namespace tarvik::win32 {

DateValue DateFromSystemTime(const SYSTEMTIME& time) {
  return DateFromParts(
      {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond});
}

std::optional<DateValue> LocalDateFromFileTime(const FILETIME& utc) {
  SYSTEMTIME universal{};
  SYSTEMTIME local{};
  if (!::FileTimeToSystemTime(&utc, &universal))
    return std::nullopt;
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
    return std::nullopt;
  return DateFromSystemTime(local);
}

}  // namespace tarvik::win32
