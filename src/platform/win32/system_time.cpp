#include "platform/win32/system_time.h"

namespace tarvik::win32 {
namespace {

// File times count 100-nanosecond steps from 1601-01-01.
constexpr int64_t kStepsPerSecond = 10'000'000;
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;

}  // namespace

std::optional<int64_t> DateFromSystemTime(const SYSTEMTIME& time) {
  FILETIME asFileTime{};
  if (!::SystemTimeToFileTime(&time, &asFileTime))
    return std::nullopt;
  const int64_t steps = static_cast<int64_t>(
      (static_cast<uint64_t>(asFileTime.dwHighDateTime) << 32) | asFileTime.dwLowDateTime);
  return steps / kStepsPerSecond - kSecondsFrom1601To1970;
}

std::optional<int64_t> LocalDateFromFileTime(const FILETIME& utc) {
  SYSTEMTIME universal{};
  SYSTEMTIME local{};
  if (!::FileTimeToSystemTime(&utc, &universal))
    return std::nullopt;
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
    return std::nullopt;
  return DateFromSystemTime(local);
}

}  // namespace tarvik::win32
