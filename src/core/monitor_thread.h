#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/program_thread.h"
#include "core/stop_signal.h"
#include "platform/clock.h"
#include "platform/environment.h"

namespace tarvik {

// Hears that a monitor's pass failed: the monitor's name and what went wrong.
using PassFailureReport =
    std::function<void(const std::wstring& monitor, const std::wstring& what)>;
// Hears how long a monitor's pass took: the monitor's name, the time the pass was given and its
// length in microseconds.
using PassTimeReport =
    std::function<void(const std::wstring& monitor, int64_t tickMs, int64_t durationUs)>;

// A long-lived monitor: one pass of its loop at a time, each given the time, then a sleep that
// ends early when stop is raised. Subclasses only supply the pass and the sleep after it.
//
// A pass that throws does not end the monitor: the failure is reported once (until a pass
// succeeds again, so a failure every pass does not flood the log) and the next pass runs after
// the sleep the last good pass asked for.
class MonitorThread : public ProgramThread {
 public:
  static constexpr int kSleepBeforeFirstGoodPassMs = 1'000;

  MonitorThread(std::wstring name, int priority, StopSignal& stop, const platform::Clock& clock,
                platform::Environment& environment);

  // One pass of the loop, given the monotonic time in milliseconds; returns the sleep before the
  // next pass in milliseconds.
  virtual int Pass(int64_t tickMs) = 0;

  // Set before the thread starts.
  void OnPassFailed(PassFailureReport report) { reportFailure_ = std::move(report); }
  void OnPassTimed(PassTimeReport report) { reportTime_ = std::move(report); }

  // One pass with its failure caught and reported; returns the sleep before the next pass.
  int GuardedPass(int64_t tickMs);

 protected:
  void Run() override;
  // The wait between passes; true when stop was raised. A monitor that must keep taking the
  // system's completions while it waits (alertably) waits its own way.
  virtual bool Rest(int milliseconds) { return stop_.WaitFor(milliseconds); }

 private:
  void ReportFailure(const std::wstring& what);

  StopSignal& stop_;
  const platform::Clock& clock_;
  PassFailureReport reportFailure_;
  PassTimeReport reportTime_;
  int lastSleepMs_ = kSleepBeforeFirstGoodPassMs;
  bool failing_ = false;
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
