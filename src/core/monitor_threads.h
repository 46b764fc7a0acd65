#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/monitor_thread.h"
#include "core/stop_signal.h"

namespace tarvik {

// The program's running monitors and the shut-down wait over them.
class MonitorThreads {
 public:
  static constexpr int kMaxStopWaits = 50;
  static constexpr int kStopWaitMs = 40;

  void StartMonitor(std::unique_ptr<MonitorThread> monitor);
  [[nodiscard]] size_t Count() const { return monitors_.size(); }
  [[nodiscard]] bool AnyAlive() const;
  [[nodiscard]] bool IsAlive(const std::wstring& name) const;

  // Raises stop and lets the flag count 40 ms waits until every monitor has ended or the count
  // reaches 50. A monitor still running then is abandoned, never killed: killing a thread can
  // leave a lock held that the state saves after this need. Returns how many were abandoned.
  int StopAll(StopSignal& stop, const std::function<void(int milliseconds)>& sleep);

 private:
  std::vector<std::unique_ptr<MonitorThread>> monitors_;
  // An abandoned thread still runs on its object, so the object is kept; the program ends the
  // process without destroying this record.
  std::vector<std::unique_ptr<MonitorThread>> abandoned_;
};

}  // namespace tarvik
