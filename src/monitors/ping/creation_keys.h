#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/clock.h"

namespace tarvik {

// Creation keys of pinged hosts: the date value, ".", then the milliseconds within that second
// (without leading zeros). The millisecond base is taken as the seconds clock ticks over, so the
// milliseconds count from the start of each second.
class CreationKeys {
 public:
  explicit CreationKeys(const platform::Clock& clock) : clock_(clock) {}

  // Waits (at most a little over a second, less when `stopping` turns true) for the seconds
  // clock to tick over and takes the base.
  void TakeBase(const std::function<bool()>& stopping);
  [[nodiscard]] std::wstring Next() const;

 private:
  const platform::Clock& clock_;
  int64_t baseTickMs_ = 0;
};

}  // namespace tarvik
