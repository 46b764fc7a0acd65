#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "core/settings.h"
#include "core/standard_sleeper.h"

namespace tarvik {

// The shared stop request. `StopFlag` in Settings is what every thread checks; raising it here
// also wakes threads that sleep between passes, so shut-down does not wait for their sleep.
class StopSignal {
 public:
  explicit StopSignal(Settings& settings) : settings_(settings) {}

  // The system's own sleeper for every wait from now on (the standard one until then); it is
  // set before any thread waits and outlives the signal.
  void UseSleeper(platform::Sleeper& sleeper) { sleeper_ = &sleeper; }
  void Raise();
  // `wake` runs at every raise: for threads that wait on a condition of their own rather than
  // on the sleeper. It must be quick and may run on any thread.
  void OnRaise(std::function<void()> wake);
  // Counts one more shut-down wait on the flag itself (it ends threads at any value of 1 or more).
  void CountWait();
  [[nodiscard]] bool Raised() const { return settings_.Get(opt::StopFlag) >= 1; }
  [[nodiscard]] int WaitsCounted() const { return settings_.Get(opt::StopFlag); }
  // Sleeps up to `milliseconds`; returns true at once when stop is raised.
  bool WaitFor(int milliseconds);

 private:
  Settings& settings_;
  StandardSleeper standard_;
  platform::Sleeper* sleeper_ = &standard_;
  std::mutex wakesMutex_;
  std::vector<std::function<void()>> wakes_;
};

}  // namespace tarvik
