#include "core/monitor_threads.h"

#include <algorithm>

namespace tarvik {

void MonitorThreads::StartMonitor(std::unique_ptr<MonitorThread> monitor) {
  monitor->Start();
  monitors_.push_back(std::move(monitor));
}

bool MonitorThreads::AnyAlive() const {
  return std::any_of(monitors_.begin(), monitors_.end(),
                     [](const auto& monitor) { return monitor->IsAlive(); });
}

bool MonitorThreads::IsAlive(const std::wstring& name) const {
  return std::any_of(monitors_.begin(), monitors_.end(), [&](const auto& monitor) {
    return monitor->Name() == name && monitor->IsAlive();
  });
}

int MonitorThreads::StopAll(StopSignal& stop, const std::function<void(int)>& sleep) {
  stop.Raise();
  while (AnyAlive() && stop.WaitsCounted() < kMaxStopWaits) {
    sleep(kStopWaitMs);
    stop.CountWait();
  }
  int abandoned = 0;
  for (auto& monitor : monitors_) {
    if (!monitor->IsAlive())
      continue;
    monitor->Abandon();
    abandoned_.push_back(std::move(monitor));
    ++abandoned;
  }
  monitors_.clear();
  return abandoned;
}

}  // namespace tarvik
