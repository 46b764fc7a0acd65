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

  MonitorThreads(StopSignal& stop, platform::Environment& environment)
      : stop_(stop), environment_(environment) {}

  void StartMonitor(std::unique_ptr<MonitorThread> monitor);
  // Starts a short-lived helper that shut-down waits for like a monitor. Refused (false) once
  // stop is raised: a helper started then would escape the wait.
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
  void Register(std::unique_ptr<ProgramThread> thread);
  [[nodiscard]] bool AnyRunning() const;

  StopSignal& stop_;
  platform::Environment& environment_;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<ProgramThread>> threads_;
  // An abandoned thread still runs on its object, so the object is kept; the program ends the
  // process without destroying this record.
  std::vector<std::unique_ptr<ProgramThread>> abandoned_;
};

}  // namespace tarvik
