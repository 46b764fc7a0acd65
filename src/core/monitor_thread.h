#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/program_thread.h"
#include "core/stop_signal.h"
#include "platform/clock.h"
#include "platform/environment.h"

namespace tarvik {

// A long-lived monitor: one pass of its loop at a time, each given the time, then a sleep that
// ends early when stop is raised. Subclasses only supply the pass and the sleep after it.
class MonitorThread : public ProgramThread {
 public:
  MonitorThread(std::wstring name, int priority, StopSignal& stop, const platform::Clock& clock,
                platform::Environment& environment);

  // One pass of the loop, given the monotonic time in milliseconds; returns the sleep before the
  // next pass in milliseconds.
  virtual int Pass(int64_t tickMs) = 0;

 protected:
  void Run() override;

 private:
  StopSignal& stop_;
  const platform::Clock& clock_;
};

// A short-lived helper thread: it runs its work once and ends. The work watches the stop signal
// when it can take long.
class TaskThread : public ProgramThread {
 public:
  TaskThread(std::wstring name, int priority, platform::Environment& environment,
             std::function<void()> work);

 protected:
  void Run() override;

 private:
  std::function<void()> work_;
};

}  // namespace tarvik
