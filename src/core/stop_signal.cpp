#include "core/stop_signal.h"

namespace tarvik {

void StopSignal::Raise() {
  sleeper_->Change([this] {
    if (settings_.Get(opt::StopFlag) < 1)
      settings_.Set(opt::StopFlag, 1);
  });
  std::vector<std::function<void()>> wakes;
  {
    std::lock_guard<std::mutex> lock(wakesMutex_);
    wakes = wakes_;
  }
  for (const std::function<void()>& wake : wakes)
    wake();
}

void StopSignal::OnRaise(std::function<void()> wake) {
  std::lock_guard<std::mutex> lock(wakesMutex_);
  wakes_.push_back(std::move(wake));
}

void StopSignal::CountWait() {
  sleeper_->Change([this] { settings_.Set(opt::StopFlag, settings_.Get(opt::StopFlag) + 1); });
}

bool StopSignal::WaitFor(int milliseconds) {
  return sleeper_->SleepFor(milliseconds, [this] { return Raised(); });
}

}  // namespace tarvik
