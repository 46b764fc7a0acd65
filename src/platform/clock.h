#pragma once

#include <cstdint>

namespace tarvik::platform {

// Time as the program sees it: the local wall clock in whole seconds since 1970-01-01 00:00:00
// (no time-zone conversion), and a monotonic millisecond count for intervals.
class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual int64_t NowLocal() const = 0;
  [[nodiscard]] virtual int64_t TickMs() const = 0;
  virtual void SleepMs(int milliseconds) const = 0;
};

}  // namespace tarvik::platform
