#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/monitor_thread.h"
#include "core/stop_signal.h"

namespace tarvik {

// The registry of the program's threads, long-lived monitors and short-lived helpers, and the
// shut-down wait over them. Any thread may start a helper.
class MonitorThreads {
 public:
  static constexpr int kMaxStopWaits = 50;
  static constexpr int kStopWaitMs = 40;
  static constexpr int kTaskPriority = 16;
  // Short-lived helpers running at once: host lookups and clipboard copies (the ping
  // coordinator sends its echoes from its own thread). A burst beyond it is refused rather than
  // grown without bound.
  static constexpr size_t kMaxTasks = 128;

  MonitorThreads(StopSignal& stop, platform::Environment& environment,
                 ThreadLauncher launch = LaunchThread)
      : stop_(stop), environment_(environment), launch_(std::move(launch)) {}

  // Where a monitor's failed pass is reported; set before the first monitor starts.
  void OnPassFailed(PassFailureReport report) { reportFailure_ = std::move(report); }
  // Where every monitor's pass lengths go; set before the first monitor starts.
  void OnPassTimed(PassTimeReport report) { reportTime_ = std::move(report); }

  // Starts a monitor. When the system has no thread for it, the monitor is dropped and the
  // failure reported like a failed pass; the rest of the program goes on.
  void StartMonitor(std::unique_ptr<MonitorThread> monitor);
  // Starts a short-lived helper that shut-down waits for like a monitor. Refused (false) once
  // stop is raised (a helper started then would escape the wait), while kMaxTasks helpers run,
  // or when the system has no thread to give; the caller carries on without it.
  [[nodiscard]] bool StartTask(std::wstring name, std::function<void()> work);
  [[nodiscard]] size_t Count() const;
  // Any registered thread still running, abandoned ones included.
  [[nodiscard]] bool AnyAlive() const;
  [[nodiscard]] bool IsAlive(const std::wstring& name) const;

  // Raises stop and lets the flag count 40 ms waits until every thread has ended or the count
  // reaches 50. A thread still running then is abandoned, never killed: killing a thread can
  // leave a lock held that the state saves after this need. Returns how many were abandoned.
  int StopAll(const std::function<void(int milliseconds)>& sleep);

 private:
  using Threads = std::vector<std::unique_ptr<ProgramThread>>;

  // Reserves a place under the lock and creates the thread outside it, so that one slow start
  // does not hold up the other starters; a thread that could not start is let go.
  [[nodiscard]] bool Launch(std::unique_ptr<ProgramThread> thread, bool task);
  // Moves the ended helpers out under the lock; they are joined where the lock is not held.
  [[nodiscard]] Threads TakeEnded();
  [[nodiscard]] size_t RunningTasks() const;
  [[nodiscard]] bool AnyRunning() const;

  StopSignal& stop_;
  platform::Environment& environment_;
  ThreadLauncher launch_;
  PassFailureReport reportFailure_;
  PassTimeReport reportTime_;
  mutable std::mutex mutex_;
  Threads monitors_;
  Threads tasks_;
  // An abandoned thread still runs on its object, so the object is kept; the program ends the
  // process without destroying this record.
  Threads abandoned_;
};

}  // namespace tarvik
