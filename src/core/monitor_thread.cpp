#include "core/monitor_thread.h"

namespace tarvik {

MonitorThread::MonitorThread(std::wstring name, int priority, StopSignal& stop,
                             const platform::Clock& clock, platform::Environment& environment)
    : ProgramThread(std::move(name), priority, environment), stop_(stop), clock_(clock) {}

void MonitorThread::Run() {
  while (!stop_.Raised()) {
    const int sleepMs = Pass(clock_.TickMs());
    if (stop_.WaitFor(sleepMs))
      break;
  }
}

TaskThread::TaskThread(std::wstring name, int priority, platform::Environment& environment,
                       std::function<void()> work)
    : ProgramThread(std::move(name), priority, environment), work_(std::move(work)) {}

void TaskThread::Run() {
  work_();
}

}  // namespace tarvik
