#pragma once

#include <chrono>
#include <ctime>
#include <thread>

#include "platform/clock.h"

namespace tarvik::fakes {

// The machine's own clocks, for tests whose threads wait on real time: seconds of the wall clock
// (UTC stands in for local time) and the steady clock's milliseconds.
class RealClock final : public platform::Clock {
 public:
  int64_t NowLocal() const override { return static_cast<int64_t>(std::time(nullptr)); }
  int64_t TickMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void SleepMs(int milliseconds) const override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace tarvik::fakes
