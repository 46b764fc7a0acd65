#include "core/monitor_thread.h"

namespace tarvik {

MonitorThread::MonitorThread(std::wstring name, int priority, StopSignal& stop,
                             const platform::Clock& clock, platform::Environment& environment)
    : name_(std::move(name)),
      priority_(priority),
      stop_(stop),
      clock_(clock),
      environment_(environment) {}

MonitorThread::~MonitorThread() {
  if (thread_.joinable())
    thread_.join();
}

void MonitorThread::Start() {
  alive_.store(true, std::memory_order_release);
  thread_ = std::thread([this] { Loop(); });
}

void MonitorThread::Abandon() {
  if (thread_.joinable())
    thread_.detach();
}

void MonitorThread::Loop() noexcept {
  try {
    environment_.SetCurrentThreadPriority(priority_);
    while (!stop_.Raised()) {
      const int sleepMs = Pass(clock_.TickMs());
      if (stop_.WaitFor(sleepMs))
        break;
    }
  } catch (...) {
    // A monitor that fails ends alone; the program and the other monitors go on.
  }
  alive_.store(false, std::memory_order_release);
}

}  // namespace tarvik
