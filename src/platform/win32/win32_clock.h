#pragma once

#include "platform/clock.h"

namespace tarvik::win32 {

class Win32Clock final : public platform::Clock {
 public:
  [[nodiscard]] int64_t NowLocal() const override;
  [[nodiscard]] int64_t TickMs() const override;
  void SleepMs(int milliseconds) const override;
};

}  // namespace tarvik::win32
