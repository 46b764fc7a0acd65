#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include "core/stop_signal.h"
#include "platform/clock.h"
#include "platform/environment.h"

namespace tarvik {

// A long-lived monitor: one pass of its loop at a time, each given the time, then a sleep that
// ends early when stop is raised. Subclasses only supply the pass and the sleep after it.
class MonitorThread {
 public:
  MonitorThread(std::wstring name, int priority, StopSignal& stop, const platform::Clock& clock,
                platform::Environment& environment);
  virtual ~MonitorThread();
  MonitorThread(const MonitorThread&) = delete;
  MonitorThread& operator=(const MonitorThread&) = delete;

  void Start();
  [[nodiscard]] bool IsAlive() const { return alive_.load(std::memory_order_acquire); }
  [[nodiscard]] const std::wstring& Name() const { return name_; }
  [[nodiscard]] int Priority() const { return priority_; }
  // Lets a thread that did not stop in time run on unowned; the process ends it when it exits.
  void Abandon();

  // One pass of the loop, given the monotonic time in milliseconds; returns the sleep before the
  // next pass in milliseconds.
  virtual int Pass(int64_t tickMs) = 0;

 private:
  void Loop() noexcept;

  std::wstring name_;
  int priority_;
  StopSignal& stop_;
  const platform::Clock& clock_;
  platform::Environment& environment_;
  std::atomic<bool> alive_{false};
  std::thread thread_;
};

}  // namespace tarvik
