#pragma once

#include <condition_variable>
#include <mutex>

#include "core/settings.h"

namespace tarvik {

// The shared stop request. `StopFlag` in Settings is what every thread checks; raising it here
// also wakes threads that sleep between passes, so shut-down does not wait for their sleep.
class StopSignal {
 public:
  explicit StopSignal(Settings& settings) : settings_(settings) {}

  void Raise();
  // Counts one more shut-down wait on the flag itself (it ends threads at any value of 1 or more).
  void CountWait();
  [[nodiscard]] bool Raised() const { return settings_.Get(opt::StopFlag) >= 1; }
  [[nodiscard]] int WaitsCounted() const { return settings_.Get(opt::StopFlag); }
  // Sleeps up to `milliseconds`; returns true at once when stop is raised.
  bool WaitFor(int milliseconds);

 private:
  Settings& settings_;
  std::mutex mutex_;
  std::condition_variable wake_;
};

}  // namespace tarvik
