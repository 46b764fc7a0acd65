#pragma once

#include <functional>

namespace tarvik::platform {

// Sleeps that another thread can end early: the waits between the monitors' passes. `until` is
// read under the sleeper's own lock, and Change() makes its change under that lock before it
// wakes everyone, so a wake that comes between a sleeper's check and its sleep is never lost.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  // Sleeps up to `milliseconds`, less once `until` is true; returns until().
  virtual bool SleepFor(int milliseconds, const std::function<bool()>& until) = 0;
  // Runs `change` under the lock, then wakes every sleeper.
  virtual void Change(const std::function<void()>& change) = 0;
};

}  // namespace tarvik::platform
